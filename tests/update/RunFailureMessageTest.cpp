#include "update/RunFailureMessage.h"

#include <gtest/gtest.h>

using namespace flagwright;

TEST(RunFailureMessage, EachKnownCodeHasItsOwnMessage)
{
    const std::pair<std::int32_t, const char*> cases[] = {
        {-2147217843, "Login failed.  Please try again."},
        {-2147467259, "Database in use or does not exist. If in use, close all connections to "
                      "the database and retry."},
        {-2147217865, "Database is not an Emberline database.  Please select another database."},
        {91, "Cannot connect to database. Reselect the database and retry."},
        {3704, "Connection already closed."},
    };
    for (const auto& [code, message] : cases)
        EXPECT_EQ(RunFailureMessage(Failure(code, "ignored")), message) << code;
}

TEST(RunFailureMessage, OtherCodesGetNumberAndDescriptionOnTwoLines)
{
    EXPECT_EQ(RunFailureMessage(Failure(-2147217900, "Incorrect syntax near 'x'.")),
              "Error Number: -2147217900\r\nError Description: Incorrect syntax near 'x'.");
    EXPECT_EQ(RunFailureMessage(Failure(13, "Type mismatch")),
              "Error Number: 13\r\nError Description: Type mismatch");
    EXPECT_EQ(RunFailureMessage(Failure(0, "")), "Error Number: 0\r\nError Description: ");
    EXPECT_EQ(RunFailureMessage(Failure(INT32_MIN, "x")),
              "Error Number: -2147483648\r\nError Description: x");
}
