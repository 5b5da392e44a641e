// Every real-device description becomes a kernel device through uinput; the kernel's evdev node
// must then report the description back, and deliver the recorded events.
#include "EvemuFile.h"
#include "KernelDevice.h"

#include <gtest/gtest.h>
#include <libevdev/libevdev.h>

#include <algorithm>
#include <fcntl.h>
#include <map>
#include <memory>
#include <unistd.h>

namespace padwright::vm {
namespace {

std::vector<std::filesystem::path> Fixtures() {
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(PADWRIGHT_DEVICES_DIR, ec))
        if (entry.path().extension() == ".evemu")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

struct Node {
    int fd = -1;
    libevdev* dev = nullptr;
    explicit Node(const std::string& path) {
        fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0 && libevdev_new_from_fd(fd, &dev) != 0)
            dev = nullptr;
    }
    ~Node() {
        libevdev_free(dev);
        if (fd >= 0)
            close(fd);
    }
};

// What evdev readers see when the events are written: the kernel drops events that change no
// state, smooths small axis moves by the axis' fuzz, and drops frames left empty.
struct KernelModel {
    std::bitset<KEY_CNT> keys;
    std::map<unsigned, int> abs;
    std::vector<EvemuEvent> delivered;
    std::size_t frameStart = 0;

    static int Defuzz(int value, int old, int fuzz) {
        if (fuzz) {
            if (value > old - fuzz / 2 && value < old + fuzz / 2)
                return old;
            if (value > old - fuzz && value < old + fuzz)
                return (old * 3 + value) / 4;
            if (value > old - fuzz * 2 && value < old + fuzz * 2)
                return (old + value) / 2;
        }
        return value;
    }

    void Feed(const EvemuFile& d, EvemuEvent e) {
        if (e.type >= EV_CNT || !d.codes[e.type].test(e.code))
            return; // the kernel ignores codes the device never declared
        switch (e.type) {
        case EV_SYN:
            if (e.code == SYN_REPORT && delivered.size() > frameStart) {
                delivered.push_back(e);
                frameStart = delivered.size();
            }
            return;
        case EV_KEY:
            if (keys.test(e.code) == (e.value != 0) && e.value != 2)
                return;
            keys.set(e.code, e.value != 0);
            break;
        case EV_ABS: {
            e.value = Defuzz(e.value, abs[e.code], d.absinfo[e.code].fuzz);
            if (e.value == abs[e.code])
                return;
            abs[e.code] = e.value;
            break;
        }
        default:
            break;
        }
        delivered.push_back(e);
    }
};

class UinputDevice : public testing::TestWithParam<std::filesystem::path> {};

TEST(UinputDevices, FixturesArePresent) {
    EXPECT_FALSE(Fixtures().empty());
}

TEST_P(UinputDevice, NodeReportsTheDescription) {
    const EvemuFile d = ReadEvemuFile(GetParam());
    KernelDevice device(d);
    Node node(device.Node());
    ASSERT_NE(node.dev, nullptr) << device.Node();

    EXPECT_EQ(libevdev_get_name(node.dev), d.name);
    EXPECT_EQ(libevdev_get_id_bustype(node.dev), d.bus);
    EXPECT_EQ(libevdev_get_id_vendor(node.dev), d.vendor);
    EXPECT_EQ(libevdev_get_id_product(node.dev), d.product);
    EXPECT_EQ(libevdev_get_id_version(node.dev), d.version);
    for (unsigned p = 0; p < INPUT_PROP_CNT; ++p)
        EXPECT_EQ(libevdev_has_property(node.dev, p) == 1, d.properties.test(p)) << "prop " << p;
    for (unsigned type : {EV_KEY, EV_REL, EV_ABS, EV_MSC, EV_SW, EV_LED, EV_SND, EV_FF}) {
        for (unsigned code = 0; code < KEY_CNT; ++code)
            EXPECT_EQ(libevdev_has_event_code(node.dev, type, code) == 1, d.codes[type].test(code))
                << "type " << type << " code " << code;
    }
    for (unsigned code = 0; code < ABS_CNT; ++code) {
        if (!d.codes[EV_ABS].test(code))
            continue;
        const input_absinfo* got = libevdev_get_abs_info(node.dev, code);
        ASSERT_NE(got, nullptr);
        const input_absinfo& want = d.absinfo[code];
        EXPECT_EQ(got->minimum, want.minimum) << "abs " << code;
        EXPECT_EQ(got->maximum, want.maximum) << "abs " << code;
        EXPECT_EQ(got->fuzz, want.fuzz) << "abs " << code;
        EXPECT_EQ(got->flat, want.flat) << "abs " << code;
        EXPECT_EQ(got->resolution, want.resolution) << "abs " << code;
    }
}

TEST_P(UinputDevice, RecordedEventsArriveAndSetTheState) {
    const EvemuFile d = ReadEvemuFile(GetParam());
    KernelDevice device(d);
    Node reader(device.Node());
    ASSERT_GE(reader.fd, 0) << device.Node();

    device.Write(d.events);
    KernelModel model;
    for (const EvemuEvent& e : d.events)
        model.Feed(d, e);

    std::vector<EvemuEvent> got;
    input_event ev;
    while (read(reader.fd, &ev, sizeof ev) == sizeof ev)
        got.push_back({ev.type, ev.code, ev.value});
    ASSERT_EQ(got.size(), model.delivered.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].type, model.delivered[i].type) << "event " << i;
        EXPECT_EQ(got[i].code, model.delivered[i].code) << "event " << i;
        EXPECT_EQ(got[i].value, model.delivered[i].value) << "event " << i;
    }

    // A reader that opens the node afterwards sees the final state without any events.
    Node late(device.Node());
    ASSERT_NE(late.dev, nullptr);
    for (unsigned code = 0; code < KEY_CNT; ++code) {
        if (d.codes[EV_KEY].test(code)) {
            EXPECT_EQ(libevdev_get_event_value(late.dev, EV_KEY, code), model.keys.test(code))
                << "key " << code;
        }
    }
    for (unsigned code = 0; code < ABS_CNT; ++code) {
        if (d.codes[EV_ABS].test(code)) {
            EXPECT_EQ(libevdev_get_event_value(late.dev, EV_ABS, code), model.abs[code])
                << "abs " << code;
        }
    }
}

std::string FileName(const testing::TestParamInfo<std::filesystem::path>& info) {
    std::string name = info.param.stem().string();
    std::replace_if(
        name.begin(), name.end(), [](char c) { return !std::isalnum(c); }, '_');
    return name;
}

INSTANTIATE_TEST_SUITE_P(Fixtures, UinputDevice, testing::ValuesIn(Fixtures()), FileName);

} // namespace
} // namespace padwright::vm
