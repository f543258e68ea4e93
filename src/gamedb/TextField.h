#pragma once
// Fixed-width, zero-padded single-byte texts as the game stores them.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace gamedb {

// Shown in a text box: up to the first zero byte, or the whole field when it has none.
inline std::string_view displayText(const std::uint8_t* p, std::size_t width)
{
    const void* zero = std::memchr(p, 0, width);
    const std::size_t n = zero ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(zero) - p) : width;
    return {reinterpret_cast<const char*>(p), n};
}

// Used in a list line: up to the first zero byte, and empty when the field has none.
inline std::string_view listText(const std::uint8_t* p, std::size_t width)
{
    const void* zero = std::memchr(p, 0, width);
    if (!zero)
        return {};
    return {reinterpret_cast<const char*>(p), static_cast<std::size_t>(static_cast<const std::uint8_t*>(zero) - p)};
}

// The text, cut to the field, then zeros to the end: never a byte past the field.
inline void assignText(std::uint8_t* p, std::size_t width, std::string_view text)
{
    const std::size_t n = std::min(width, text.size());
    if (n > 0) // an empty view may carry a null pointer, which memcpy must not see
        std::memcpy(p, text.data(), n);
    std::memset(p + n, 0, width - n);
}

// Letters A to Z in lower case, every other byte as it is: how Search and the filters match.
inline void foldAscii(std::string& s)
{
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
}

} // namespace gamedb
