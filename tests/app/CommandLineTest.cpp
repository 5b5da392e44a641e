// What the three programs answer to --help and --version: on standard output, exit code 0, and
// without a display.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

namespace {

struct Outcome {
    std::string out;
    int status = -1;
};

Outcome Start(const std::string& command) {
    Outcome run;
    FILE* pipe =
        popen(("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + command + " 2>/dev/null")
                  .c_str(),
              "r");
    std::array<char, 4096> buffer;
    while (std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe))
        run.out.append(buffer.data(), n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

struct Program {
    const char* name;
    const char* binary;
};

class CommandLineTest : public ::testing::TestWithParam<Program> {};

TEST_P(CommandLineTest, HelpAndVersionGoToStandardOutput) {
    const Program p = GetParam();
    for (const char* option : {"--help", "-h"}) {
        const Outcome help = Start(std::string(p.binary) + " " + option);
        EXPECT_EQ(help.status, 0) << option;
        EXPECT_EQ(help.out.rfind(std::string("usage: ") + p.name + " ", 0), 0u) << help.out;
        EXPECT_NE(help.out.find("--version"), std::string::npos) << help.out;
    }
    const Outcome version = Start(std::string(p.binary) + " --version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, std::string(p.name) + " " PADWRIGHT_VERSION "\n");
}

INSTANTIATE_TEST_SUITE_P(Programs, CommandLineTest,
                         ::testing::Values(Program{"padwright", PADWRIGHT_BINARY},
                                           Program{"padwright-probe", PROBE_BINARY},
                                           Program{"padwright-replay", REPLAY_BINARY}),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             std::erase(name, '-');
                             return name;
                         });

// The program's own options are checked once Qt has taken its standard ones.
TEST(ProgramCommandLine, UnknownArgumentIsAUsageError) {
    const Outcome run = Start(std::string("env QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=") +
                              ::testing::TempDir() + " " PADWRIGHT_BINARY " -style fusion --frob");
    EXPECT_EQ(run.status, 2);
}

} // namespace
