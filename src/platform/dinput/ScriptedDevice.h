#pragma once
// A controller whose answers are set by hand: tests and padwright-replay drive the real cycle
// with it. Only the calls the data-collection cycle makes have behaviour; the set-up calls
// succeed and do nothing.
#include "platform/dinput/DirectInput.h"

#include <cstring>
#include <deque>

namespace padwright {

class ScriptedDevice : public IDirectInputDevice8 {
public:
    void SetButton(int index, bool down) { state.rgbButtons[index] = down ? 0x80 : 0x00; }

    // What the next GetDeviceState copies out; at rest to begin with.
    DIJOYSTATE2 state = NeutralJoyState();
    // Answers of Poll and GetDeviceState until changed; a failing GetDeviceState copies nothing.
    HRESULT pollResult = DI_OK;
    HRESULT stateResult = DI_OK;
    // Acquire answers these in turn, then acquireResult.
    std::deque<HRESULT> acquireAnswers;
    HRESULT acquireResult = DI_OK;

    int pollCalls = 0;
    int stateCalls = 0;
    int acquireCalls = 0;

    HRESULT SetCooperativeLevel(WindowHandle, DWORD) override { return DI_OK; }
    HRESULT SetDataFormat(const DIDATAFORMAT*) override { return DI_OK; }
    HRESULT Acquire() override {
        ++acquireCalls;
        if (acquireAnswers.empty())
            return acquireResult;
        const HRESULT answer = acquireAnswers.front();
        acquireAnswers.pop_front();
        return answer;
    }
    HRESULT Unacquire() override { return DI_OK; }
    HRESULT EnumObjects(const EnumObjectsCallback&, void*, DWORD) override { return DI_OK; }
    HRESULT GetProperty(DWORD, DIPROPHEADER*) override { return DIERR_UNSUPPORTED; }
    HRESULT SetProperty(DWORD, const DIPROPHEADER*) override { return DI_OK; }
    HRESULT Poll() override {
        ++pollCalls;
        return pollResult;
    }
    HRESULT GetDeviceState(DWORD size, void* data) override {
        ++stateCalls;
        if (FAILED(stateResult))
            return stateResult;
        if (size != sizeof state || data == nullptr)
            return DIERR_INVALIDPARAM;
        std::memcpy(data, &state, sizeof state);
        return stateResult;
    }
};

} // namespace padwright
