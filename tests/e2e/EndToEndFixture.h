#pragma once

#include "platform/Product.h"
#include "platform/odbc/OdbcConnection.h"
#include "tests/support/RecordingWindow.h"
#include "tests/support/Sandbox.h"
#include "tests/support/Sha256.h"
#include "update/UpdateRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace flagwright::e2e {

using testing::ChangeFile;
using testing::Sandbox;

inline const std::string VersionQuery = "Select Value from Defaults where ID = 'DBVersion'";
inline const std::string NewStamp = "UPDATE Defaults SET Value = '14.01.04' WHERE ID = 'DBVersion'";

// A complete run from 14.01.03 sends the version query, the 791 corrections and two stamps.
inline constexpr std::size_t CompleteRunLength = 794;

// Passes when these are the statements of a complete run from 14.01.03, in order. The
// corrections are pinned by the digest KindCodeCorrectionsTest pins (of each statement
// followed by "\n"), not rebuilt from the table under test.
inline ::testing::AssertionResult IsCompleteRun(const std::vector<std::string>& statements)
{
    if (statements.size() != CompleteRunLength)
        return ::testing::AssertionFailure() << statements.size() << " statements";
    if (statements[0] != VersionQuery ||
        statements[792] != "UPDATE Defaults SET Value = '14.01.03' WHERE ID = 'DBUpdateFrom'" ||
        statements[793] != NewStamp)
        return ::testing::AssertionFailure() << "version query and stamps: " << statements[0]
                                             << "; " << statements[792] << "; " << statements[793];
    std::string corrections;
    for (std::size_t i = 1; i <= 791; ++i)
        corrections += statements[i] + "\n";
    if (testing::Sha256Hex(corrections) !=
        "c5383d83d364f99e23b1ee7893a3e1fe9ef40e20d708829239af40d7a89374be")
        return ::testing::AssertionFailure() << "the corrections differ from the pinned ones";
    return ::testing::AssertionSuccess();
}

// Passes when L_Kind of the database file holds exactly the rows of a completed update of the
// sample database Emberline, every column: the sandbox pins them by a digest written out, so
// it does not follow edits of the program's table. The seed gives each code its position in
// the program's table as SortOrder, so a change of order shows here as well as a change of
// flags.
inline ::testing::AssertionResult AsAfterUpdate(const std::string& databaseFile)
{
    const std::string differences = testing::KindDifferences(databaseFile);
    if (differences.empty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "L_Kind of " << databaseFile << " is not as after an update:\n"
           << differences;
}

// The run's failure boxes, as the operator reads them.
inline const std::string InUseBox = testing::MsgBoxCall(
    "Database in use or does not exist. If in use, close all connections to the database and "
    "retry.",
    0, "Rate Update Error");
inline const std::string NotEmberlineBox =
    testing::MsgBoxCall("Database is not an Emberline database.  Please select another database.",
                        0, "Rate Update Error");
inline const std::string LoginFailedBox =
    testing::MsgBoxCall("Login failed.  Please try again.", 0, "Rate Update Error");

inline const std::string SuccessBox =
    testing::MsgBoxCall("Update successful.", 64, "Congratulations");

// Fails the test when the login password shows in text.
inline void ExpectNoPassword(const std::string& text, const std::string& where)
{
    EXPECT_EQ(text.find(EmberlineInstance().password), std::string::npos) << where << ": " << text;
}

// One update run window over the real ODBC connection, on a database of the test's own.
class EndToEnd : public ::testing::Test {
protected:
    Sandbox sandbox;
    testing::RecordingWindow window;
    UpdateRun run{window, [] { return std::make_unique<odbc::OdbcConnection>(); },
                  EmberlineInstance()};

    void SetUp() override { Reset(); }
    void TearDown() override
    {
        Reset();
        for (const std::string& call : window.calls)
            ExpectNoPassword(call, "message");
        ExpectNoPassword(sandbox.Transcript(), "sandbox log");
    }

    // No faults, and the server the instance plays by default (MSDE 2000, without TLS).
    void Reset() const
    {
        sandbox.Control(R"({"cmd":"faults","faults":{}})");
        sandbox.Control(R"({"cmd":"settings","settings":{}})");
    }

    std::string OwnName() const
    {
        // Parameterised test names hold "/", which cannot be in a file name.
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(name.begin(), name.end(), '/', ' ');
        return "E2E " + name;
    }

    std::vector<std::string> RunOn(const std::string& database)
    {
        window.calls.clear();
        run.Run(database);
        return window.Messages();
    }

    // The instance holds no connection to the run's database any more (the server may take a
    // moment to see a close).
    void ExpectConnectionClosed(const std::string& database) const
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (sandbox.ConnectionsTo(database) != 0 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        EXPECT_EQ(sandbox.ConnectionsTo(database), 0);
    }

    std::string Default(const std::string& database, const std::string& id) const
    {
        return testing::DefaultIn(sandbox.DatabaseFile(database), id);
    }
};

} // namespace flagwright::e2e
