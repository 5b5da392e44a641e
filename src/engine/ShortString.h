#pragma once
// Length-prefixed string of fixed byte capacity, the layout the stored records use.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/Utf8Fit.h"

namespace padwright {

template <std::size_t N> struct ShortString {
    static_assert(N <= 255, "the length must fit its prefix byte");
    std::uint8_t Len;
    char Chars[N];

    // A length byte beyond the capacity (a damaged or foreign record) reads as the capacity.
    std::size_t size() const { return std::min<std::size_t>(Len, N); }
    std::string_view view() const { return std::string_view(Chars, size()); }
    std::string str() const { return std::string(view()); }
    bool empty() const { return size() == 0; }

    // Stores `text` cut to the capacity. Bytes past the new length are left as they were:
    // stored records carry them along unchanged.
    void assign(std::string_view text) {
        const std::size_t n = Utf8FitLength(text, N);
        if (n != 0) // an empty view may carry no pointer at all
            std::memcpy(Chars, text.data(), n);
        Len = static_cast<std::uint8_t>(n);
    }
    ShortString& operator=(std::string_view text) {
        assign(text);
        return *this;
    }
};

} // namespace padwright
