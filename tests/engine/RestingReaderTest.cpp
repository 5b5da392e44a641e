// The sleeping reader against plain polling, on a simulated clock: the same timelines of
// controller events, through the real opening path, fixture event nodes and the real cycle.
#include "engine/RestingReader.h"
#include "engine/Catalogue.h"
#include "engine/Engine.h"
#include "input/ControllerAccess.h"
#include "input/DirectInputErrorText.h"
#include "platform/dinput/EvemuParser.h"
#include "platform/dinput/FixtureKernel.h"
#include "platform/dinput/ScriptedDevice.h"
#include "platform/dinput/WakeSignal.h"
#include "platform/inject/RecordingInjector.h"
#include "platform/session/RecordingSession.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace padwright {
namespace {

using ::testing::IsEmpty;
using Micros = std::int64_t;
constexpr Micros Ms = 1000;
constexpr Micros TimeInterval = 5 * Ms;
constexpr Micros RepeatStep = AutoRepeatInterval * Ms;

EvdevDescription PadDescription() {
    return LoadEvemuFile(PADWRIGHT_DEVICES_DIR "/xbox360-pad-xpad-ayaneo-air.evemu").description;
}

// The key code of button `b`: buttons are the key codes from BTN_MISC up, in code order.
std::uint16_t Button(int b) {
    const EvdevDescription d = PadDescription();
    for (std::uint16_t code = BTN_MISC; code < KEY_CNT; ++code)
        if (d.keys.test(code) && b-- == 0)
            return code;
    return 0;
}

struct Step {
    Micros at;
    int pad;
    std::uint16_t type, code;
    std::int32_t value;
};
constexpr std::int32_t Unplug = 0x7FFFFFFF; // a Step value that unplugs the pad

struct Output {
    Micros at;
    std::string call;
    bool operator==(const Output&) const = default;
};

// One design: the reader with or without sleeping, two pads, and every timer on a simulated
// clock. Timers due at the same instant run auto-repeat first, as their periods align.
class Simulation : public IControllerHost, public IReaderClock {
public:
    explicit Simulation(bool sleepAtRest) {
        reader.SleepAtRest = sleepAtRest;
        const int first = kernel->Add(PadDescription());
        nodes = {first, kernel->Add(PadDescription())};
        access.StartDirectInput();
        for (int k = 0; k < 2; ++k) {
            access.View.cmbFoundDevices.ItemIndex = k;
            access.cmbFoundDevicesClick();
            access.cmdAddDeviceClick();
        }
        BuildProfiles();
        Pad(0).Profile = 1;
        Pad(0).RepeatKeys = false;
        Pad(1).Profile = 2;
        Pad(1).RepeatKeys = true; // "Auto-repeat all keys"
        injector.onCall = [this](const InjectedCall& c) {
            outputs.push_back({now, FormatInjectedCall(c)});
        };
        session.onCall = [this](const RecordingSession::Call& c) {
            outputs.push_back({now, "ExitWindowsEx " + std::to_string(c.flags)});
        };
        ResumeReading();
    }

    TJoystick& Pad(int i) { return lists.ActiveJoysticks[static_cast<std::size_t>(i)]; }

    void Play(const std::vector<Step>& script, Micros until) {
        std::size_t i = 0;
        for (;;) {
            Micros t = until;
            if (i < script.size())
                t = std::min(t, script[i].at);
            for (Micros due : {nextTick, nextCycle, nextDeferred})
                if (due >= 0)
                    t = std::min(t, due);
            if (t >= until)
                return;
            now = t;
            for (; i < script.size() && script[i].at == t; ++i)
                Apply(script[i]);
            const bool woken = reader.Asleep() && AnyReady(watched);
            if (woken) {
                wakes.push_back(t);
                if (reader.Wake())
                    Run();
            }
            if (woken || nextTick == t || nextCycle == t || nextDeferred == t)
                wakeups.push_back(t);
            if (nextDeferred == t) {
                nextDeferred = -1;
                Run();
            }
            if (nextTick == t) {
                nextTick += RepeatStep;
                engine.tmrAutoRepeatTimer();
            }
            if (nextCycle == t) {
                nextCycle += TimeInterval;
                Run();
            }
        }
    }

