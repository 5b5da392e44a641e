#include "Script.h"

#include <charconv>

namespace padwright::replay {

namespace {

std::vector<std::string_view> Words(std::string_view line) {
    if (const auto hash = line.find('#'); hash != std::string_view::npos)
        line = line.substr(0, hash);
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r'))
            ++i;
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r')
            ++i;
        if (i > start)
            words.push_back(line.substr(start, i - start));
    }
    return words;
}

template <typename T> T Number(std::string_view text, std::string_view what, int base = 10) {
    T value{};
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value, base);
    if (text.empty() || ec != std::errc() || ptr != end)
        throw ScriptError("bad " + std::string(what) + " \"" + std::string(text) + "\"");
    return value;
}

std::int32_t Int(std::string_view text, std::string_view what) {
    return Number<std::int32_t>(text, what);
}

int Positive(std::string_view text, std::string_view what) {
    const int value = Int(text, what);
    if (value < 1)
        throw ScriptError("bad " + std::string(what) + " \"" + std::string(text) + "\"");
    return value;
}

int Count(std::string_view text, std::string_view what) {
    const int value = Int(text, what);
    if (value < 0)
        throw ScriptError("bad " + std::string(what) + " \"" + std::string(text) + "\"");
    return value;
}

bool Flag(std::string_view text, std::string_view what) {
    if (text == "0")
        return false;
    if (text == "1")
        return true;
    throw ScriptError(std::string(what) + " must be 0 or 1");
}

std::vector<std::string_view> List(std::string_view text) {
    std::vector<std::string_view> items;
    if (text.empty())
        return items;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        items.push_back(text.substr(start, comma - start));
        if (comma == std::string_view::npos)
            return items;
        start = comma + 1;
    }
}

std::pair<std::string_view, std::string_view> NameValue(std::string_view word) {
    const std::size_t eq = word.find('=');
    if (eq == std::string_view::npos || eq == 0)
        throw ScriptError("expected NAME=VALUE, got \"" + std::string(word) + "\"");
    return {word.substr(0, eq), word.substr(eq + 1)};
}

void ExpectWords(const std::vector<std::string_view>& words, std::size_t min, std::size_t max) {
    if (words.size() < min || words.size() > max)
        throw ScriptError("wrong number of words for \"" + std::string(words[0]) + "\"");
}

AddController ParseController(const std::vector<std::string_view>& words) {
    AddController c;
    bool haveProfile = false;
    for (std::size_t i = 1; i < words.size(); ++i) {
        const auto [name, value] = NameValue(words[i]);
        if (name == "profile") {
            c.profile = Int(value, "profile");
            haveProfile = true;
        } else if (name == "threshold") {
            c.threshold = Int(value, "threshold");
        } else if (name == "repeatkeys") {
            c.repeatKeys = Flag(value, "repeatkeys");
        } else if (name == "sliders") {
            c.sliders = Int(value, "sliders");
        } else if (name == "hats") {
            c.hats = Int(value, "hats");
        } else if (name == "buttons") {
            c.buttons = Int(value, "buttons");
        } else if (name == "acquired") {
            c.acquired = Flag(value, "acquired");
        } else if (name == "povmax") {
            const auto items = List(value);
            if (items.size() != c.povMax.size())
                throw ScriptError("povmax needs four values");
            for (std::size_t h = 0; h < items.size(); ++h)
                c.povMax[h] = Int(items[h], "povmax");
        } else {
            throw ScriptError("unknown controller setting \"" + std::string(name) + "\"");
        }
    }
    if (!haveProfile)
        throw ScriptError("controller needs profile=P");
    return c;
}

SetState ParseSet(const std::vector<std::string_view>& words) {
    static constexpr std::string_view AxisNames[8] = {"x",  "y",  "z",       "rx",
                                                      "ry", "rz", "slider1", "slider2"};
    static constexpr std::string_view HatNames[4] = {"hat1", "hat2", "hat3", "hat4"};
    if (words.size() < 2)
        throw ScriptError("set needs a controller");
    SetState s;
    s.controller = Positive(words[1], "controller");
    for (std::size_t i = 2; i < words.size(); ++i) {
        const auto [name, value] = NameValue(words[i]);
        bool known = false;
        for (std::size_t a = 0; a < 8; ++a)
            if (name == AxisNames[a]) {
                s.axes[a] = Int(value, name);
                known = true;
            }
        for (std::size_t h = 0; h < 4; ++h)
            if (name == HatNames[h]) {
                s.hats[h] = value == "c" ? POV_CENTERED : Number<DWORD>(value, name);
                known = true;
            }
        if (name == "buttons") {
            std::vector<int> down;
            for (std::string_view item : List(value))
                down.push_back(Positive(item, "button"));
            s.buttonsDown = std::move(down);
            known = true;
        }
        if (!known)
            throw ScriptError("unknown state value \"" + std::string(name) + "\"");
    }
    return s;
}

Fail ParseFail(const std::vector<std::string_view>& words) {
    ExpectWords(words, 4, 4);
    Fail f;
    f.controller = Positive(words[1], "controller");
    if (words[2] == "poll")
        f.poll = true;
    else if (words[2] == "state")
        f.poll = false;
    else
        throw ScriptError("fail needs poll or state");
    std::string_view code = words[3];
    if (code.starts_with("0x") || code.starts_with("0X"))
        code.remove_prefix(2);
    f.code = static_cast<HRESULT>(Number<std::uint32_t>(code, "code", 16));
    return f;
}

Map ParseMap(const std::vector<std::string_view>& words) {
    if (words.size() < 4)
        throw ScriptError("map needs a profile, a slot and a function");
    Map m;
    m.profile = Positive(words[1], "profile");
    m.slot = Count(words[2], "slot");
    m.function = words[3];
    for (std::size_t i = 4; i < words.size(); ++i) {
        if (words[i] == "ctrl")
            m.ctrl = true;
        else if (words[i] == "alt")
            m.alt = true;
        else if (words[i] == "shift")
            m.shift = true;
        else if (words[i] == "win")
            m.win = true;
        else if (words[i].starts_with("rate="))
            m.rate = Int(words[i].substr(5), "rate");
        else
            throw ScriptError("unknown map option \"" + std::string(words[i]) + "\"");
    }
    return m;
}

} // namespace

Command ParseLine(std::string_view line) {
    const std::vector<std::string_view> words = Words(line);
    if (words.empty())
        return std::monostate{};
    const std::string_view verb = words[0];
    if (verb == "controller")
        return ParseController(words);
    if (verb == "set")
        return ParseSet(words);
    if (verb == "fail")
        return ParseFail(words);
    if (verb == "cycle" || verb == "tick") {
        ExpectWords(words, 1, 2);
        const int n = words.size() == 2 ? Count(words[1], "count") : 1;
        if (verb == "cycle")
            return Cycle{n};
        return Tick{n};
    }
    if (verb == "show") {
        ExpectWords(words, 3, 3);
        return Show{Positive(words[1], "profile"), Count(words[2], "slot")};
    }
    if (verb == "profile") {
        ExpectWords(words, 1, 2);
        return NewProfile{std::string(words.size() == 2 ? words[1] : "")};
    }
    if (verb == "map")
        return ParseMap(words);
    throw ScriptError("unknown command \"" + std::string(verb) + "\"");
}

} // namespace padwright::replay
