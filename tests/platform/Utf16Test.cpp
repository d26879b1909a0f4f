#include "Utf16.h"

#include <gtest/gtest.h>

using namespace flagwright::odbc;

TEST(Utf16, RoundTripsEveryPlane)
{
    for (const std::string text : {"", "plain", "Zürich", "北京", "😀 and 𝄞", "\x01\t\n"})
        EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(text)), text) << text;
    EXPECT_EQ(Utf8ToUtf16("😀"), std::u16string(u"\xD83D\xDE00"));
}

TEST(Utf16, MalformedInputBecomesReplacementCharacters)
{
    const std::u16string r(1, u'\xFFFD');
    EXPECT_EQ(Utf8ToUtf16("\xFF"), r);
    EXPECT_EQ(Utf8ToUtf16("a\xC3"), u"a" + r);           // cut short
    EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), r);               // overlong
    EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), r);           // encoded surrogate
    EXPECT_EQ(Utf8ToUtf16("\xF4\x90\x80\x80"), r);       // beyond U+10FFFF
    EXPECT_EQ(Utf8ToUtf16("\xE2\x82"), r);               // truncated at end
    EXPECT_EQ(Utf16ToUtf8(u"\xD83D"), "\xEF\xBF\xBD");   // lone high surrogate
    EXPECT_EQ(Utf16ToUtf8(u"\xDE00x"), "\xEF\xBF\xBDx"); // lone low surrogate
}