    // IEngineHost
    void PauseReading() override { reader.Pause(); }
    void ResumeReading() override { reader.Resume(); }
    void TrayAnimationStep() override {}
    bool ReadingOn() const override { return reader.On(); }
    void LogDirectInputError(std::string_view prefix, HRESULT code) override {
        log.push_back(std::string(prefix) + std::string(DirectInputErrorText(code)));
    }
    // IReaderClock
    void StartTimers() override {
        nextTick = now + RepeatStep;
        nextCycle = now + TimeInterval;
    }
    void StopTimers() override { nextTick = nextCycle = -1; }
    bool Watch(const std::vector<int>& descriptors) override {
        watched = descriptors;
        return true;
    }
    void Unwatch() override { watched.clear(); }
    bool Pending(const std::vector<int>& descriptors) override { return AnyReady(descriptors); }
    std::chrono::microseconds Now() override { return std::chrono::microseconds(now); }
    std::chrono::microseconds Interval() override {
        return std::chrono::microseconds(TimeInterval);
    }
    void RunAfter(std::chrono::microseconds delay) override { nextDeferred = now + delay.count(); }
    void CancelRun() override { nextDeferred = -1; }

    std::shared_ptr<FixtureKernel> kernel = std::make_shared<FixtureKernel>();
    std::vector<int> nodes;
    TLists lists;
    RecordingInjector injector;
    RecordingSession session;
    Engine engine{lists, injector, session, *this};
    ControllerAccess access{lists, *this, [this](std::shared_ptr<IDirectInput8>& out) {
                                out = CreateFixtureDirectInput(kernel);
                                return DI_OK;
                            }};
    RestingReader reader{lists, engine, *this};
    Micros now = 0, nextTick = -1, nextCycle = -1, nextDeferred = -1;
    std::vector<int> watched;
    std::vector<Output> outputs;
    std::vector<Micros> wakes;
    std::vector<std::string> log;
    int runs = 0;
    // The instants of the runs, and of everything that woke the program: input, a timer, a
    // put-off run.
    std::vector<Micros> runAt, wakeups;

private:
    void Run() {
        ++runs;
        runAt.push_back(now);
        reader.Run();
    }

    void Apply(const Step& s) {
        const int node = nodes[static_cast<std::size_t>(s.pad)];
        if (s.value == Unplug)
            kernel->Unplug(node);
        else
            kernel->Push(node, {{s.type, s.code, s.value}, {EV_SYN, SYN_REPORT, 0}});
    }

    static bool AnyReady(const std::vector<int>& descriptors) {
        for (WaitHandle handle : descriptors)
            if (IsSignalled(handle))
                return true;
        return false;
    }

