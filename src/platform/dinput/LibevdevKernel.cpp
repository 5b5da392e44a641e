#include "platform/dinput/LibevdevKernel.h"

#include "platform/dinput/EvdevDirectInput.h"
#include "platform/dinput/NodeCloser.h"

#include <libevdev/libevdev.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace padwright {

namespace {

// The number of "eventN", or -1 for any other name.
long EventNumber(const std::string& name) {
    if (name.rfind("event", 0) != 0 || name.size() == 5)
        return -1;
    long n = 0;
    for (std::size_t i = 5; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9' || n > LONG_MAX / 10)
            return -1;
        n = n * 10 + (name[i] - '0');
    }
    return n;
}

std::string BaseName(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

template <std::size_t N> void ReadCodes(libevdev* dev, unsigned type, std::bitset<N>& bits) {
    for (unsigned code = 0; code < N; ++code)
        if (libevdev_has_event_code(dev, type, code))
            bits.set(code);
}

EvdevDescription Describe(libevdev* dev) {
    EvdevDescription d;
    auto text = [](const char* s) { return std::string(s ? s : ""); };
    d.name = text(libevdev_get_name(dev));
    d.uniq = text(libevdev_get_uniq(dev));
    d.phys = text(libevdev_get_phys(dev));
    d.bus = static_cast<std::uint16_t>(libevdev_get_id_bustype(dev));
    d.vendor = static_cast<std::uint16_t>(libevdev_get_id_vendor(dev));
    d.product = static_cast<std::uint16_t>(libevdev_get_id_product(dev));
    d.version = static_cast<std::uint16_t>(libevdev_get_id_version(dev));
    for (unsigned p = 0; p < INPUT_PROP_CNT; ++p)
        if (libevdev_has_property(dev, p))
            d.properties.set(p);
    for (unsigned t = 0; t < EV_CNT; ++t)
        if (libevdev_has_event_type(dev, t))
            d.types.set(t);
    ReadCodes(dev, EV_KEY, d.keys);
    ReadCodes(dev, EV_ABS, d.abs);
    ReadCodes(dev, EV_REL, d.rel);
    for (unsigned code = 0; code < ABS_CNT; ++code) {
        const input_absinfo* info = d.abs.test(code) ? libevdev_get_abs_info(dev, code) : nullptr;
        if (info != nullptr)
            d.absinfo[code] = {info->value, info->minimum, info->maximum,
                               info->fuzz,  info->flat,    info->resolution};
    }
    for (unsigned code = 0; code < KEY_CNT; ++code)
        if (d.keys.test(code) && libevdev_get_event_value(dev, EV_KEY, code))
            d.keysDown.set(code);
    return d;
}

class LibevdevNode final : public IEvdevNode {
public:
    LibevdevNode(int fd, libevdev* dev) : fd_(fd), dev_(dev), description_(Describe(dev)) {}
    ~LibevdevNode() override {
        libevdev_free(dev_);
        CloseEventNode(fd_);
    }
    LibevdevNode(const LibevdevNode&) = delete;
    LibevdevNode& operator=(const LibevdevNode&) = delete;

    const EvdevDescription& Description() const override { return description_; }
    // The kernel's event node polls readable while events are queued and reports
    // POLLHUP | POLLERR once the device is gone.
    WaitHandle Signal() const override { return fd_; }

    ReadStatus Next(EvdevEvent& event) override {
        input_event ev;
        // After the kernel dropped events, libevdev hands out the differences to the real
        // state in sync mode until they are all read.
        const unsigned flags = syncing_ ? LIBEVDEV_READ_FLAG_SYNC : LIBEVDEV_READ_FLAG_NORMAL;
        const int rc = libevdev_next_event(dev_, flags, &ev);
        if (rc == LIBEVDEV_READ_STATUS_SYNC) {
            syncing_ = true;
        } else if (rc == -EAGAIN) {
            if (!syncing_)
                return ReadStatus::Empty;
            syncing_ = false;
            return Next(event);
        } else if (rc != LIBEVDEV_READ_STATUS_SUCCESS) {
            return ReadStatus::Gone; // ENODEV after unplugging, or a read error
        }
        event = {ev.type, ev.code, ev.value};
        return ReadStatus::Event;
    }

private:
    int fd_;
    libevdev* dev_;
    EvdevDescription description_;
    bool syncing_ = false;
};

bool ReadLine(const std::string& path, std::string& out) {
    std::ifstream in(path);
    if (!in || !std::getline(in, out))
        return false;
    return true;
}

std::uint16_t ReadHexId(const std::string& path) {
    std::string text;
    return ReadLine(path, text)
               ? static_cast<std::uint16_t>(std::strtoul(text.c_str(), nullptr, 16))
               : 0;
}

// sysfs bitmaps are words of the kernel's long, most significant first, separated by blanks.
template <std::size_t N> void ReadBitmap(const std::string& path, std::bitset<N>& bits) {
    std::string text;
    if (!ReadLine(path, text))
        return;
    std::istringstream words(text);
    std::vector<std::string> list;
    for (std::string w; words >> w;)
        list.push_back(w);
    constexpr std::size_t WordBits = sizeof(unsigned long) * 8;
    std::size_t base = 0;
    for (auto it = list.rbegin(); it != list.rend(); ++it, base += WordBits) {
        const unsigned long word = std::strtoul(it->c_str(), nullptr, 16);
        for (std::size_t bit = 0; bit < WordBits; ++bit)
            if ((word >> bit) & 1UL && base + bit < N)
                bits.set(base + bit);
    }
}

} // namespace

LibevdevKernel::LibevdevKernel(std::string inputDir, std::string sysfsDir)
    : inputDir_(std::move(inputDir)), sysfsDir_(std::move(sysfsDir)) {}

bool LibevdevKernel::ListNodes(std::vector<std::string>& nodes) {
    nodes.clear();
    DIR* dir = opendir(inputDir_.c_str());
    if (dir == nullptr)
        return false;
    std::vector<std::pair<long, std::string>> found;
    while (const dirent* entry = readdir(dir)) {
        const long n = EventNumber(entry->d_name);
        if (n >= 0)
            found.emplace_back(n, inputDir_ + "/" + entry->d_name);
    }
    closedir(dir);
    std::sort(found.begin(), found.end());
    for (auto& f : found)
        nodes.push_back(std::move(f.second));
    return true;
}

int LibevdevKernel::Open(const std::string& node, std::unique_ptr<IEvdevNode>& out) {
    const int fd = open(node.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno;
    libevdev* dev = nullptr;
    const int rc = libevdev_new_from_fd(fd, &dev);
    if (rc < 0) {
        CloseEventNode(fd);
        return -rc;
    }
    out = std::make_unique<LibevdevNode>(fd, dev);
    return 0;
}

bool LibevdevKernel::Peek(const std::string& node, EvdevDescription& d) {
    const std::string device = sysfsDir_ + "/" + BaseName(node) + "/device";
    if (!ReadLine(device + "/name", d.name))
        return false;
    ReadLine(device + "/uniq", d.uniq);
    ReadLine(device + "/phys", d.phys);
    d.bus = ReadHexId(device + "/id/bustype");
    d.vendor = ReadHexId(device + "/id/vendor");
    d.product = ReadHexId(device + "/id/product");
    d.version = ReadHexId(device + "/id/version");
    ReadBitmap(device + "/properties", d.properties);
    ReadBitmap(device + "/capabilities/ev", d.types);
    ReadBitmap(device + "/capabilities/key", d.keys);
    ReadBitmap(device + "/capabilities/abs", d.abs);
    ReadBitmap(device + "/capabilities/rel", d.rel);
    return true;
}

bool LibevdevKernel::Stamp(const std::string& node, NodeStamp& out) {
    struct stat s;
    if (stat(node.c_str(), &s) != 0)
        return false;
    out = {static_cast<std::uint64_t>(s.st_rdev), static_cast<std::uint64_t>(s.st_ino),
           static_cast<std::int64_t>(s.st_ctim.tv_sec),
           static_cast<std::int64_t>(s.st_ctim.tv_nsec)};
    return true;
}

HRESULT DirectInput8Create(std::shared_ptr<IDirectInput8>& out) {
    return CreateEvdevDirectInput(out, nullptr);
}

HRESULT CreateEvdevDirectInput(std::shared_ptr<IDirectInput8>& out,
                               std::shared_ptr<JoystickIdTable> ids) {
    // What the nodes told is kept for the whole process: each check after plugging makes a
    // new object, and would otherwise open every node again.
    static const auto memory = std::make_shared<NodeMemory>();
    out = std::make_shared<EvdevDirectInput>(std::make_shared<LibevdevKernel>(), std::move(ids),
                                             memory);
    return DI_OK;
}

} // namespace padwright
