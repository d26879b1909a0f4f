#include "tests/e2e/EndToEndFixture.h"

#include <tuple>

using namespace flagwright;
using namespace flagwright::e2e;

namespace {
// What goes wrong: the sandbox fault `key` set to "N:" + errorNumber + "TEXT" of the batch it
// happens at, with the settings `more` beside it.
struct Interruption {
    const char* name;
    const char* key;
    const char* errorNumber;
    const char* more;
    bool restart;
    std::string message;
};

// Where it goes wrong: the Nth batch holding text, and how far the run got by then.
struct Position {
    const char* name;
    const char* nth;
    const char* text;
    std::size_t reached;         // statements that reached the server, the failing one included
    const char* updateFromAfter; // DBUpdateFrom once the run has failed
};

void PrintTo(const Interruption& interruption, std::ostream* os) { *os << interruption.name; }
void PrintTo(const Position& position, std::ostream* os) { *os << position.name; }

const Interruption Interruptions[] = {
    {"StatementFails", "fail", "8152:", "", false,
     flagwright::testing::MsgBoxCall("Error Number: -2147217900\r\nError Description: "
                                     "Error 8152 raised by the server.",
                                     0, "Rate Update Error")},
    {"ConnectionClosed", "drop", "", R"(,"drop_mode":"fin")", false, InUseBox},
    {"ConnectionReset", "drop", "", R"(,"drop_mode":"rst")", false, InUseBox},
    {"InstanceStopped", "stop", "", "", true, InUseBox},
};

const Position Positions[] = {
    {"AtThe1stCorrection", "1", "UPDATE L_Kind", 2, "14.01.02"},
    {"AtThe400thCorrection", "400", "UPDATE L_Kind", 401, "14.01.02"},
    {"AtThe791stCorrection", "791", "UPDATE L_Kind", 792, "14.01.02"},
    {"AtTheDBUpdateFromStamp", "1", "WHERE ID = 'DBUpdateFrom'", 793, "14.01.02"},
    {"AtTheDBVersionStampAfterTheDBUpdateFromStamp", "1", "SET Value = '14.01.04'", 794,
     "14.01.03"},
};

class InterruptedRun : public EndToEnd,
                       public ::testing::WithParamInterface<std::tuple<Interruption, Position>> {};

// A run cut off anywhere before the new version is stamped reports the failure and leaves
// the version at 14.01.03; the next run applies all 791 corrections and stamps both rows.
TEST_P(InterruptedRun, LeavesTheVersionUnstampedAndTheNextRunCompletes)
{
    const auto& [interruption, position] = GetParam();
    const std::string db = sandbox.CopyDatabase("Emberline", OwnName());
    sandbox.Control(std::string(R"({"cmd":"faults","faults":{")") + interruption.key + R"(":")" +
                    position.nth + ":" + interruption.errorNumber + position.text + "\"" +
                    interruption.more + "}}");

    EXPECT_EQ(RunOn(db), std::vector<std::string>{interruption.message});
    ExpectConnectionClosed(db);
    EXPECT_EQ(Default(db, "DBVersion"), "14.01.03");
    EXPECT_EQ(Default(db, "DBUpdateFrom"), position.updateFromAfter);

    if (interruption.restart)
        sandbox.Control(R"({"cmd":"start"})");
    sandbox.Control(R"({"cmd":"faults","faults":{}})");
    EXPECT_EQ(RunOn(db), std::vector<std::string>{SuccessBox});
    EXPECT_EQ(Default(db, "DBVersion"), "14.01.04");
    EXPECT_EQ(Default(db, "DBUpdateFrom"), "14.01.03");
    EXPECT_TRUE(AsAfterUpdate(sandbox.DatabaseFile(db)));

    // The interrupted run sent what the complete one sent, up to the failing statement.
    const auto statements = sandbox.Statements(db);
    ASSERT_EQ(statements.size(), position.reached + CompleteRunLength);
    const auto reachedEnd = statements.begin() + static_cast<std::ptrdiff_t>(position.reached);
    EXPECT_TRUE(IsCompleteRun({reachedEnd, statements.end()}));
    EXPECT_TRUE(std::equal(statements.begin(), reachedEnd, reachedEnd));
}

INSTANTIATE_TEST_SUITE_P(Matrix, InterruptedRun,
                         ::testing::Combine(::testing::ValuesIn(Interruptions),
                                            ::testing::ValuesIn(Positions)),
                         [](const auto& param) {
                             return std::string(std::get<0>(param.param).name) +
                                    std::get<1>(param.param).name;
                         });
} // namespace
