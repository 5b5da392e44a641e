// padwright with one fixture controller in place of the kernel's: the device description named by
// $PADWRIGHT_FIXTURE_PAD (tests/fixtures/devices has many), its recorded events what it reports
// from its first reading on; none without it. Everything else (injector, desktop, bus, settings,
// command line) is the program's own.
#include "app/ProgramMain.h"
#include "platform/dinput/EvemuParser.h"
#include "platform/dinput/FixtureKernel.h"

#include <cstdlib>

int main(int argc, char** argv) {
    using namespace padwright;
    auto kernel = std::make_shared<FixtureKernel>();
    if (const char* file = std::getenv("PADWRIGHT_FIXTURE_PAD")) {
        const EvemuDevice pad = LoadEvemuFile(file);
        kernel->Add(pad.description, pad.events);
    }
    return ProgramMain(argc, argv, ReadingPace::SleepAtRest, [kernel](Program::Parts& parts) {
        parts.DirectInput = [kernel, ids = parts.JoystickIds](auto& out) {
            out = CreateFixtureDirectInput(kernel, ids);
            return DI_OK;
        };
        parts.PlugMonitor = nullptr;
    });
}
