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

// The length of the well-formed UTF-8 sequence that starts at `at`, or 0 where none does (a
// stray or truncated byte, an overlong form, a surrogate, a code point beyond U+10FFFF).
inline std::size_t Utf8SequenceLength(std::string_view text, std::size_t at)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    unsigned char low = 0x80;  // the range of the second byte, narrowed where a lead byte
    unsigned char high = 0xBF; // alone would allow an overlong form or a surrogate
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (text.size() - at < length || byte(1) < low || byte(1) > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (byte(i) < 0x80 || byte(i) > 0xBF)
            return 0;
    return length;
}

// The UTF-16 surrogate whose three-byte form (ED A0..BF 80..BF, as WTF-8 writes a lone one)
// starts at `at`, or 0. Not UTF-8: see Utf16.h for why a name may hold one.
inline char16_t LoneSurrogateAt(std::string_view text, std::size_t at)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    if (text.size() - at < 3 || byte(0) != 0xED || byte(1) < 0xA0 || byte(1) > 0xBF ||
        byte(2) < 0x80 || byte(2) > 0xBF)
        return 0;
    return static_cast<char16_t>(0xD000 | ((byte(1) & 0x3F) << 6) | (byte(2) & 0x3F));
}

inline bool IsWellFormedUtf8(std::string_view text)
{
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = Utf8SequenceLength(text, at);
        if (length == 0)
            return false;
        at += length;
    }
    return true;
}

} // namespace flagwright
