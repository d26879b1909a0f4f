#include "SkipReason.h"

#include <gtest/gtest.h>

using namespace flagwright;
using namespace flagwright::cli;

// The server's word goes into the line that scripts read: its control characters (C0, DEL,
// C1) must not end that line early or reach a terminal, and all else stays as it came.
TEST(SkipReason, SaysWhyWithTheServersWordItsControlCharactersEscaped)
{
    using State = DatabaseAvailability::State;
    EXPECT_EQ(SkipReason({State::MayOpen, {}}), std::nullopt);
    EXPECT_EQ(SkipReason({State::NoAccess, {}}), "no access for this login");
    EXPECT_EQ(SkipReason({State::NotOnline, "OFFLINE"}), "not online (OFFLINE)");
    EXPECT_EQ(SkipReason({State::NotOnline, "A\nB\x1b[2J\x7f\xc2\x85 Zürich\\x"}),
              "not online (A\\x0AB\\x1B[2J\\x7F\\xC2\\x85 Zürich\\x)");
}
