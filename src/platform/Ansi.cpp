#include "platform/Ansi.h"

#include <algorithm>

namespace platform::ansi {

std::u16string decode(std::string_view bytes)
{
    std::u16string out(bytes.size(), u'\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        out[i] = decodeByte(static_cast<unsigned char>(bytes[i]));
    return out;
}

std::string encode(std::u16string_view text)
{
    std::string out(text.size(), '\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        out[i] = encodeChar(text[i]);
    return out;
}

std::vector<std::pair<std::size_t, std::size_t>> lineSpans(std::string_view bytes)
{
    std::vector<std::pair<std::size_t, std::size_t>> spans;
    // Room for every line end at once: growing by steps would write a long log's spans
    // several times over. CR LF counts twice; the room never written costs nothing.
    spans.reserve(std::size_t(std::count_if(bytes.begin(), bytes.end(), [](char c) { return c == '\r' || c == '\n'; })) + 1);
    std::size_t start = 0;
    const std::size_t n = bytes.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n')
            continue;
        spans.emplace_back(start, i - start);
        if (c == '\r' && i + 1 < n && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        spans.emplace_back(start, n - start);
    return spans;
}

} // namespace platform::ansi
