#include "core/CommandLine.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <iterator>
#include <utility>

namespace padwright {

namespace {

// Takes the value an option needs from `arguments` after `i`; empty when there is none.
std::string Value(const std::vector<std::string>& arguments, std::size_t& i) {
    return i + 1 < arguments.size() ? arguments[++i] : std::string();
}

void SetRequest(CommandLine& line, InstanceRequest::Kind kind) {
    if (line.request && line.error.empty())
        line.error = "only one of --status, --profile, --start, --stop and --show at a time";
    line.request = InstanceRequest{kind, {}, -1};
}

// A joystick ID: decimal digits only, at most INT_MAX.
std::optional<int> JoystickId(const std::string& text) {
    unsigned long long id = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, id);
    if (text.empty() || error != std::errc() || stop != end || id > INT_MAX)
        return std::nullopt;
    return static_cast<int>(id);
}

} // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    static const std::pair<const char*, InstanceRequest::Kind> commands[] = {
        {"--status", InstanceRequest::Status},
        {"--start", InstanceRequest::Start},
        {"--stop", InstanceRequest::Stop},
        {"--show", InstanceRequest::Show}};
    CommandLine line;
    std::optional<std::string> profile, controller;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const auto command = std::find_if(std::begin(commands), std::end(commands),
                                          [&](const auto& c) { return argument == c.first; });
        if (argument == "-h" || argument == "--help")
            line.help = true;
        else if (argument == "--version")
            line.version = true;
        else if (argument == "--data-folder")
            line.dataFolder = true;
        else if (command != std::end(commands))
            SetRequest(line, command->second);
        else if (argument == "--profile") {
            SetRequest(line, InstanceRequest::Profile);
            profile = Value(arguments, i);
        } else if (argument == "--controller")
            controller = Value(arguments, i);
        else
            line.others.push_back(argument);
    }
    if (!line.error.empty())
        return line;
    // Toolkit options mean something only to a program that starts.
    if (line.request && line.request->kind != InstanceRequest::Show && !line.others.empty())
        line.error = "unknown argument \"" + line.others.front() + "\"";
    if (profile) {
        line.request->profile = *profile;
        if (profile->empty())
            line.error = "--profile needs the name of a profile";
    }
    if (controller) {
        const std::optional<int> id = JoystickId(*controller);
        if (!profile)
            line.error = "--controller goes with --profile";
        else if (!id)
            line.error = "--controller needs a joystick ID, such as 0";
        else
            line.request->controller = *id;
    }
    return line;
}

std::string UsageText(const std::string& options, const std::string& dataFolder,
                      const std::string& closing) {
    return "usage: padwright [--data-folder]" + options +
           "\n"
           "       padwright --status | --profile NAME [--controller ID] | --start | --stop |\n"
           "                 --show\n"
           "Lets game controllers drive the keyboard and the mouse.\n"
           "\n"
           "  --data-folder  keep the profiles (Padwright.pro) and the log (Padwright.log) in\n" +
           dataFolder +
           "  -h, --help     show this help and exit\n"
           "  --version      show the version and exit\n"
           "\n"
           "Commands for the Padwright that runs, which fail when none does:\n"
           "  --status       one line per active controller, fields separated by tabs: the\n"
           "                 controller, its profile, \"on\" or \"off\" (being read), the program\n"
           "                 in front\n"
           "  --profile NAME put every active controller, or the one with joystick ID ID, on the\n"
           "                 first profile named NAME until the program in front changes\n"
           "  --start, --stop  start or stop reading the controllers\n"
           "  --show         show the window; starts Padwright when it is not running\n"
           "\n" +
           closing;
}

} // namespace padwright
