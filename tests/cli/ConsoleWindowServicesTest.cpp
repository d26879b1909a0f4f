#include "ConsoleWindowServices.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace flagwright;
using namespace flagwright::cli;

// A provider's description may hold line breaks of its own, bare LF or CR: each must still
// start an indented line, so that a log shows where one message ends and the next begins.
TEST(ConsoleWindowServices, EveryLineBreakOfAMessageContinuesOnAnIndentedLine)
{
    std::ostringstream report;
    std::ostringstream errors;
    ConsoleWindowServices console(report, errors, "DB: ");
    console.MsgBox("Error Number: -2147217900\r\nError Description: one\ntwo\rthree\r\n",
                   MsgBoxStyle::OkOnly, "Rate Update Error");
    EXPECT_EQ(errors.str(), "DB: Rate Update Error: Error Number: -2147217900\n"
                            "DB:   Error Description: one\n"
                            "DB:   two\n"
                            "DB:   three\n"
                            "DB:   \n");
    EXPECT_EQ(report.str(), "");
}
