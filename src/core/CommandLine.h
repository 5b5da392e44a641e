#pragma once
// The program's own command-line options, read the same way by every front-end. Options that are
// not ours are handed back: a toolkit may take its own out of them.
#include <optional>
#include <string>
#include <vector>

namespace padwright {

// A command for the running instance.
struct InstanceRequest {
    enum Kind { Status, Profile, Start, Stop, Show };
    Kind kind = Status;
    std::string profile; // Profile: the name of the profile (UTF-8)
    int controller = -1; // Profile: a joystick ID; -1 for every active controller
};

struct CommandLine {
    bool help = false;
    bool version = false;
    // Work in the user's data folder instead of the folder the program was started from.
    bool dataFolder = false;
    // --status, --profile NAME [--controller ID], --start, --stop, --show.
    std::optional<InstanceRequest> request;
    // Why the arguments make no command line of ours (a command without its value, two
    // commands); empty when they do.
    std::string error;
    // Arguments that are not ours.
    std::vector<std::string> others;
};

// `arguments` without the program name.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// The help text. `options`: what the usage line shows after --data-folder ("" or " [Qt
// options]"); `dataFolder`: where --data-folder keeps the files, as its two lines say it;
// `closing`: the lines after the commands (toolkit options, where the settings are kept).
std::string UsageText(const std::string& options, const std::string& dataFolder,
                      const std::string& closing);

} // namespace padwright
