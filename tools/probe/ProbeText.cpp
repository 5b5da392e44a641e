#include "ProbeText.h"

#include <sstream>

namespace padwright::probe {

std::string ControllerBlock(const TJoystick& c) {
    std::ostringstream out;
    out << ControllerListText(c) << '\n';
    out << "GUID " << GuidToString(c.Guid) << '\n';
    out << "objects X=" << c.XCount << " Y=" << c.YCount << " Z=" << c.ZCount << " Rx=" << c.RxCount
        << " Ry=" << c.RyCount << " Rz=" << c.RzCount << " Slider=" << c.SliderCount
        << " POV=" << c.POVCount << " Button=" << c.ButtonCount << '\n';
    out << "povmax " << c.POVMax[0] << ' ' << c.POVMax[1] << ' ' << c.POVMax[2] << ' '
        << c.POVMax[3] << '\n';
    std::string names;
    auto add = [&](const std::string& name) {
        if (!names.empty())
            names += '|';
        names += name;
    };
    const std::pair<std::int32_t, const std::string*> axes[] = {
        {c.XCount, &c.XName},   {c.YCount, &c.YName},   {c.ZCount, &c.ZName},
        {c.RxCount, &c.RxName}, {c.RyCount, &c.RyName}, {c.RzCount, &c.RzName}};
    for (const auto& [count, name] : axes)
        if (count > 0)
            add(*name);
    for (int s = 0; s < c.SliderCount && s < MaxSliders; ++s)
        add(c.SliderNames[static_cast<std::size_t>(s)]);
    for (int h = 0; h < c.POVCount && h < MaxHats; ++h)
        add(c.POVNames[static_cast<std::size_t>(h)]);
    for (int b = 0; b < c.ButtonCount && b < MaxButtons; ++b)
        add(c.ButtonNames[static_cast<std::size_t>(b)]);
    out << "names " << names << '\n';
    return out.str();
}

std::string UnusedLine(const std::vector<std::string>& codes) {
    std::string line = "unused:";
    for (const std::string& code : codes)
        line += ' ' + code;
    return line + (codes.empty() ? " none\n" : "\n");
}

std::string HalfAxesLine(const std::vector<std::string>& restingAxes) {
    std::string line = "half axes:";
    for (std::size_t i = 0; i < restingAxes.size(); ++i)
        line += (i == 0 ? " " : ", ") + restingAxes[i];
    return line + (restingAxes.empty() ? " none\n" : "\n");
}

std::string AccessAdvice(const std::string& node, const std::string& name) {
    return node + " (" + name +
           ") is a game controller this user may not read.\n"
           "  At the local seat systemd gives the user of the session access to nodes tagged\n"
           "  \"uaccess\"; joysticks get that tag through ID_INPUT_JOYSTICK. For a device it does\n"
           "  not recognise, a udev rule such as\n"
           "    SUBSYSTEM==\"input\", KERNEL==\"event*\", ATTRS{name}==\"" +
           name +
           "\", TAG+=\"uaccess\"\n"
           "  in /etc/udev/rules.d/70-padwright.rules (then replug the device) adds it; or add "
           "the\n"
           "  user to the \"input\" group (sudo usermod -aG input $USER, then log in again),\n"
           "  which lets every program of the user read every input device, keyboards too.\n";
}

std::string StateLine(const TJoystick& c, const DIJOYSTATE2& s) {
    std::ostringstream out;
    out << "state x=" << s.lX << " y=" << s.lY << " z=" << s.lZ << " rx=" << s.lRx
        << " ry=" << s.lRy << " rz=" << s.lRz << " slider1=" << s.rglSlider[0]
        << " slider2=" << s.rglSlider[1];
    for (int h = 0; h < MaxHats; ++h) {
        out << " hat" << h + 1 << '=';
        if (s.rgdwPOV[h] == POV_CENTERED)
            out << 'c';
        else
            out << s.rgdwPOV[h];
    }
    out << " buttons=";
    bool first = true;
    for (int b = 0; b < c.ButtonCount && b < MaxButtons; ++b) {
        if ((s.rgbButtons[b] & 0x80) == 0)
            continue;
        out << (first ? "" : ",") << b + 1;
        first = false;
    }
    out << '\n';
    return out.str();
}

} // namespace padwright::probe
