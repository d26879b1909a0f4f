#pragma once

#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>

namespace flagwright {

// Names compared as SQL Server and its browser compare them: ASCII letters without regard
// to case, everything else exactly.
inline bool SameName(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

// The text with every `mark` written twice: how SQL literals escape their own quote.
inline std::string WithDoubled(std::string_view text, char mark)
{
    std::string doubled;
    doubled.reserve(text.size() + 2);
    for (char c : text) {
        doubled += c;
        if (c == mark)
            doubled += mark;
    }
    return doubled;
}

} // namespace flagwright
