#include "DisplayedText.h"

#include <gtest/gtest.h>

using flagwright::cli::Displayed;

TEST(DisplayedText, EscapesControlCharactersAndStrayBytesOnly)
{
    EXPECT_EQ(Displayed("a\tb\nc\rd\x01\x1f\x7f"), R"(a\tb\nc\rd\x01\x1F\x7F)");
    EXPECT_EQ(Displayed("NEL\xC2\x85 CSI\xC2\x9B"), R"(NEL\u0085 CSI\u009B)");
    EXPECT_EQ(Displayed("bad\xFF\xC3 overlong\xC0\xAF surrogate\xED\xA0\x80"),
              R"(bad\xFF\xC3 overlong\xC0\xAF surrogate\xED\xA0\x80)");
    const std::string kept = "Zürich\xC2\xA0北京 😀 back\\slash \\n";
    EXPECT_EQ(Displayed(kept), kept);
}
