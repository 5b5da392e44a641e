#include "UhidDevice.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <stdexcept>

#include <fcntl.h>
#include <linux/uhid.h>
#include <poll.h>
#include <unistd.h>

namespace padwright::vm {

namespace {

std::string Hex(const std::uint8_t* data, std::size_t size) {
    std::string out;
    char b[4];
    for (std::size_t i = 0; i < size; ++i) {
        std::snprintf(b, sizeof b, i ? " %02x" : "%02x", data[i]);
        out += b;
    }
    return out;
}

// What a Pro Controller's flash holds where the driver looks: no user calibration (0xFF), a
// factory stick calibration centred at 2048 with 1500 of travel each way, and a neutral IMU
// calibration. Without plausible values the driver would divide by zero.
std::uint8_t ProControllerFlash(std::uint32_t address) {
    static const std::uint8_t sticks[18] = {
        // left: above centre, centre, below centre; right: centre, below, above (12-bit pairs)
        0xdc, 0xc5, 0x5d, 0x00, 0x08, 0x80, 0xdc, 0xc5, 0x5d,
        0x00, 0x08, 0x80, 0xdc, 0xc5, 0x5d, 0xdc, 0xc5, 0x5d};
    static const std::uint8_t imu[24] = {0, 0, 0, 0, 0, 0, 0x00, 0x40, 0x00, 0x40, 0x00, 0x40,
                                         0, 0, 0, 0, 0, 0, 0x3b, 0x34, 0x3b, 0x34, 0x3b, 0x34};
    if (address >= 0x603D && address < 0x603D + sizeof sticks)
        return sticks[address - 0x603D];
    if (address >= 0x6020 && address < 0x6020 + sizeof imu)
        return imu[address - 0x6020];
    return 0xFF;
}

} // namespace

UhidDevice::UhidDevice(HidDescription description) : d_(std::move(description)) {
    fd_ = open("/dev/uhid", O_RDWR | O_CLOEXEC);
    if (fd_ < 0)
        throw std::runtime_error(std::string("/dev/uhid: ") + std::strerror(errno));
    uhid_event ev{};
    ev.type = UHID_CREATE2;
    std::snprintf(reinterpret_cast<char*>(ev.u.create2.name), sizeof ev.u.create2.name, "%s",
                  d_.name.c_str());
    std::snprintf(reinterpret_cast<char*>(ev.u.create2.phys), sizeof ev.u.create2.phys, "uhid/%s",
                  d_.file.c_str());
    if (d_.descriptor.size() > sizeof ev.u.create2.rd_data)
        throw std::runtime_error(d_.file + ": descriptor too long");
    ev.u.create2.rd_size = static_cast<__u16>(d_.descriptor.size());
    ev.u.create2.bus = d_.bus;
    ev.u.create2.vendor = d_.vendor;
    ev.u.create2.product = d_.product;
    ev.u.create2.version = d_.version;
    std::memcpy(ev.u.create2.rd_data, d_.descriptor.data(), d_.descriptor.size());
    if (write(fd_, &ev, sizeof ev) != static_cast<ssize_t>(sizeof ev)) {
        const std::string reason = std::strerror(errno);
        close(fd_);
        throw std::runtime_error(d_.file + ": UHID_CREATE2: " + reason);
    }
    thread_ = std::thread([this] { Serve(); });
}

UhidDevice::~UhidDevice() {
    stop_ = true;
    thread_.join();
    uhid_event ev{};
    ev.type = UHID_DESTROY;
    (void)!write(fd_, &ev, sizeof ev);
    close(fd_);
}

void UhidDevice::Note(const std::string& line) {
    std::lock_guard lock(mutex_);
    transcript_ += line + '\n';
}

std::string UhidDevice::Transcript() const {
    std::lock_guard lock(mutex_);
    return transcript_;
}

void UhidDevice::Send(const std::vector<std::uint8_t>& report) {
    uhid_event ev{};
    ev.type = UHID_INPUT2;
    ev.u.input2.size = static_cast<__u16>(std::min(report.size(), sizeof ev.u.input2.data));
    std::memcpy(ev.u.input2.data, report.data(), ev.u.input2.size);
    if (write(fd_, &ev, sizeof ev) != static_cast<ssize_t>(sizeof ev))
        Note(std::string("input write failed: ") + std::strerror(errno));
}

void UhidDevice::SendInput() {
    if (!d_.input.empty())
        Send(d_.input);
}

// The Nintendo driver's handshake: USB commands (0x80 nn) are echoed as 0x81 nn; subcommands
// (report 0x01, id at byte 10) get a 0x21 reply with the acknowledgement at byte 13, the id at
// 14, and for a flash read (0x10) the address, size and bytes asked for.
void UhidDevice::Answer(const std::vector<std::uint8_t>& out) {
    if (d_.responder != "nintendo" || out.empty())
        return;
    std::vector<std::uint8_t> reply(64, 0);
    if (out[0] == 0x80 && out.size() >= 2) {
        reply[0] = 0x81;
        reply[1] = out[1];
        Send(reply);
        return;
    }
    if (out[0] != 0x01 || out.size() < 11)
        return;
    const std::uint8_t id = out[10];
    reply[0] = 0x21;
    reply[1] = timer_++;
    reply[2] = 0x8E; // battery full, powered
    const std::uint8_t centred[3] = {0x00, 0x08, 0x80};
    std::copy(centred, centred + 3, reply.begin() + 6);
    std::copy(centred, centred + 3, reply.begin() + 9);
    reply[13] = 0x80;
    reply[14] = id;
    if (id == 0x02) { // device information: firmware, type Pro Controller, MAC address
        reply[13] = 0x82;
        const std::uint8_t info[12] = {0x03, 0x48, 0x03, 0x02, 0x98, 0xB6,
                                       0xE9, 0x12, 0x34, 0x56, 0x01, 0x01};
        std::copy(info, info + 12, reply.begin() + 15);
    } else if (id == 0x10 && out.size() >= 16) { // flash read
        reply[13] = 0x90;
        std::copy(out.begin() + 11, out.begin() + 16, reply.begin() + 15);
        const std::uint32_t address =
            out[11] | out[12] << 8 | out[13] << 16 | static_cast<std::uint32_t>(out[14]) << 24;
        const std::size_t size = std::min<std::size_t>(out[15], reply.size() - 20);
        for (std::size_t i = 0; i < size; ++i)
            reply[20 + i] = ProControllerFlash(address + static_cast<std::uint32_t>(i));
    }
    Send(reply);
}

void UhidDevice::Serve() {
    while (!stop_) {
        pollfd p{fd_, POLLIN, 0};
        if (poll(&p, 1, 50) <= 0)
            continue;
        uhid_event ev{};
        if (read(fd_, &ev, sizeof ev) <= 0)
            continue;
        switch (ev.type) {
        case UHID_OPEN:
            Note("open");
            break;
        case UHID_GET_REPORT: {
            uhid_event reply{};
            reply.type = UHID_GET_REPORT_REPLY;
            reply.u.get_report_reply.id = ev.u.get_report.id;
            const auto found = d_.features.find(ev.u.get_report.rnum);
            if (found == d_.features.end()) {
                reply.u.get_report_reply.err = EIO;
                Note("feature " + Hex(&ev.u.get_report.rnum, 1) + " asked, none known");
            } else {
                reply.u.get_report_reply.size = static_cast<__u16>(found->second.size());
                std::memcpy(reply.u.get_report_reply.data, found->second.data(),
                            found->second.size());
                Note("feature " + Hex(&ev.u.get_report.rnum, 1) + " answered");
            }
            (void)!write(fd_, &reply, sizeof reply);
            break;
        }
        case UHID_SET_REPORT: {
            uhid_event reply{};
            reply.type = UHID_SET_REPORT_REPLY;
            reply.u.set_report_reply.id = ev.u.set_report.id;
            (void)!write(fd_, &reply, sizeof reply);
            break;
        }
        case UHID_OUTPUT: {
            const std::vector<std::uint8_t> out(ev.u.output.data,
                                                ev.u.output.data + ev.u.output.size);
            Note("output " + Hex(out.data(), std::min<std::size_t>(out.size(), 16)));
            Answer(out);
            break;
        }
        default:
            break;
        }
    }
}

std::vector<std::string> UhidDevice::Nodes() const {
    // The HID device is named BUS:VENDOR:PRODUCT.N under the uhid misc device.
    char prefix[32];
    std::snprintf(prefix, sizeof prefix, "%04X:%04X:%04X.", d_.bus, d_.vendor & 0xFFFF,
                  d_.product & 0xFFFF);
    std::vector<std::string> nodes;
    namespace fs = std::filesystem;
    std::error_code ec;
    for (const auto& hid : fs::directory_iterator("/sys/devices/virtual/misc/uhid", ec)) {
        if (hid.path().filename().string().rfind(prefix, 0) != 0)
            continue;
        for (const auto& input : fs::directory_iterator(hid.path() / "input", ec))
            for (const auto& entry : fs::directory_iterator(input.path(), ec)) {
                const std::string name = entry.path().filename().string();
                if (name.rfind("event", 0) == 0)
                    nodes.push_back("/dev/input/" + name);
            }
    }
    std::sort(nodes.begin(), nodes.end());
    return nodes;
}

} // namespace padwright::vm