    // Profile 1 has one control of every output kind; profile 2 a key for "Auto-repeat all".
    void BuildProfiles() {
        TProfile& one = lists.Profiles.push_back(NewProfile("Every kind"));
        auto map = [](TControlMapping& m, std::string_view function, int rate = 0) {
            AssignFunction(m, function);
            m.AutoRepeat = rate != 0;
            m.RepeatRate = rate;
        };
        map(one.Mappings[ButtonSlot(0)], "VK_A");
        map(one.Mappings[ButtonSlot(1)], "VK_B", 10);
        map(one.Mappings[ButtonSlot(2)], "MOUSE_LEFT_CLICK");
        map(one.Mappings[ButtonSlot(3)], "MOUSE_WHEEL_FORWARD", 10);
        map(one.Mappings[ButtonSlot(4)], "VOLUME_UP");
        map(one.Mappings[ButtonSlot(5)], "EWX_LOGOFF");
        map(one.Mappings[AxisSlot(0, false)], "MOUSE_MOVE_X_NEG");
        map(one.Mappings[AxisSlot(0, true)], "MOUSE_MOVE_X_POS");
        map(one.Mappings[AxisSlot(1, true)], "VK_DOWN", 30);
        map(one.Mappings[HatSlot(0, 2)], "VK_RIGHT");
        map(one.Mappings[HatSlot(0, 6)], "VK_LEFT", 5);
        TProfile& two = lists.Profiles.push_back(NewProfile("All keys repeat"));
        map(two.Mappings[ButtonSlot(0)], "VK_C");
    }
};

std::vector<Step> Hold(Micros from, Micros to, int pad, std::uint16_t type, std::uint16_t code,
                       std::int32_t value, std::int32_t rest = 0) {
    return {{from, pad, type, code, value}, {to, pad, type, code, rest}};
}

// Every output kind, repeats, a hat, an unplug at rest (the other pad goes on) and one while a
// control is held; `at` places each event, `(ms)` the instant it is nominally due.
std::vector<Step> EveryKind(const std::function<Micros(Micros)>& at) {
    std::vector<Step> s;
    auto add = [&](std::vector<Step> steps) {
        for (Step& step : steps)
            step.at = at(step.at);
        s.insert(s.end(), steps.begin(), steps.end());
    };
    add(Hold(30 * Ms, 150 * Ms, 0, EV_KEY, Button(0), 1));
    add(Hold(300 * Ms, 900 * Ms, 0, EV_KEY, Button(1), 1));
    add(Hold(1200 * Ms, 1500 * Ms, 0, EV_ABS, ABS_X, 32767));
    add(Hold(1320 * Ms, 1440 * Ms, 0, EV_KEY, Button(0), 1)); // while the stick is held
    add(Hold(1800 * Ms, 2100 * Ms, 0, EV_ABS, ABS_HAT0X, 1));
    add(Hold(2160 * Ms, 2700 * Ms, 0, EV_ABS, ABS_HAT0X, -1));
    add(Hold(2880 * Ms, 3000 * Ms, 0, EV_KEY, Button(2), 1));
    add(Hold(3300 * Ms, 3600 * Ms, 0, EV_KEY, Button(3), 1));
    add(Hold(3900 * Ms, 4020 * Ms, 0, EV_KEY, Button(4), 1));
    add(Hold(4200 * Ms, 4320 * Ms, 0, EV_KEY, Button(5), 1));
    add(Hold(4500 * Ms, 4800 * Ms, 0, EV_ABS, ABS_Y, 32767));
    add(Hold(5100 * Ms, 5400 * Ms, 1, EV_KEY, Button(0), 1));
    add({{5700 * Ms, 1, EV_KEY, 0, Unplug}});
    add({{6000 * Ms, 0, EV_ABS, ABS_Y, 12000}}); // resting off-centre, below the threshold
    add({{6300 * Ms, 0, EV_KEY, Button(1), 1}, {6600 * Ms, 0, EV_KEY, 0, Unplug}});
    std::stable_sort(s.begin(), s.end(), [](const Step& a, const Step& b) { return a.at < b.at; });
    return s;
}

struct Played {
    Simulation polling{false}, sleeping{true};
    Played(const std::vector<Step>& script, Micros until) {
        polling.Play(script, until);
        sleeping.Play(script, until);
    }
};

struct Streak {
    std::string call;
    int count;
};

std::vector<Streak> Streaks(const std::vector<Output>& outputs) {
    std::vector<Streak> s;
    for (const Output& o : outputs) {
        if (!s.empty() && s.back().call == o.call)
            ++s.back().count;
        else
            s.push_back({o.call, 1});
    }
    return s;
}

// The same outputs in the same order with counts within one, each output from rest no later,
// the same log lines and reading state, and far fewer runs of the cycle.
void ExpectSameInSubstance(Played& p) {
    const auto a = Streaks(p.polling.outputs), b = Streaks(p.sleeping.outputs);
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].call, b[i].call) << "streak " << i;
        EXPECT_LE(std::abs(a[i].count - b[i].count), 1) << a[i].call << " (streak " << i << ")";
    }
    for (const Micros wake : p.sleeping.wakes) {
        auto first = [wake](const std::vector<Output>& o) {
            return std::find_if(o.begin(), o.end(),
                                [wake](const Output& x) { return x.at >= wake; });
        };
        const auto pa = first(p.polling.outputs), pb = first(p.sleeping.outputs);
        if (pa == p.polling.outputs.end())
            continue;
        ASSERT_NE(pb, p.sleeping.outputs.end());
        EXPECT_EQ(pb->call, pa->call);
        EXPECT_LE(pb->at, pa->at) << "the first output after waking at " << wake << " us";
    }
    EXPECT_EQ(p.sleeping.log, p.polling.log);
    EXPECT_EQ(p.sleeping.reader.On(), p.polling.reader.On());
    EXPECT_LT(p.sleeping.runs, p.polling.runs);
}

