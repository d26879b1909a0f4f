#include "tests/e2e/EndToEndFixture.h"

using namespace flagwright;
using namespace flagwright::e2e;

namespace {
// A stored version, and the message it leads to: success stamps it into DBUpdateFrom exactly.
struct VersionCase {
    const char* label;
    Variant version;
    std::string message;
};

void PrintTo(const VersionCase& versionCase, std::ostream* os) { *os << versionCase.label; }

std::string TrapBox(const std::string& number, const std::string& description)
{
    return flagwright::testing::MsgBoxCall(
        "Error Number: " + number + "\r\nError Description: " + description, 0,
        "Rate Update Error");
}

const VersionCase VersionCases[] = {
    {"Null", std::nullopt, TrapBox("94", "Invalid use of Null")},
    {"Empty", std::string(), TrapBox("9", "Subscript out of range")},
    {"VeryLongNumber", std::string(10000, '1'), TrapBox("6", "Overflow")},
    {"VeryLongFourthPart", "14.01.03." + std::string(9991, 'x'), SuccessBox},
    {"Quoted", std::string("'14'.'01'.'03'"), TrapBox("13", "Type mismatch")},
    {"QuoteInTheFourthPart", std::string("14.01.03.O'Brien"), SuccessBox},
    {"StatementInTheFourthPart", std::string("14.01.03.'; DELETE FROM L_Kind; --"), SuccessBox},
    {"BeyondAsciiInTheFourthPart", std::string("14.01.03.Zürich 😀"), SuccessBox},
    // A driver would cut the old-version stamp at the NUL, after every correction had run.
    {"NulInTheFourthPart", std::string("14.01.03.\0x", 11),
     TrapBox("3001", "Arguments are of the wrong type, are out of acceptable range, or are in "
                     "conflict with one another.")},
};

class StoredVersion : public EndToEnd, public ::testing::WithParamInterface<VersionCase> {};

TEST_P(StoredVersion, IsRefusedWithItsMessageOrStampedUnchanged)
{
    const VersionCase& versionCase = GetParam();
    const std::string db = sandbox.CopyDatabase("Emberline", OwnName());
    ChangeFile(sandbox.DatabaseFile(db), "UPDATE Defaults SET Value = ? WHERE ID = 'DBVersion'",
               versionCase.version);

    EXPECT_EQ(RunOn(db), std::vector<std::string>{versionCase.message});

    if (versionCase.message == SuccessBox) {
        EXPECT_EQ(Default(db, "DBUpdateFrom"), *versionCase.version);
        EXPECT_EQ(Default(db, "DBVersion"), "14.01.04");
        EXPECT_TRUE(AsAfterUpdate(sandbox.DatabaseFile(db)));
    } else {
        EXPECT_EQ(sandbox.Statements(db), std::vector<std::string>{VersionQuery});
        EXPECT_EQ(Default(db, "DBUpdateFrom"), "14.01.02");
    }
}

INSTANTIATE_TEST_SUITE_P(Stored, StoredVersion, ::testing::ValuesIn(VersionCases),
                         [](const auto& param) { return std::string(param.param.label); });
} // namespace
