// padwright-replay [--store FILE] [--save-store FILE] [--log FILE] [--inject] [SCRIPT]
// Runs the mapping engine over a scripted session and prints the output calls it makes; with
// --inject its keys, pointer, wheel and application commands also reach the real desktop.
#include "Replay.h"
#include "System.h"
#include "engine/Errors.h"
#include "store/ProfileStore.h"

#include <cerrno>
#include <fstream>
#include <iostream>
#include <string>

namespace {

constexpr int ExitFailure = 1;   // store, log or script file problems, or no input to send
constexpr int ExitMalformed = 2; // a script line that cannot be parsed, or bad arguments

constexpr const char* Usage =
    "usage: padwright-replay [--store FILE] [--save-store FILE] [--log FILE] [--inject] [SCRIPT]\n"
    "Runs the mapping engine over a scripted session (SCRIPT, or standard input) and prints\n"
    "every output call it makes.\n"
    "  --store FILE       read the profiles from a profile store (the older layout too)\n"
    "  --save-store FILE  write the profiles after the script, in the current layout\n"
    "  --log FILE         write the controller-API log lines to FILE\n"
    "  --inject           also send keys, pointer, wheel and media keys to the desktop\n"
    "  -h, --help         show this help and exit\n"
    "  --version          show the version and exit\n"
    "Exit codes: 0 done, 1 a store, log or script file problem, 2 a script line or an\n"
    "argument that cannot be parsed. See padwright-replay(1) for the script lines.\n";

struct Options {
    std::string store, saveStore, log, script;
    bool inject = false;
    bool help = false;
    bool version = false;
};

// The program's message boxes become an error of the tool: a store it cannot read ends the run.
struct RefusingBoxes : padwright::IMessageBoxes {
    void Warning(std::string_view text, std::string_view) override {
        throw padwright::Error(std::string(text));
    }
    void Error(std::string_view text) override { Warning(text, {}); }
};

// The store as the program loads it, legacy layout included. A store named on the command line
// must exist.
void LoadStore(const std::string& path, padwright::StableList<padwright::TProfile>& profiles) {
    if (!padwright::FileExists(path))
        throw padwright::InOutError(ENOENT, path);
    RefusingBoxes boxes;
    padwright::ProfileStore(boxes, path).Load(profiles);
}

void SaveStore(const std::string& path,
               const padwright::StableList<padwright::TProfile>& profiles) {
    RefusingBoxes boxes;
    padwright::ProfileStore(boxes, path).Save(profiles);
}

bool ParseArguments(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--store" && i + 1 < argc)
            options.store = argv[++i];
        else if (arg == "--save-store" && i + 1 < argc)
            options.saveStore = argv[++i];
        else if (arg == "--log" && i + 1 < argc)
            options.log = argv[++i];
        else if (arg == "--inject")
            options.inject = true;
        else if (arg == "-h" || arg == "--help")
            options.help = true;
        else if (arg == "--version")
            options.version = true;
        else if (!arg.starts_with("-") && options.script.empty())
            options.script = arg;
        else
            return false;
    }
    return true;
}

int Run(std::istream& script, padwright::replay::Replay& replay) {
    using namespace padwright;
    int result = 0;
    std::string line;
    for (int number = 1; std::getline(script, line); ++number) {
        replay::Command command;
        try {
            command = replay::ParseLine(line);
            replay.Execute(command);
        } catch (const replay::ScriptError& e) {
            std::cout.flush();
            std::cerr << "padwright-replay: line " << number << ": " << e.what() << '\n';
            return ExitMalformed;
        } catch (const Error& e) {
            // As in the program: the run that was logging ends, the error is shown, and the
            // session goes on with logging off.
            std::cout.flush();
            std::cerr << "padwright-replay: line " << number << ": " << e.what() << '\n';
            result = ExitFailure;
        }
    }
    return result;
}

} // namespace

int main(int argc, char** argv) {
    using namespace padwright;
    replay::UseBinaryStreams();
    Options options;
    if (!ParseArguments(argc, argv, options)) {
        std::cerr << Usage;
        return ExitMalformed;
    }
    if (options.help) {
        std::cout << Usage;
        return 0;
    }
    if (options.version) {
        std::cout << "padwright-replay " PADWRIGHT_VERSION "\n";
        return 0;
    }

    // Chosen before the session starts and destroyed after it, so held keys are let go at exit.
    InjectorChoice real;
    if (options.inject) {
        real = replay::SystemInjector();
        if (real.status.level == InjectionLevel::None) {
            std::cerr << "padwright-replay: " << real.status.message << '\n';
            return ExitFailure;
        }
        if (real.status.level == InjectionLevel::Limited)
            std::cerr << "padwright-replay: " << real.status.message << '\n';
    }

    replay::Replay replay(std::cout);
    replay.ForwardTo(real.injector.get());
    try {
        if (!options.store.empty())
            LoadStore(options.store, replay.Lists().Profiles);
        if (!options.log.empty())
            replay.Log().Open(options.log);
    } catch (const Error& e) {
        std::cerr << "padwright-replay: " << e.what() << '\n';
        return ExitFailure;
    }

    int result = 0;
    if (options.script.empty()) {
        result = Run(std::cin, replay);
    } else {
        std::ifstream file(options.script);
        if (!file) {
            std::cerr << "padwright-replay: " << InOutError(errno, options.script).what() << '\n';
            return ExitFailure;
        }
        result = Run(file, replay);
    }

    try {
        replay.Log().Close();
    } catch (const Error& e) {
        std::cerr << "padwright-replay: " << e.what() << '\n';
        if (result == 0)
            result = ExitFailure;
    }
    // A script that could not be parsed stopped half-way: nothing is saved from it.
    if (!options.saveStore.empty() && result != ExitMalformed) {
        try {
            SaveStore(options.saveStore, replay.Lists().Profiles);
        } catch (const Error& e) {
            std::cout.flush();
            std::cerr << "padwright-replay: " << e.what() << '\n';
            result = ExitFailure;
        }
    }
    std::cout.flush();
    return result;
}