TEST(ReadingDifferential, EventsWhereBothTimersAreDueGiveTheSameTimedOutput) {
    Played p(EveryKind([](Micros t) { return t; }), 7000 * Ms);
    ASSERT_FALSE(p.polling.outputs.empty());
    EXPECT_EQ(p.sleeping.outputs, p.polling.outputs);
    EXPECT_EQ(p.sleeping.log, p.polling.log);
    EXPECT_EQ(p.polling.log.size(), 2u) << "both unplugs are logged";
    EXPECT_FALSE(p.sleeping.reader.On()) << "no pad left: reading pauses";
    EXPECT_FALSE(p.sleeping.wakes.empty());
}

TEST(ReadingDifferential, EventsBetweenTheTicksGiveTheSameOutputsInSubstance) {
    // Offsets that land everywhere within an interval and a repeat tick.
    for (Micros shift : {Micros{1}, Micros{1300}, Micros{2500}, Micros{4999}, Micros{17300}}) {
        SCOPED_TRACE(shift);
        int n = 0;
        Played p(EveryKind([&](Micros t) { return t + shift + (n++ % 3) * 700; }), 7000 * Ms);
        ExpectSameInSubstance(p);
    }
}

TEST(ReadingDifferential, ATapShorterThanTheIntervalIsSentFromRest) {
    const std::vector<Step> tap = {{21 * Ms, 0, EV_KEY, Button(0), 1},
                                   {22 * Ms, 0, EV_KEY, Button(0), 0}};
    Played p(tap, 100 * Ms);
    // Polling reads the press and the release in one run; the device shows them one per run.
    ASSERT_EQ(p.polling.injector.calls.size(), 2u) << "one whole stroke";
    EXPECT_EQ(p.polling.outputs[0].at, 25 * Ms) << "at the next interval";
    ASSERT_EQ(p.sleeping.injector.calls.size(), 2u) << "one whole stroke";
    EXPECT_EQ(p.sleeping.injector.calls[0].vk, 0x41);
    EXPECT_EQ(p.sleeping.injector.calls[0].flags, 0u);
    EXPECT_EQ(p.sleeping.outputs[0].at, 21 * Ms) << "at once, not at the next interval";
}

// ---- What keeps the reader awake, and what does not ----

TEST(RestingReader, SleepsOnlyWhenNothingIsEngagedAndNothingWasSent) {
    Simulation s(true);
    s.Play({}, 11 * Ms);
    EXPECT_TRUE(s.reader.Asleep());
    EXPECT_TRUE(s.reader.On()) << "sleeping is not pausing";
    EXPECT_EQ(s.watched.size(), 2u);
    EXPECT_EQ(s.nextCycle, -1);
    EXPECT_EQ(s.nextTick, -1);

    // A stick off-centre below the threshold (on a key mapping) does not keep it awake, nor
    // does a held button without a function; a held button that repeats does. The triggers,
    // resting at one end of their range, read 0 and engage nothing.
    s.Play({{20 * Ms, 0, EV_ABS, ABS_Y, 12000}}, 40 * Ms);
    EXPECT_TRUE(s.reader.Asleep());
    EXPECT_FALSE(s.Pad(0).Engaged.test(AxisSlot(2, false)));
    s.Play({{50 * Ms, 0, EV_KEY, Button(9), 1}}, 100 * Ms);
    EXPECT_TRUE(s.reader.Asleep());
    s.Play({{110 * Ms, 0, EV_KEY, Button(1), 1}}, 200 * Ms);
    EXPECT_FALSE(s.reader.Asleep());
    EXPECT_GT(s.nextCycle, 0);
    s.Play({{210 * Ms, 0, EV_KEY, Button(1), 0}}, 300 * Ms);
    EXPECT_TRUE(s.reader.Asleep());
}

std::size_t CountIn(const std::vector<Micros>& instants, Micros from, Micros to) {
    return static_cast<std::size_t>(std::count_if(instants.begin(), instants.end(),
                                                  [=](Micros t) { return t >= from && t < to; }));
}

