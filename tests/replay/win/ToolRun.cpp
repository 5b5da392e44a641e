#include "ReplayToolRig.h"

#include "platform/win/Utf16.h"

#include <windows.h>

namespace padwright::test {

namespace {

// One argument as the program's runtime splits its command line back into argv; the tests'
// arguments hold no quotes and end in no backslash, which would need escaping.
std::wstring Quoted(const std::string& arg) {
    return L"\"" + Wide(arg) + L"\"";
}

::HANDLE Inherited(const fs::path& path, bool write) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return CreateFileW(path.c_str(), write ? GENERIC_WRITE : GENERIC_READ, FILE_SHARE_READ,
                       &inherit, write ? CREATE_ALWAYS : OPEN_EXISTING, 0, nullptr);
}

} // namespace

// Without the memory cap, which only makes a faulty run that reads a terabyte fail fast rather
// than fill the machine.
int RunTool(const std::string& program, const std::vector<std::string>& args, const fs::path& input,
            const fs::path& output, const fs::path& errors, bool) {
    std::wstring line = Quoted(program);
    for (const std::string& arg : args)
        line += L" " + Quoted(arg);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = Inherited(input, false);
    startup.hStdOutput = Inherited(output, true);
    startup.hStdError = Inherited(errors, true);
    PROCESS_INFORMATION process{};
    const bool started = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                        nullptr, &startup, &process);
    for (::HANDLE handle : {startup.hStdInput, startup.hStdOutput, startup.hStdError})
        CloseHandle(handle);
    if (!started)
        return -1;
    ::DWORD code = 0;
    WaitForSingleObject(process.hProcess, INFINITE);
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

} // namespace padwright::test
