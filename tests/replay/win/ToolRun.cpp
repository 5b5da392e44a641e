#include "ToolRun.h"

#include "platform/win/Utf16.h"

#include <windows.h>

namespace padwright::test {

namespace {

// One argument as the program's runtime splits its command line back into argv.
std::wstring Quoted(const std::wstring& arg) {
    std::wstring quoted = L"\"";
    for (std::size_t i = 0;; ++i) {
        std::size_t slashes = 0;
        for (; i < arg.size() && arg[i] == L'\\'; ++i)
            ++slashes;
        if (i == arg.size()) {
            quoted.append(slashes * 2, L'\\');
            break;
        }
        quoted.append(arg[i] == L'"' ? slashes * 2 + 1 : slashes, L'\\');
        quoted += arg[i];
    }
    return quoted + L"\"";
}

HANDLE Inherited(const std::filesystem::path& path, bool write) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return CreateFileW(path.c_str(), write ? GENERIC_WRITE : GENERIC_READ, FILE_SHARE_READ,
                       &inherit, write ? CREATE_ALWAYS : OPEN_EXISTING, 0, nullptr);
}

} // namespace

// Windows has no address-space limit of a process's own; the memory cap is left out.
int RunTool(const std::string& program, const std::vector<std::string>& args,
            const std::filesystem::path& input, const std::filesystem::path& output,
            const std::filesystem::path& errors, bool) {
    std::wstring line = Quoted(Wide(program));
    for (const std::string& arg : args)
        line += L" " + Quoted(Wide(arg));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = Inherited(input, false);
    startup.hStdOutput = Inherited(output, true);
    startup.hStdError = Inherited(errors, true);
    PROCESS_INFORMATION process{};
    const bool started = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                        nullptr, &startup, &process);
    for (HANDLE handle : {startup.hStdInput, startup.hStdOutput, startup.hStdError})
        CloseHandle(handle);
    if (!started)
        return -1;
    DWORD code = 0;
    WaitForSingleObject(process.hProcess, INFINITE);
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

} // namespace padwright::test
