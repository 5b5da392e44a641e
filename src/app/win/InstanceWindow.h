#pragma once
// The commands for the running instance (--status, --profile, --start, --stop, --show) on
// Windows: the running program's hidden application window takes them as WM_COPYDATA, and
// answers the same way to a message-only window of the sender.
#include "core/CommandLine.h"
#include "core/InstanceCommands.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace padwright::win {

// The class of the running program's application window, by which a command finds it.
inline constexpr const wchar_t* ApplicationWindowClass = L"PadwrightApplication";

// A request or an answer as the bytes WM_COPYDATA carries, and back; nullopt for bytes that are
// none.
std::string EncodeRequest(const InstanceRequest& request);
std::optional<InstanceRequest> DecodeRequest(const std::string& bytes);
std::string EncodeAnswer(const InstanceAnswer& answer);
std::optional<InstanceAnswer> DecodeAnswer(const std::string& bytes);

// The running program's side: answers a WM_COPYDATA that carries a request (the window
// procedure's wParam and lParam) with `answer`; false for any other WM_COPYDATA.
bool ServeRequest(WPARAM wParam, LPARAM lParam,
                  const std::function<InstanceAnswer(const InstanceRequest&)>& answer);

// The sender's side: the exit code once the running instance has answered (its status printed
// on standard output, a refusal on standard error), 1 when none runs; nothing for --show with
// none running, which is to start the program instead.
std::optional<int> SendToRunningInstance(const InstanceRequest& request);

} // namespace padwright::win
