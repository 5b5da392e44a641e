#include "EvemuFile.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace padwright::vm {
namespace {

[[noreturn]] void Fail(const std::filesystem::path& path, int line, const std::string& why) {
    throw std::runtime_error(path.string() + ":" + std::to_string(line) + ": " + why);
}

// Sets bits from a run of hex bytes, the lowest code first, continuing where the previous line
// of the same kind stopped (descriptions split long masks over several lines).
template <std::size_t N>
bool ReadMask(std::istringstream& in, std::bitset<N>& mask, std::size_t& nextBit) {
    std::string byte;
    while (in >> byte) {
        std::size_t used = 0;
        unsigned long value = std::stoul(byte, &used, 16);
        if (used != byte.size() || value > 0xFF)
            return false;
        for (int bit = 0; bit < 8; ++bit, ++nextBit)
            if (value & (1u << bit) && nextBit < N)
                mask.set(nextBit);
    }
    return true;
}

} // namespace

EvemuFile ReadEvemuFile(const std::filesystem::path& path) {
    std::ifstream file(path);
    if (!file)
        throw std::runtime_error(path.string() + ": cannot be read");
    EvemuFile out;
    std::size_t propertyBit = 0;
    std::array<std::size_t, EV_CNT> typeBit{};
    std::string text;
    for (int line = 1; std::getline(file, text); ++line) {
        if (text.empty() || text[0] == '#')
            continue;
        if (text.size() < 2 || text[1] != ':')
            Fail(path, line, "not a description line");
        std::istringstream in(text.substr(2));
        in >> std::ws;
        try {
            switch (text[0]) {
            case 'N':
                // The name keeps its own blanks; only the one after the colon separates.
                out.name = text.size() > 3 ? text.substr(3) : "";
                break;
            case 'I': {
                unsigned bus, vendor, product, version;
                if (!(in >> std::hex >> bus >> vendor >> product >> version))
                    Fail(path, line, "ids need four hex numbers");
                out.bus = bus, out.vendor = vendor, out.product = product, out.version = version;
                break;
            }
            case 'P':
                if (!ReadMask(in, out.properties, propertyBit))
                    Fail(path, line, "bad property mask");
                break;
            case 'B': {
                unsigned type;
                if (!(in >> std::hex >> type) || type >= EV_CNT)
                    Fail(path, line, "bad event type");
                if (!ReadMask(in, out.codes[type], typeBit[type]))
                    Fail(path, line, "bad code mask");
                break;
            }
            case 'A': {
                unsigned code;
                input_absinfo info{};
                if (!(in >> std::hex >> code >> std::dec >> info.minimum >> info.maximum >>
                      info.fuzz >> info.flat) ||
                    code >= ABS_CNT)
                    Fail(path, line, "bad axis line");
                if (!(in >> info.resolution))
                    info.resolution = 0; // evemu before 1.1 wrote no resolution
                out.absinfo[code] = info;
                break;
            }
            case 'E': {
                std::string stamp;
                unsigned type, code;
                std::int32_t value;
                // The value is decimal with leading zeros ("0143"), never octal.
                if (!(in >> stamp >> std::hex >> type >> code >> std::dec >> value) ||
                    type >= EV_CNT || code >= KEY_CNT)
                    Fail(path, line, "bad event line");
                out.events.push_back(
                    {static_cast<std::uint16_t>(type), static_cast<std::uint16_t>(code), value});
                break;
            }
            default:
                Fail(path, line, std::string("unknown line kind ") + text[0]);
            }
        } catch (const std::invalid_argument&) {
            Fail(path, line, "not a number");
        } catch (const std::out_of_range&) {
            Fail(path, line, "number out of range");
        }
    }
    if (out.name.empty())
        throw std::runtime_error(path.string() + ": no N: line");
    return out;
}

} // namespace padwright::vm