// A control held for a second: what has sent all it sends until it is let go lets the reader
// sleep through the hold; what repeats or moves keeps polling's pace. Both send the same.
TEST(ReadingDifferential, HeldControlsSleepUnlessTheyRepeatOrMove) {
    struct Held {
        const char* what;
        int pad;
        std::uint16_t type, code;
        std::int32_t value;
        bool keepsPace;
    } const cases[] = {
        {"key", 0, EV_KEY, Button(0), 1, false},
        {"mouse button", 0, EV_KEY, Button(2), 1, false},
        {"app command", 0, EV_KEY, Button(4), 1, false},
        {"hat on a key", 0, EV_ABS, ABS_HAT0X, 1, false},
        {"button without a function", 0, EV_KEY, Button(9), 1, false},
        {"key at its own rate", 0, EV_KEY, Button(1), 1, true},
        {"wheel at its own rate", 0, EV_KEY, Button(3), 1, true},
        {"hat on a key at its own rate", 0, EV_ABS, ABS_HAT0X, -1, true},
        {"stick on the pointer", 0, EV_ABS, ABS_X, 32767, true},
        {"key with \"Auto-repeat all keys\"", 1, EV_KEY, Button(0), 1, true},
    };
    for (const Held& c : cases) {
        SCOPED_TRACE(c.what);
        Played p(Hold(100 * Ms, 1100 * Ms, c.pad, c.type, c.code, c.value), 1300 * Ms);
        ExpectSameInSubstance(p);
        const std::size_t polled = CountIn(p.polling.runAt, 200 * Ms, 1100 * Ms);
        const std::size_t run = CountIn(p.sleeping.runAt, 200 * Ms, 1100 * Ms);
        if (c.keepsPace)
            EXPECT_NEAR(static_cast<double>(run), static_cast<double>(polled), 1);
        else
            EXPECT_EQ(run, 0u) << "runs while held, against polling's " << polled;
    }
}

// Input faster than the interval (stick jitter inside the dead zone, above the kernel's fuzz)
// wakes the program no more often than polling; quiet again, it sleeps again.
TEST(ReadingDifferential, NoisyInputWakesItNoMoreOftenThanPolling) {
    for (Micros every : {1000, 3000, 4100, 7700, 8000, 9900, 10500, 12000, 14000, 16000, 25000}) {
        SCOPED_TRACE(every);
        std::vector<Step> noise;
        for (Micros t = 100 * Ms; t < 1100 * Ms; t += every)
            noise.push_back({t, 0, EV_ABS, ABS_X, noise.size() % 2 ? 1500 : -1500});
        Played p(noise, 1300 * Ms);
        EXPECT_THAT(p.polling.outputs, IsEmpty());
        const auto count = [](const std::vector<Micros>& at) {
            return CountIn(at, 100 * Ms, 1100 * Ms);
        };
        EXPECT_LE(count(p.sleeping.runAt), count(p.polling.runAt));
        // Input just after the reader fell asleep wakes it once before the run it waits for.
        EXPECT_LE(count(p.sleeping.wakeups), count(p.polling.wakeups) + 1);
        EXPECT_TRUE(p.sleeping.reader.Asleep());
    }
}

// A press just after the run that put the reader to sleep is read an interval after that run:
// no sooner, and no later.
TEST(ReadingDifferential, InputWithinAnIntervalOfTheLastRunIsReadAnIntervalAfterIt) {
    Simulation s(true);
    s.Play({}, 11 * Ms);
    ASSERT_TRUE(s.reader.Asleep());
    ASSERT_EQ(s.runAt.back(), 10 * Ms);
    s.Play({{12 * Ms, 0, EV_KEY, Button(0), 1}}, 50 * Ms);
    ASSERT_FALSE(s.outputs.empty());
    EXPECT_EQ(s.outputs[0].at, 15 * Ms);
    EXPECT_EQ(s.runAt[2], 15 * Ms);
}

TEST(RestingReader, StoredPressStatesDoNotKeepItAwake) {
    Simulation s(true);
    for (TControlMapping& m : s.lists.Profiles[0].Mappings) {
        m.PressState = psPressed;
        m.RepeatCountdown = 500;
    }
    s.Play({}, 20 * Ms);
    EXPECT_TRUE(s.reader.Asleep());
}

TEST(RestingReader, AControllerThatCannotSignalKeepsItPolling) {
    Simulation s(true);
    TJoystick& polled = s.lists.ActiveJoysticks.emplace_back();
    polled.Device = std::make_shared<ScriptedDevice>();
    polled.Acquired = true;
    polled.Profile = 1;
    s.Play({}, 100 * Ms);
    EXPECT_FALSE(s.reader.Asleep());
    EXPECT_EQ(s.runs, 19);
}

} // namespace
} // namespace padwright
