#include "platform/dinput/EvemuParser.h"

#include <array>
#include <charconv>
#include <fstream>
#include <optional>
#include <sstream>
#include <string_view>

namespace padwright {

namespace {

std::string Where(const std::string& file, int line) {
    return line > 0 ? file + ":" + std::to_string(line) : file;
}

std::vector<std::string_view> Fields(std::string_view text) {
    std::vector<std::string_view> fields;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
            ++i;
        const std::size_t start = i;
        while (i < text.size() && text[i] != ' ' && text[i] != '\t')
            ++i;
        if (i > start)
            fields.push_back(text.substr(start, i - start));
    }
    return fields;
}

// Built by appending: GCC 12 warns falsely about "literal" + std::string&& at -O2.
std::string Quoted(std::string_view text) {
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted += '"';
    quoted += text;
    quoted += '"';
    return quoted;
}

template <typename T> std::optional<T> Number(std::string_view text, int base) {
    T value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

class Parser {
public:
    Parser(const std::string& file) : file_(file) {}

    EvemuDevice Run(std::istream& in) {
        std::string line;
        while (std::getline(in, line)) {
            ++lineNo_;
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            Line(line);
        }
        if (!sawHeader_)
            Fail("not a device description (no \"# EVEMU\" first line)");
        if (!sawName_)
            Fail("no N: line naming the device");
        if (!sawIds_)
            Fail("no I: line with the device ids");
        FillStartValues();
        return std::move(device_);
    }

private:
    [[noreturn]] void Fail(const std::string& problem) const {
        throw EvemuError(file_, lineNo_, problem);
    }

    void Line(std::string_view line) {
        if (!sawHeader_) {
            if (line.empty())
                return;
            if (line.substr(0, 8) != "# EVEMU ")
                Fail("not a device description (no \"# EVEMU\" first line)");
            sawHeader_ = true;
            return;
        }
        if (line.empty())
            return;
        if (line[0] == '#') {
            Comment(line);
            return;
        }
        if (line.size() < 2 || line[1] != ':')
            Fail("unreadable line: \"" + std::string(line) + "\"");
        const std::string_view rest = line.size() > 2 ? line.substr(line[2] == ' ' ? 3 : 2) : "";
        switch (line[0]) {
        case 'N':
            device_.description.name = std::string(rest); // blanks are part of real names
            sawName_ = true;
            break;
        case 'I':
            Ids(rest);
            break;
        case 'P':
            Bits(device_.description.properties, propBytes_, Bytes(Fields(rest)));
            break;
        case 'B':
            Capabilities(Fields(rest));
            break;
        case 'A':
            Axis(Fields(rest));
            break;
        case 'E':
            Event(Fields(rest));
            break;
        case 'L': // LED and switch states: nothing a controller needs
        case 'S':
            break;
        default:
            Fail("unknown line type '" + std::string(1, line[0]) + ":'");
        }
    }

    // evemu-describe lists every capability in comments; the "Value" under an axis code is the
    // axis position at the time of description.
    void Comment(std::string_view line) {
        const auto f = Fields(line.substr(1));
        if (f.size() >= 3 && f[0] == "Event" && f[1] == "type") {
            commentType_ = Number<int>(f[2], 10).value_or(-1);
        } else if (f.size() >= 3 && f[0] == "Event" && f[1] == "code") {
            commentCode_ = Number<int>(f[2], 10).value_or(-1);
        } else if (f.size() == 2 && f[0] == "Value" && commentType_ == EV_ABS &&
                   commentCode_ >= 0 && commentCode_ < ABS_CNT) {
            if (const auto v = Number<std::int32_t>(f[1], 10))
                startValues_[static_cast<std::size_t>(commentCode_)] = *v;
        }
    }

    void Ids(std::string_view rest) {
        const auto f = Fields(rest);
        if (f.size() != 4)
            Fail("I: needs bus, vendor, product and version");
        std::uint16_t ids[4];
        for (int i = 0; i < 4; ++i) {
            const auto v = Number<std::uint16_t>(f[static_cast<std::size_t>(i)], 16);
            if (!v)
                Fail("I: value \"" + std::string(f[static_cast<std::size_t>(i)]) +
                     "\" is not a hexadecimal number");
            ids[i] = *v;
        }
        auto& d = device_.description;
        d.bus = ids[0];
        d.vendor = ids[1];
        d.product = ids[2];
        d.version = ids[3];
        sawIds_ = true;
    }

    std::vector<std::uint8_t> Bytes(const std::vector<std::string_view>& fields) const {
        std::vector<std::uint8_t> bytes;
        for (std::string_view f : fields) {
            const auto v = Number<std::uint8_t>(f, 16);
            if (!v || f.size() > 2)
                Fail(Quoted(f) + " is not a hexadecimal byte");
            bytes.push_back(*v);
        }
        return bytes;
    }

    // Successive lines of one bitmap continue where the previous one stopped.
    template <std::size_t N>
    void Bits(std::bitset<N>& bits, std::size_t& offset, const std::vector<std::uint8_t>& bytes) {
        for (std::uint8_t byte : bytes) {
            for (int bit = 0; bit < 8; ++bit) {
                if (!(byte & (1u << bit)))
                    continue;
                const std::size_t index = offset * 8 + static_cast<std::size_t>(bit);
                if (index >= N)
                    Fail("bit " + std::to_string(index) + " is beyond the kernel's codes");
                bits.set(index);
            }
            ++offset;
        }
    }

    void Capabilities(const std::vector<std::string_view>& fields) {
        if (fields.empty())
            Fail("B: needs an event type");
        const auto type = Number<unsigned>(fields[0], 16);
        if (!type || *type >= EV_CNT)
            Fail("B: event type \"" + std::string(fields[0]) + "\" is not known");
        const auto bytes = Bytes({fields.begin() + 1, fields.end()});
        auto& d = device_.description;
        std::size_t& offset = bitOffsets_[*type];
        switch (*type) {
        case EV_SYN:
            Bits(d.types, offset, bytes);
            break;
        case EV_KEY:
            Bits(d.keys, offset, bytes);
            break;
        case EV_REL:
            Bits(d.rel, offset, bytes);
            break;
        case EV_ABS:
            Bits(d.abs, offset, bytes);
            break;
        default: // misc, LEDs, sounds, force feedback, switches
            offset += bytes.size();
        }
    }

    void Axis(const std::vector<std::string_view>& f) {
        if (f.size() < 5 || f.size() > 6)
            Fail("A: needs code, minimum, maximum, fuzz, flat and resolution");
        const auto code = Number<unsigned>(f[0], 16);
        if (!code || *code >= ABS_CNT)
            Fail("A: axis code \"" + std::string(f[0]) + "\" is not known");
        std::int32_t v[5] = {0, 0, 0, 0, 0};
        for (std::size_t i = 1; i < f.size(); ++i) {
            const auto n = Number<std::int32_t>(f[i], 10);
            if (!n)
                Fail("A: value \"" + std::string(f[i]) + "\" is not a number");
            v[i - 1] = *n;
        }
        if (v[0] > v[1])
            Fail("A: minimum above maximum");
        AbsRange& r = device_.description.absinfo[*code];
        r.minimum = v[0];
        r.maximum = v[1];
        r.fuzz = v[2];
        r.flat = v[3];
        r.resolution = v[4];
        device_.description.abs.set(*code);
    }

    void Event(const std::vector<std::string_view>& f) {
        if (f.size() != 4)
            Fail("E: needs time, type, code and value");
        const auto type = Number<std::uint16_t>(f[1], 16);
        const auto code = Number<std::uint16_t>(f[2], 16);
        const auto value = Number<std::int32_t>(f[3], 10);
        if (!type || !code || !value)
            Fail("E: type and code must be hexadecimal and the value a decimal number");
        device_.events.push_back({*type, *code, *value});
    }

    void FillStartValues() {
        auto& d = device_.description;
        for (std::size_t code = 0; code < ABS_CNT; ++code) {
            if (!d.abs.test(code))
                continue;
            AbsRange& r = d.absinfo[code];
            // Without a recorded position the centre is the calmest guess.
            const std::int64_t centre = (std::int64_t(r.minimum) + r.maximum) / 2;
            const std::int64_t v = startValues_[code].value_or(centre);
            r.value = static_cast<std::int32_t>(v < r.minimum   ? r.minimum
                                                : v > r.maximum ? r.maximum
                                                                : v);
        }
    }

    const std::string& file_;
    int lineNo_ = 0;
    bool sawHeader_ = false, sawName_ = false, sawIds_ = false;
    std::size_t propBytes_ = 0;
    std::array<std::size_t, EV_CNT> bitOffsets_{};
    int commentType_ = -1, commentCode_ = -1;
    std::array<std::optional<std::int32_t>, ABS_CNT> startValues_{};
    EvemuDevice device_;
};

} // namespace

EvemuError::EvemuError(const std::string& file, int line, const std::string& problem)
    : std::runtime_error(Where(file, line) + ": " + problem), file_(file), line_(line) {}

EvemuDevice ParseEvemu(std::istream& in, const std::string& file) {
    return Parser(file).Run(in);
}

EvemuDevice LoadEvemuFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw EvemuError(path, 0, "cannot be opened");
    EvemuDevice device = ParseEvemu(in, path);
    if (in.bad())
        throw EvemuError(path, 0, "cannot be read");
    const std::size_t slash = path.find_last_of('/');
    device.description.phys = slash == std::string::npos ? path : path.substr(slash + 1);
    return device;
}

} // namespace padwright
