#include "platform/inject/UinputInjector.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace padwright {

namespace {
// Evdev's own value for a key that is pressed again while it is down: a typematic repeat.
// A second "pressed" would be dropped by the kernel as no change.
constexpr std::int32_t KeyRepeat = 2;
} // namespace

// Collects one call's events; the largest call (a mouse_event with every flag) needs 13.
class UinputInjector::Batch {
public:
    void Add(std::uint16_t type, std::uint16_t code, std::int32_t value) {
        // More events than any call makes is our bug, never the caller's input: stop loudly
        // rather than write past the batch, also in release builds.
        if (count_ == events_.size()) {
            std::fputs("padwright: bug: an injection batch overflowed\n", stderr);
            std::abort();
        }
        input_event& e = events_[count_++];
        e = {};
        e.type = type;
        e.code = code;
        e.value = value;
    }
    void Sync() { Add(EV_SYN, SYN_REPORT, 0); }
    bool Empty() const { return count_ == 0; }
    std::span<const input_event> Events() const { return {events_.data(), count_}; }

private:
    std::array<input_event, 16> events_;
    std::size_t count_ = 0;
};

std::uint16_t LinuxButtonCode(MouseButton button) {
    constexpr std::uint16_t codes[MouseButtonCount] = {BTN_LEFT, BTN_RIGHT, BTN_MIDDLE, BTN_SIDE,
                                                       BTN_EXTRA};
    return codes[static_cast<int>(button)];
}

UinputInjector::UinputInjector(std::unique_ptr<IUinputWriter> writer,
                               std::unique_ptr<ILayoutSource> layout)
    : writer_(std::move(writer)), keys_(std::move(layout)) {}

UinputInjector::~UinputInjector() {
    if (held_.none())
        return;
    std::vector<input_event> releases;
    for (std::size_t code = 0; code < held_.size(); ++code) {
        if (!held_.test(code))
            continue;
        input_event e{};
        e.type = EV_KEY;
        e.code = static_cast<std::uint16_t>(code);
        releases.push_back(e);
    }
    input_event sync{};
    sync.type = EV_SYN;
    sync.code = SYN_REPORT;
    releases.push_back(sync);
    writer_->Write(releases);
}

std::uint32_t UinputInjector::MapVirtualKeyA(std::uint32_t code, std::uint32_t mapType) {
    return keys_.MapVirtualKey(code, mapType);
}

void UinputInjector::Key(Batch& batch, std::uint16_t code, bool down) {
    const bool again = down && held_.test(code);
    held_.set(code, down);
    if (!again)
        batch.Add(EV_KEY, code, down ? 1 : 0);
    else if (code < BTN_MISC || code > BTN_GEAR_UP) // a mouse button cannot go down twice
        batch.Add(EV_KEY, code, KeyRepeat);
}

void UinputInjector::keybd_event(std::uint8_t vk, std::uint8_t, std::uint32_t flags,
                                 std::uintptr_t) {
    const bool down = !(flags & KEYEVENTF_KEYUP);
    const auto button = VirtualKeyMouseButton(vk);
    const std::uint16_t code = button ? LinuxButtonCode(*button) : keys_.KeyFor(vk, down);
    if (code == 0)
        return;
    Batch batch;
    Key(batch, code, down);
    if (batch.Empty())
        return;
    batch.Sync();
    writer_->Write(batch.Events());
}

void UinputInjector::mouse_event(std::uint32_t flags, std::int32_t dx, std::int32_t dy,
                                 std::int32_t data, std::uintptr_t) {
    const MouseEventParts parts = DecodeMouseEvent(flags, dx, dy, data);
    Batch batch;
    if (parts.dx != 0)
        batch.Add(EV_REL, REL_X, parts.dx);
    if (parts.dy != 0)
        batch.Add(EV_REL, REL_Y, parts.dy);
    for (int i = 0; i < parts.buttonCount; ++i)
        Key(batch, LinuxButtonCode(parts.buttons[i].button), parts.buttons[i].down);
    if (parts.wheel != 0) {
        // Both axes have the same sign as Windows' delta: positive turns away from the user.
        if (const std::int32_t notches = wheel_.Add(parts.wheel); notches != 0)
            batch.Add(EV_REL, REL_WHEEL, notches);
        batch.Add(EV_REL, REL_WHEEL_HI_RES, parts.wheel);
    }
    if (batch.Empty())
        return;
    batch.Sync();
    writer_->Write(batch.Events());
}

void UinputInjector::SendAppCommand(std::uint32_t lParam) {
    const std::uint16_t code = AppCommandTarget(AppCommandOfLParam(lParam)).linuxCode;
    if (code == 0)
        return;
    // Two reports in one write: a press and a release in the same report could be merged away.
    Batch batch;
    batch.Add(EV_KEY, code, 1);
    batch.Sync();
    batch.Add(EV_KEY, code, 0);
    batch.Sync();
    held_.reset(code);
    writer_->Write(batch.Events());
}

} // namespace padwright
