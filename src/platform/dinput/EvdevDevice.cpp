#include "platform/dinput/EvdevDevice.h"

#include "platform/Utf8Fit.h"

#include <cstring>

namespace padwright {

namespace {

bool IsAxis(const ObjectInfo& o) {
    return o.kind == ObjectKind::Axis || o.kind == ObjectKind::Slider;
}

bool SizedAs(const DIPROPHEADER& header, std::size_t size) {
    return header.dwHeaderSize == sizeof(DIPROPHEADER) && header.dwSize == size;
}

} // namespace

EvdevDevice::EvdevDevice(std::unique_ptr<IEvdevNode> node, DWORD joystickId)
    : node_(std::move(node)), layout_(BuildObjectLayout(node_->Description())),
      values_(layout_.objects.size()), settings_(layout_.objects.size()),
      rests_(layout_.objects.size()), joystickId_(joystickId) {
    const EvdevDescription& d = node_->Description();
    for (std::size_t i = 0; i < layout_.objects.size(); ++i) {
        const ObjectInfo& o = layout_.objects[i];
        if (o.kind == ObjectKind::Button) {
            values_[i].first = values_[i].shown = d.keysDown.test(o.codeX) ? 1 : 0;
        } else {
            values_[i].first = d.absinfo[o.codeX].value;
            if (o.kind == ObjectKind::Hat)
                values_[i].second = d.absinfo[o.codeY].value;
            else
                rests_[i] = AxisRestGuess(values_[i].first, o.range.minimum, o.range.maximum);
        }
    }
}

HRESULT EvdevDevice::SetCooperativeLevel(WindowHandle, DWORD flags) {
    const DWORD mode = flags & (DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE);
    const DWORD when = flags & (DISCL_FOREGROUND | DISCL_BACKGROUND);
    if ((mode != DISCL_EXCLUSIVE && mode != DISCL_NONEXCLUSIVE) ||
        (when != DISCL_FOREGROUND && when != DISCL_BACKGROUND))
        return DIERR_INVALIDPARAM;
    if (acquired_)
        return DIERR_ACQUIRED;
    return DI_OK;
}

HRESULT EvdevDevice::SetDataFormat(const DIDATAFORMAT* format) {
    if (format == nullptr)
        return E_POINTER;
    if (acquired_)
        return DIERR_ACQUIRED;
    if (format->dwSize != c_dfDIJoystick2.dwSize ||
        format->dwDataSize != c_dfDIJoystick2.dwDataSize)
        return DIERR_INVALIDPARAM;
    formatSet_ = true;
    return DI_OK;
}

HRESULT EvdevDevice::Acquire() {
    if (!formatSet_)
        return DIERR_INVALIDPARAM;
    if (acquired_)
        return DI_NOEFFECT;
    if (!Drain())
        return DIERR_UNPLUGGED;
    ButtonsSettled();
    acquired_ = true;
    return DI_OK;
}

HRESULT EvdevDevice::Unacquire() {
    if (!acquired_)
        return DI_NOEFFECT;
    acquired_ = false;
    return DI_OK;
}

HRESULT EvdevDevice::EnumObjects(const EnumObjectsCallback& callback, void* context, DWORD flags) {
    if (!callback)
        return E_POINTER;
    const DWORD typeFilter = flags & 0xFF;
    for (const ObjectInfo& o : layout_.objects) {
        if (typeFilter != DIDFT_ALL && (o.dwType & typeFilter) == 0)
            continue;
        DIDEVICEOBJECTINSTANCEA instance;
        std::memset(&instance, 0, sizeof instance);
        instance.dwSize = sizeof instance;
        instance.guidType = o.guidType;
        instance.dwOfs = o.dwOfs;
        instance.dwType = o.dwType;
        CopyUtf8Terminated(instance.tszName, o.name);
        if (callback(instance, context) == DIENUM_STOP)
            break;
    }
    return DI_OK;
}

HRESULT EvdevDevice::Resolve(const DIPROPHEADER& header, std::vector<std::size_t>& indices) const {
    indices.clear();
    const ObjectInfo* found = nullptr;
    switch (header.dwHow) {
    case DIPH_DEVICE:
        if (header.dwObj != 0)
            return DIERR_INVALIDPARAM;
        for (std::size_t i = 0; i < layout_.objects.size(); ++i)
            indices.push_back(i);
        return DI_OK;
    case DIPH_BYID:
        found = layout_.FindByType(header.dwObj);
        break;
    case DIPH_BYOFFSET:
        found = layout_.FindByOffset(header.dwObj);
        break;
    default:
        return DIERR_INVALIDPARAM;
    }
    if (found == nullptr)
        return DIERR_OBJECTNOTFOUND;
    indices.push_back(static_cast<std::size_t>(found - layout_.objects.data()));
    return DI_OK;
}

HRESULT EvdevDevice::GetProperty(DWORD property, DIPROPHEADER* header) {
    if (header == nullptr)
        return E_POINTER;
    switch (property) {
    case DIPROP_INSTANCENAME: {
        if (!SizedAs(*header, sizeof(DIPROPSTRING)) || header->dwHow != DIPH_DEVICE)
            return DIERR_INVALIDPARAM;
        auto* text = reinterpret_cast<DIPROPSTRING*>(header);
        CopyUtf8Terminated(text->wsz, node_->Description().name);
        return DI_OK;
    }
    case DIPROP_JOYSTICKID:
        if (!SizedAs(*header, sizeof(DIPROPDWORD)) || header->dwHow != DIPH_DEVICE)
            return DIERR_INVALIDPARAM;
        reinterpret_cast<DIPROPDWORD*>(header)->dwData = joystickId_;
        return DI_OK;
    case DIPROP_RANGE:
    case DIPROP_DEADZONE:
    case DIPROP_LOGICALRANGE:
        return GetObjectProperty(property, header);
    default:
        return DIERR_UNSUPPORTED;
    }
}

HRESULT EvdevDevice::GetObjectProperty(DWORD property, DIPROPHEADER* header) {
    const std::size_t size =
        property == DIPROP_DEADZONE ? sizeof(DIPROPDWORD) : sizeof(DIPROPRANGE);
    if (!SizedAs(*header, size) || header->dwHow == DIPH_DEVICE)
        return DIERR_INVALIDPARAM;
    std::vector<std::size_t> indices;
    if (const HRESULT hr = Resolve(*header, indices); FAILED(hr))
        return hr;
    const std::size_t i = indices.front();
    const ObjectInfo& o = layout_.objects[i];
    if (property == DIPROP_LOGICALRANGE) {
        auto* range = reinterpret_cast<DIPROPRANGE*>(header);
        switch (o.kind) {
        case ObjectKind::Hat: // eight-way
            range->lMin = 0;
            range->lMax = 7;
            break;
        case ObjectKind::Button:
            range->lMin = 0;
            range->lMax = 1;
            break;
        default:
            range->lMin = o.range.minimum;
            range->lMax = o.range.maximum;
        }
        return DI_OK;
    }
    if (!IsAxis(o))
        return DIERR_UNSUPPORTED;
    if (property == DIPROP_DEADZONE) {
        reinterpret_cast<DIPROPDWORD*>(header)->dwData = settings_[i].deadZone;
    } else {
        auto* range = reinterpret_cast<DIPROPRANGE*>(header);
        range->lMin = settings_[i].lMin;
        range->lMax = settings_[i].lMax;
    }
    return DI_OK;
}

HRESULT EvdevDevice::SetProperty(DWORD property, const DIPROPHEADER* header) {
    if (header == nullptr)
        return E_POINTER;
    switch (property) {
    case DIPROP_RANGE:
    case DIPROP_DEADZONE:
        return SetObjectProperty(property, header);
    case DIPROP_INSTANCENAME:
    case DIPROP_JOYSTICKID:
    case DIPROP_LOGICALRANGE:
        return E_ACCESSDENIED; // DIERR_READONLY
    default:
        return DIERR_UNSUPPORTED;
    }
}

HRESULT EvdevDevice::SetObjectProperty(DWORD property, const DIPROPHEADER* header) {
    const bool range = property == DIPROP_RANGE;
    if (!SizedAs(*header, range ? sizeof(DIPROPRANGE) : sizeof(DIPROPDWORD)))
        return DIERR_INVALIDPARAM;
    std::vector<std::size_t> indices;
    if (const HRESULT hr = Resolve(*header, indices); FAILED(hr))
        return hr;
    const auto* r = reinterpret_cast<const DIPROPRANGE*>(header);
    const auto* d = reinterpret_cast<const DIPROPDWORD*>(header);
    // An empty range is a range: with Max Value 0 every axis reads 0.
    if (range ? r->lMin > r->lMax : d->dwData > MaxDeadZone)
        return DIERR_INVALIDPARAM;
    bool applied = false;
    for (std::size_t i : indices) {
        if (!IsAxis(layout_.objects[i]))
            continue;
        if (range) {
            settings_[i].lMin = r->lMin;
            settings_[i].lMax = r->lMax;
        } else {
            settings_[i].deadZone = d->dwData;
        }
        applied = true;
    }
    // Addressing a single object that is not an axis is a mistake; the whole device with no
    // axes is simply nothing to do.
    return applied || header->dwHow == DIPH_DEVICE ? DI_OK : DIERR_UNSUPPORTED;
}

bool EvdevDevice::Drain() {
    if (gone_)
        return false;
    EvdevEvent event;
    for (;;) {
        switch (node_->Next(event)) {
        case ReadStatus::Event:
            Apply(event);
            break;
        case ReadStatus::Empty:
            return true;
        case ReadStatus::Gone:
            gone_ = true;
            acquired_ = false;
            return false;
        }
    }
}

void EvdevDevice::Apply(const EvdevEvent& event) {
    std::int16_t index = ObjectLayout::None;
    if (event.type == EV_ABS && event.code < ABS_CNT)
        index = layout_.absObject[event.code];
    else if (event.type == EV_KEY && event.code < KEY_CNT)
        index = layout_.keyObject[event.code];
    if (index == ObjectLayout::None)
        return;
    const ObjectInfo& o = layout_.objects[static_cast<std::size_t>(index)];
    ObjectValue& v = values_[static_cast<std::size_t>(index)];
    if (o.kind == ObjectKind::Button)
        ApplyButton(v, event.value != 0); // 2 is the kernel's auto-repeat: still down
    else if (o.kind == ObjectKind::Hat && event.code == o.codeY)
        v.second = event.value;
    else
        v.first = event.value;
    if (IsAxis(o))
        rests_[static_cast<std::size_t>(index)].Observe(event.value);
}

// A press and its release read between two states would leave both states showing the button up,
// and a tap shorter than the reading's pace (or one made while the reading thread was busy) would
// be lost. So each state shows at most one change of each button beyond the state before; later
// changes wait for the states that follow, in order. Past MaxButtonChanges waiting (32 taps, over
// a second of fast tapping), the oldest press and release go, so that a long stall does not
// replay without end.
void EvdevDevice::ApplyButton(ObjectValue& v, bool down) {
    constexpr std::uint32_t MaxButtonChanges = 64;
    const std::int32_t last = v.first ^ static_cast<std::int32_t>(v.toggles & 1);
    if (static_cast<std::int32_t>(down) == last)
        return;
    if (v.toggles == 0 && v.first == v.shown)
        v.first = down;
    else if (++v.toggles > MaxButtonChanges)
        v.toggles -= 2;
}

void EvdevDevice::ButtonsShown() {
    for (std::size_t i = 0; i < layout_.objects.size(); ++i) {
        if (layout_.objects[i].kind != ObjectKind::Button)
            continue;
        ObjectValue& v = values_[i];
        v.shown = v.first;
        if (v.toggles > 0) {
            v.first ^= 1;
            --v.toggles;
        }
    }
}

void EvdevDevice::ButtonsSettled() {
    for (std::size_t i = 0; i < layout_.objects.size(); ++i) {
        if (layout_.objects[i].kind != ObjectKind::Button)
            continue;
        ObjectValue& v = values_[i];
        v.first ^= static_cast<std::int32_t>(v.toggles & 1);
        v.toggles = 0;
        v.shown = v.first;
    }
}

HRESULT EvdevDevice::SetEventNotification(HANDLE event) {
    if (acquired_)
        return DIERR_ACQUIRED;
    if (event == nullptr)
        return DI_OK;
    const WaitHandle signal = node_->Signal();
    if (signal == NoWaitHandle)
        return DI_POLLEDDEVICE;
    *event = signal;
    return DI_OK;
}

HRESULT EvdevDevice::Poll() {
    if (!acquired_)
        return gone_ ? DIERR_INPUTLOST : DIERR_NOTACQUIRED;
    return Drain() ? DI_OK : DIERR_INPUTLOST;
}

HRESULT EvdevDevice::GetDeviceState(DWORD size, void* data) {
    if (data == nullptr)
        return E_POINTER;
    if (!acquired_)
        return gone_ ? DIERR_INPUTLOST : DIERR_NOTACQUIRED;
    if (size != sizeof(DIJOYSTATE2))
        return DIERR_INVALIDPARAM;
    if (!Drain())
        return DIERR_INPUTLOST;
    DIJOYSTATE2 state = NeutralJoyState();
    auto* bytes = reinterpret_cast<unsigned char*>(&state);
    for (std::size_t i = 0; i < layout_.objects.size(); ++i) {
        const ObjectInfo& o = layout_.objects[i];
        const ObjectValue& v = values_[i];
        DWORD out;
        switch (o.kind) {
        case ObjectKind::Button:
            bytes[o.dwOfs] = v.first ? 0x80 : 0x00;
            continue;
        case ObjectKind::Hat:
            out = HatAngle(v.first, v.second);
            break;
        default: {
            const AxisSetting& s = settings_[i];
            out = static_cast<DWORD>(ScaleAxis(v.first, o.range.minimum, o.range.maximum, s.lMin,
                                               s.lMax, s.deadZone, rests_[i].Rest()));
        }
        }
        std::memcpy(bytes + o.dwOfs, &out, sizeof out);
    }
    std::memcpy(data, &state, sizeof state);
    ButtonsShown();
    return DI_OK;
}

} // namespace padwright
