#pragma once
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The 8-bit text core without the toolkit, shared by every build: Windows-1252 with the
// five undefined bytes mapped to the C1 code points of the same value, so every byte
// sequence decodes and encodes back unchanged.
namespace platform::ansi {

// 0x80..0x9F of Windows-1252; the five holes keep their own value.
inline constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

inline constexpr char16_t decodeByte(unsigned char b)
{
    return (b >= 0x80 && b < 0xA0) ? kHigh[b - 0x80] : char16_t(b);
}

// Characters outside the code page become '?'.
inline constexpr char encodeChar(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (std::size_t i = 0; i < kHigh.size(); ++i)
        if (kHigh[i] == c)
            return static_cast<char>(0x80 + i);
    return '?';
}

std::u16string decode(std::string_view bytes);
std::string encode(std::u16string_view text);

// Where each line lies (offset, length): lines end at CR LF, a lone CR or a lone LF;
// a final line end does not start an empty line.
std::vector<std::pair<std::size_t, std::size_t>> lineSpans(std::string_view bytes);

} // namespace platform::ansi
