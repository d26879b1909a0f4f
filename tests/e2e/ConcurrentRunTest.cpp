#include "EndToEndFixture.h"
#include "UpdateProcess.h"

#include <iostream>

using namespace flagwright;
using namespace flagwright::e2e;

namespace {
// Two program instances updating the same database at once both report, and the database
// ends fully corrected and stamped whichever of them wins.
TEST_F(EndToEnd, TwoProcessesAtOnceLeaveTheDatabaseCorrect)
{
    const std::string db = sandbox.CopyDatabase("Emberline", "E2E two processes");
    UpdateProcess first(db);
    UpdateProcess second(db);
    const auto firstLines = first.Lines();
    const auto secondLines = second.Lines();

    for (const auto& lines : {firstLines, secondLines}) {
        ASSERT_EQ(lines.size(), 1U);
        std::cout << lines[0] << '\n';
        EXPECT_EQ(lines[0].rfind("MsgBox(", 0), 0U) << lines[0];
        ExpectNoPassword(lines[0], "message");
    }
    EXPECT_TRUE(firstLines[0] == SuccessBox || secondLines[0] == SuccessBox)
        << firstLines[0] << "\n"
        << secondLines[0];
    EXPECT_EQ(Default(db, "DBVersion"), "14.01.04");
    EXPECT_EQ(Default(db, "DBUpdateFrom"), "14.01.03");
    EXPECT_TRUE(AsAfterUpdate(sandbox.DatabaseFile(db)));
}
} // namespace
