#pragma once
// Sending sway a command over its IPC socket (i3's protocol: magic, length, type 0, payload)
// without waiting for its answer, so that a benchmark's clock starts as the command leaves.
#include <cstdint>
#include <cstring>
#include <string>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace padwright {

class SwayCommands {
public:
    explicit SwayCommands(const std::string& ipcSocket) {
        socket_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{AF_UNIX, {}};
        std::strncpy(address.sun_path, ipcSocket.c_str(), sizeof address.sun_path - 1);
        if (connect(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            close(socket_);
            socket_ = -1;
        }
    }
    ~SwayCommands() {
        if (socket_ >= 0)
            close(socket_);
    }
    SwayCommands(const SwayCommands&) = delete;
    SwayCommands& operator=(const SwayCommands&) = delete;

    bool Connected() const { return socket_ >= 0; }
    bool Send(const std::string& command) const {
        std::string message = "i3-ipc";
        const std::uint32_t head[2] = {static_cast<std::uint32_t>(command.size()), 0};
        message.append(reinterpret_cast<const char*>(head), sizeof head).append(command);
        return write(socket_, message.data(), message.size()) ==
               static_cast<ssize_t>(message.size());
    }

private:
    int socket_ = -1;
};

} // namespace padwright
