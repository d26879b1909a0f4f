#include "tests/e2e/CliProcess.h"
#include "tests/e2e/EndToEndFixture.h"

#include <future>
#include <iostream>
#include <regex>

using namespace flagwright;
using namespace flagwright::e2e;

namespace {
// Two program instances updating the same database at once both report, and the database
// ends fully corrected and stamped whichever of them wins.
TEST_F(EndToEnd, TwoProcessesAtOnceLeaveTheDatabaseCorrect)
{
    const std::string db = sandbox.CopyDatabase("Emberline", "E2E two processes");
    const auto update = [&db] { return RunCli(Cli({"update", db})); };
    auto second = std::async(std::launch::async, update);
    const Finished firstRun = update();
    const Finished secondRun = second.get();

    for (const Finished& process : {firstRun, secondRun}) {
        std::cout << process << '\n';
        // One message: a line, and its further lines indented; after a success, its time.
        const std::regex oneMessage("[^ \n][^\n]*\n(  [^\n]*\n)*(Took N s\\.\n)?");
        EXPECT_TRUE(std::regex_match(process.out + process.err, oneMessage)) << process;
        ExpectNoPassword(process.out + process.err, "message");
    }
    EXPECT_TRUE(firstRun == Updated || secondRun == Updated) << firstRun << "\n" << secondRun;
    EXPECT_EQ(Default(db, "DBVersion"), "14.01.04");
    EXPECT_EQ(Default(db, "DBUpdateFrom"), "14.01.03");
    EXPECT_TRUE(AsAfterUpdate(sandbox.DatabaseFile(db)));
}
} // namespace
