#include "EndToEndFixture.h"

using namespace flagwright;
using namespace flagwright::e2e;

namespace {
struct Interruption {
    const char* name;
    const char* faults;
    bool restart;
    std::string message;
};

void PrintTo(const Interruption& interruption, std::ostream* os) { *os << interruption.name; }

class InterruptedRun : public EndToEnd, public ::testing::WithParamInterface<Interruption> {};

// A run cut off at the 400th correction leaves 399 applied and no stamp; the next run
// applies all 791 and stamps.
TEST_P(InterruptedRun, LeavesNoStampAndTheNextRunCompletes)
{
    const Interruption& interruption = GetParam();
    const std::string db = sandbox.CopyDatabase("Emberline", OwnName());
    sandbox.Control(std::string(R"({"cmd":"faults","faults":)") + interruption.faults + "}");

    EXPECT_EQ(RunOn(db), std::vector<std::string>{interruption.message});
    EXPECT_TRUE(run.cnDatabase().IsEmpty());
    EXPECT_EQ(Default(db, "DBVersion"), "14.01.03");
    EXPECT_EQ(Default(db, "DBUpdateFrom"), "14.01.02");
    const auto reached = sandbox.Statements(db);
    ASSERT_EQ(reached.size(), 401U);
    const std::vector<std::string> complete = CompleteRun();
    EXPECT_EQ(reached, std::vector<std::string>(complete.begin(), complete.begin() + 401));

    if (interruption.restart)
        sandbox.Control(R"({"cmd":"start"})");
    sandbox.Control(R"({"cmd":"faults","faults":{}})");
    EXPECT_EQ(RunOn(db), std::vector<std::string>{SuccessBox});
    EXPECT_EQ(Default(db, "DBVersion"), "14.01.04");
    EXPECT_EQ(Default(db, "DBUpdateFrom"), "14.01.03");
}

const Interruption Interruptions[] = {
    {"StatementFails", R"({"fail":"400:8152:UPDATE L_Kind"})", false,
     flagwright::testing::MsgBoxCall("Error Number: -2147217900\r\nError Description: "
                                     "Error 8152 raised by the server.",
                                     0, "Rate Update Error")},
    {"ConnectionDropped", R"({"drop":"400:UPDATE L_Kind"})", false,
     FailureBox(failure_code::Unspecified)},
    {"InstanceStopped", R"({"stop":"400:UPDATE L_Kind"})", true,
     FailureBox(failure_code::Unspecified)},
};

INSTANTIATE_TEST_SUITE_P(AtThe400thCorrection, InterruptedRun,
                         ::testing::ValuesIn(Interruptions),
                         [](const auto& param) { return std::string(param.param.name); });
} // namespace
