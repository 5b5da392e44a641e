#include "app/win/InstanceWindow.h"

#include <cstdio>

namespace padwright::win {

namespace {

// What the WM_COPYDATA carries: dwData tells a request from an answer.
constexpr ULONG_PTR RequestTag = 0x50415251; // "PARQ"
constexpr ULONG_PTR AnswerTag = 0x50414E53;  // "PANS"
// Long enough for an instance whose window shows a box, short enough that a script does not
// hang on a stuck one.
constexpr UINT AnswerTimeoutMs = 10000;

std::string Bytes(const COPYDATASTRUCT& data) {
    return std::string(static_cast<const char*>(data.lpData), data.cbData);
}

bool Send(HWND to, HWND from, ULONG_PTR tag, const std::string& bytes) {
    COPYDATASTRUCT data{tag, static_cast<DWORD>(bytes.size()), const_cast<char*>(bytes.data())};
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(to, WM_COPYDATA, reinterpret_cast<WPARAM>(from),
                               reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, AnswerTimeoutMs,
                               &result) != 0 &&
           result != 0;
}

// Splits "a\nb\nrest" into its first `count` lines and the rest.
bool Split(const std::string& bytes, std::size_t count, std::vector<std::string>& parts) {
    std::size_t at = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t end = bytes.find('\n', at);
        if (end == std::string::npos)
            return false;
        parts.push_back(bytes.substr(at, end - at));
        at = end + 1;
    }
    parts.push_back(bytes.substr(at));
    return true;
}

// The answer the reply window was given.
std::optional<InstanceAnswer> received;

LRESULT CALLBACK ReplyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA) {
        const auto& data = *reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (data.dwData != AnswerTag)
            return FALSE;
        received = DecodeAnswer(Bytes(data));
        return TRUE;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

int Refused(const std::string& text) {
    std::fprintf(stderr, "padwright: %s\n", text.c_str());
    return 1;
}

} // namespace

std::string EncodeRequest(const InstanceRequest& request) {
    return std::to_string(static_cast<int>(request.kind)) + '\n' +
           std::to_string(request.controller) + '\n' + request.profile;
}

std::optional<InstanceRequest> DecodeRequest(const std::string& bytes) {
    std::vector<std::string> parts;
    if (!Split(bytes, 2, parts))
        return std::nullopt;
    InstanceRequest request;
    try {
        const int kind = std::stoi(parts[0]);
        if (kind < InstanceRequest::Status || kind > InstanceRequest::Show)
            return std::nullopt;
        request.kind = static_cast<InstanceRequest::Kind>(kind);
        request.controller = std::stoi(parts[1]);
    } catch (const std::exception&) {
        return std::nullopt;
    }
    request.profile = parts[2];
    return request;
}

std::string EncodeAnswer(const InstanceAnswer& answer) {
    return (answer.done ? "1\n" : "0\n") + answer.text;
}

std::optional<InstanceAnswer> DecodeAnswer(const std::string& bytes) {
    std::vector<std::string> parts;
    if (!Split(bytes, 1, parts) || (parts[0] != "0" && parts[0] != "1"))
        return std::nullopt;
    return InstanceAnswer{parts[0] == "1", parts[1]};
}

bool ServeRequest(WPARAM wParam, LPARAM lParam,
                  const std::function<InstanceAnswer(const InstanceRequest&)>& answer) {
    const auto& data = *reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    if (data.dwData != RequestTag)
        return false;
    const std::optional<InstanceRequest> request = DecodeRequest(Bytes(data));
    const InstanceAnswer reply =
        request ? answer(*request) : InstanceAnswer{false, "the command could not be read."};
    Send(reinterpret_cast<HWND>(wParam), nullptr, AnswerTag, EncodeAnswer(reply));
    return true;
}

std::optional<int> SendToRunningInstance(const InstanceRequest& request) {
    HWND running = FindWindowW(ApplicationWindowClass, nullptr);
    if (!running) {
        if (request.kind == InstanceRequest::Show)
            return std::nullopt;
        return Refused("Padwright is not running.");
    }
    WNDCLASSW replyClass{};
    replyClass.lpfnWndProc = ReplyProc;
    replyClass.hInstance = GetModuleHandleW(nullptr);
    replyClass.lpszClassName = L"PadwrightReply";
    RegisterClassW(&replyClass);
    HWND reply = CreateWindowExW(0, replyClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                 nullptr, replyClass.hInstance, nullptr);
    // The running program may show its window in front for --show.
    AllowSetForegroundWindow(ASFW_ANY);
    received.reset();
    const bool delivered = Send(running, reply, RequestTag, EncodeRequest(request));
    DestroyWindow(reply);
    if (!delivered || !received)
        return Refused("the running Padwright did not answer.");
    if (!received->done)
        return Refused(received->text);
    std::fputs(received->text.c_str(), stdout);
    std::fflush(stdout);
    return 0;
}

} // namespace padwright::win
