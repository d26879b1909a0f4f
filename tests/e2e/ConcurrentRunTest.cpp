#include "CliProcess.h"
#include "EndToEndFixture.h"

#include <iostream>
#include <sstream>

using namespace flagwright;
using namespace flagwright::e2e;

namespace {
// Two program instances updating the same database at once both report, and the database
// ends fully corrected and stamped whichever of them wins.
TEST_F(EndToEnd, TwoProcessesAtOnceLeaveTheDatabaseCorrect)
{
    const std::string db = sandbox.CopyDatabase("Emberline", "E2E two processes");
    Process first(CliUpdate(db));
    Process second(CliUpdate(db));
    const Finished firstRun = first.Wait();
    const Finished secondRun = second.Wait();

    for (const Finished& process : {firstRun, secondRun}) {
        std::cout << process << '\n';
        // One message: every further line goes on its first, indented.
        std::istringstream lines(process.out + process.err);
        int messages = 0;
        for (std::string line; std::getline(lines, line);)
            messages += line.rfind("  ", 0) != 0;
        EXPECT_EQ(messages, 1) << process;
        ExpectNoPassword(process.out + process.err, "message");
    }
    EXPECT_TRUE(firstRun == Updated || secondRun == Updated) << firstRun << "\n" << secondRun;
    EXPECT_EQ(Default(db, "DBVersion"), "14.01.04");
    EXPECT_EQ(Default(db, "DBUpdateFrom"), "14.01.03");
    EXPECT_TRUE(AsAfterUpdate(Kinds(db)));
}
} // namespace
