#include "platform/Text.h"
#include "platform/Utf16.h"

#include <gtest/gtest.h>

#include <string>

using flagwright::Utf16ToUtf8;
using flagwright::Utf8ToUtf16;

namespace {
struct Case {
    std::string utf8;
    std::u16string utf16;
};
} // namespace

// The first and last code point of each UTF-8 length, those beside the surrogates, U+10FFFF.
TEST(Utf16, RoundTripsEveryPlaneAndTheEdgesOfEachLength)
{
    const Case cases[] = {
        {"", u""},
        {"\x01\t\x7F", u"\x01\t\x7F"},
        {"\xC2\x80\xDF\xBF", u"\x80\x7FF"},
        {"\xE0\xA0\x80\xED\x9F\xBF", u"\x800\xD7FF"},
        {"\xEE\x80\x80\xEF\xBF\xBF", u"\xE000\xFFFF"},
        {"\xF0\x90\x80\x80\xF4\x8F\xBF\xBF", u"\xD800\xDC00\xDBFF\xDFFF"},
        {"Zürich 北京 😀 and 𝄞", u"Zürich 北京 😀 and 𝄞"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16) << c.utf8;
        EXPECT_EQ(Utf16ToUtf8(c.utf16), c.utf8) << c.utf8;
    }
}

// Each byte that begins no well-formed sequence is one U+FFFD, and the next byte is read anew.
TEST(Utf16, EachByteOfMalformedUtf8BecomesOneReplacementCharacter)
{
    const Case cases[] = {
        {"\xFF\xFE", u"\uFFFD\uFFFD"},                         // never in UTF-8
        {"\x80x\xBF", u"\uFFFDx\uFFFD"},                       // stray continuation bytes
        {"\xC0\xAF", u"\uFFFD\uFFFD"},                         // overlong "/"
        {"\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},               // overlong "/" in three bytes
        {"\xF0\x8F\xBF\xBF", u"\uFFFD\uFFFD\uFFFD\uFFFD"},     // overlong U+FFFF
        {"\xED\xA0", u"\uFFFD\uFFFD"},                         // a surrogate cut short
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},     // U+110000
        {"\xF5\x80\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},     // a lead byte beyond U+10FFFF
        {"a\xC3", u"a\uFFFD"},                                 // truncated at the end
        {"\xE2\x82", u"\uFFFD\uFFFD"},                         // truncated after two bytes
        {"\xE2\x82x", u"\uFFFD\uFFFDx"},                       // cut short by ASCII, which stays
        {"\xF0\x9F\x98\xC3\xA9", u"\uFFFD\uFFFD\uFFFD\u00E9"}, // cut short by a whole sequence
    };
    for (const Case& c : cases)
        EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16) << ::testing::PrintToString(c.utf8);
}

// A lone surrogate, which a Windows or SQL Server name may hold, is never replaced: it travels
// as its three bytes, which IsWellFormedUtf8 refuses, and comes back as itself.
TEST(Utf16, LoneSurrogatesTravelAsTheirThreeBytesBothWays)
{
    const Case cases[] = {
        {"\xED\xA0\xBD", u"\xD83D"},                             // high, at the end
        {"\xED\xB8\x80x", u"\xDE00x"},                           // low, without a high before
        {"\xED\xB8\x80\xED\xA0\xBD", u"\xDE00\xD83D"},           // a pair the wrong way round
        {"\xED\xA0\xBD\xF0\x9F\x98\x80", u"\xD83D\xD83D\xDE00"}, // a high one before a pair
        {"\xED\xBF\xBF\xED\xA0\x80", u"\xDFFF\xD800"},           // the last and the first
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Utf16ToUtf8(c.utf16), c.utf8) << ::testing::PrintToString(c.utf8);
        EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16) << ::testing::PrintToString(c.utf8);
        EXPECT_FALSE(flagwright::IsWellFormedUtf8(c.utf8)) << ::testing::PrintToString(c.utf8);
    }
}
