#include "tests/e2e/EndToEndFixture.h"

#include <filesystem>

using namespace flagwright;
using namespace flagwright::e2e;

namespace {
enum class Outcome { Updated, NoSelection, Unopenable, CannotCarry };

// A name the operator may type, whether a database of that name exists, and what follows.
struct NameCase {
    const char* label;
    std::string name;
    bool exists;
    Outcome outcome;
    std::string neighbour = {}; // a database that exists beside it and must stay untouched
};

void PrintTo(const NameCase& nameCase, std::ostream* os) { *os << nameCase.label; }

const std::string LongName = "E2E name " + std::string(119, 'n'); // 128 characters

const NameCase NameCases[] = {
    {"Empty", "", false, Outcome::NoSelection},
    {"BlanksOnly", "   ", false, Outcome::Unopenable},
    {"ExistingBlanksOnly", "  ", true, Outcome::Updated},
    {"Longest", LongName, true, Outcome::Updated},
    {"LongestBeyondUtf16", "E2E name " + std::string(117, 'n') + "😀", true, Outcome::Updated},
    {"OneOverTheLongest", LongName + "n", false, Outcome::CannotCarry, LongName},
    {"SingleQuote", "E2E name it's", true, Outcome::Updated},
    {"DoubleQuote", "E2E name \"q\"", true, Outcome::Updated},
    {"Brackets", "E2E name [b]", true, Outcome::Updated},
    {"Braces", "E2E name {b}}", true, Outcome::Updated},
    {"Semicolon", "E2E name a;b", true, Outcome::Updated},
    {"Equals", "E2E name a=b", true, Outcome::Updated},
    {"Comma", "E2E name a,b", true, Outcome::Updated},
    {"Tab", "E2E name a\tb", true, Outcome::Updated},
    {"CrLf", "E2E name a\r\nb", true, Outcome::Updated},
    {"ControlCharacter", "E2E name a\x01z", true, Outcome::Updated},
    {"BeyondAscii", "E2E name Zürich 北京 😀", true, Outcome::Updated},
    {"MissingWithSeparators", "E2E name none;database=E2E name neighbour", false,
     Outcome::Unopenable, "E2E name neighbour"},
    // As unixODBC reads the string, these end the value early and choose the driver library, or
    // the server and login; the second ends it with U+017D, whose low byte is "}".
    {"ChoosesDriver", "E2E name x}DRIVER={" INJECTED_LIBRARY "}x", false, Outcome::Unopenable},
    {"ChoosesDriverByLowByte", "E2E name xŽDRIVER={" INJECTED_LIBRARY "Žx", false,
     Outcome::CannotCarry},
    {"ChoosesServerAndLogin", "E2E name x}SERVER={127.0.0.1,1}UID={sa}x", true, Outcome::Updated},
    {"BraceSemicolonBeyondUtf16", "E2E name x};😀", true, Outcome::CannotCarry},
    // The catalog attribute reaches the driver as low bytes: this one would open its neighbour.
    {"BraceBeyondAscii", "E2E name Ž};x", true, Outcome::CannotCarry, "E2E name }};x"},
};

class DatabaseName : public EndToEnd, public ::testing::WithParamInterface<NameCase> {};

// Every name reaches the server exactly or not at all: the run opens the named database or
// none, no other database file changes, and no library but the driver is loaded.
TEST_P(DatabaseName, OpensOnlyTheNamedDatabase)
{
    const NameCase& nameCase = GetParam();
    if (nameCase.exists)
        sandbox.CopyDatabase("Emberline", nameCase.name);
    if (!nameCase.neighbour.empty())
        sandbox.CopyDatabase("Emberline", nameCase.neighbour);
    const auto logged = sandbox.Batches().size();
    auto others = sandbox.DatabaseFiles();
    others.erase(nameCase.name + ".sqlite");
    std::filesystem::remove(INJECTED_MARK);

    const auto messages = RunOn(nameCase.name);

    EXPECT_FALSE(std::filesystem::exists(INJECTED_MARK)) << "the named library was loaded";
    switch (nameCase.outcome) {
    case Outcome::Updated:
        EXPECT_EQ(messages, std::vector<std::string>{SuccessBox});
        EXPECT_EQ(Default(nameCase.name, "DBVersion"), "14.01.04");
        break;
    case Outcome::NoSelection:
        EXPECT_EQ(messages, std::vector<std::string>{
                                flagwright::testing::MsgBoxCall("No database selected.", 0)});
        break;
    case Outcome::Unopenable:
        EXPECT_EQ(messages, std::vector<std::string>{InUseBox});
        break;
    case Outcome::CannotCarry:
        EXPECT_EQ(messages, std::vector<std::string>{flagwright::testing::MsgBoxCall(
                                "Error Number: 3001\r\nError Description: Arguments are of the "
                                "wrong type, are out of acceptable range, or are in conflict "
                                "with one another.",
                                0, "Rate Update Error")});
        break;
    }
    const auto batches = sandbox.Batches(logged);
    EXPECT_EQ(batches.size(), nameCase.outcome == Outcome::Updated ? CompleteRunLength : 0U);
    for (const auto& [database, statement] : batches)
        EXPECT_EQ(database, nameCase.name) << statement;
    auto othersAfter = sandbox.DatabaseFiles();
    othersAfter.erase(nameCase.name + ".sqlite");
    EXPECT_TRUE(othersAfter == others) << "another database file changed";
}

INSTANTIATE_TEST_SUITE_P(Typed, DatabaseName, ::testing::ValuesIn(NameCases),
                         [](const auto& param) { return std::string(param.param.label); });
} // namespace
