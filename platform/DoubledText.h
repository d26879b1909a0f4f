#pragma once

#include <string>

namespace flagwright {

// The text with every `mark` written twice: how SQL literals, connection-string values and
// ODBC braced values escape their own closing character.
inline std::string WithDoubled(const std::string& text, char mark)
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
