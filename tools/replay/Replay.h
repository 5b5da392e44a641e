#pragma once
// Runs the real engine over a script and prints every output call it makes.
#include "Script.h"
#include "engine/Engine.h"
#include "input/DiLog.h"
#include "platform/dinput/ScriptedDevice.h"
#include "platform/inject/RecordingInjector.h"
#include "platform/session/RecordingSession.h"

#include <memory>
#include <ostream>
#include <vector>

namespace padwright::replay {

// The engine's host: prints the reading switch, keeps the tray step silent, logs to the DiLog.
class PrintingHost : public IEngineHost {
public:
    PrintingHost(std::ostream& out, DiLog& log) : out_(out), log_(log) {}
    void PauseReading() override {
        out_ << "PauseReading\n";
        reading_ = false;
    }
    void ResumeReading() override {
        out_ << "ResumeReading\n";
        reading_ = true;
    }
    void TrayAnimationStep() override {}
    bool ReadingOn() const override { return reading_; }
    void LogDirectInputError(std::string_view prefix, HRESULT code) override {
        log_.LogDirectInputError(prefix, code);
    }

private:
    std::ostream& out_;
    DiLog& log_;
    bool reading_ = false;
};

class Replay {
public:
    explicit Replay(std::ostream& out);

    TLists& Lists() { return lists_; }
    // Every key, pointer, wheel and application-command call also goes to `injector` (the
    // real one, for --inject); power actions stay printed only. nullptr stops that.
    void ForwardTo(IInputInjector* injector) { forward_ = injector; }
    DiLog& Log() { return log_; }

    // Applies one parsed line. Throws ScriptError for a reference to something that does not
    // exist, and lets the engine's Error (a log line that cannot be written) through.
    void Execute(const Command& command);

private:
    void Apply(const AddController& c);
    void Apply(const SetState& s);
    void Apply(const Fail& f);
    void Apply(const Cycle& c);
    void Apply(const Tick& t);
    void Apply(const Show& s);
    void Apply(const NewProfile& p);
    void Apply(const Map& m);
    void Apply(std::monostate) {}
    ScriptedDevice& DeviceOf(int controller);
    TProfile& ProfileAt(int profile);

    std::ostream& out_;
    TLists lists_;
    DiLog log_;
    RecordingInjector injector_;
    IInputInjector* forward_ = nullptr;
    RecordingSession session_;
    PrintingHost host_;
    Engine engine_;
    std::vector<std::shared_ptr<ScriptedDevice>> devices_;
};

} // namespace padwright::replay
