#pragma once

#include "EmberlineInstance.h"
#include "Failure.h"
#include "KindCodeCorrections.h"
#include "KindsAfterUpdate.h"
#include "OdbcConnection.h"
#include "RecordingWindow.h"
#include "RunFailureMessage.h"
#include "Sandbox.h"
#include "UpdateRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace flagwright::e2e {

using testing::ChangeFile;
using testing::QueryFile;
using testing::Sandbox;

inline const std::string VersionQuery = "Select Value from Defaults where ID = 'DBVersion'";
inline const std::string NewStamp = "UPDATE Defaults SET Value = '14.01.04' WHERE ID = 'DBVersion'";

inline std::string OldStamp(const std::string& version)
{
    return "UPDATE Defaults SET Value = '" + version + "' WHERE ID = 'DBUpdateFrom'";
}

// The statements of a complete run from 14.01.03, in order.
inline std::vector<std::string> CompleteRun()
{
    std::vector<std::string> statements{VersionQuery};
    for (const KindCodeCorrection& correction : KindCodeCorrections)
        statements.push_back(CorrectionStatement(correction));
    statements.push_back(OldStamp("14.01.03"));
    statements.push_back(NewStamp);
    return statements;
}

inline std::string FailureBox(std::int32_t code)
{
    return testing::MsgBoxCall(RunFailureMessage(Failure(code, "")), 0, "Rate Update Error");
}

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

    void SetUp() override { sandbox.Control(R"({"cmd":"faults","faults":{}})"); }
    void TearDown() override
    {
        sandbox.Control(R"({"cmd":"faults","faults":{}})");
        for (const std::string& call : window.calls)
            ExpectNoPassword(call, "message");
        ExpectNoPassword(sandbox.Transcript(), "sandbox log");
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
        const auto rows = QueryFile(sandbox.DatabaseFile(database),
                                    "SELECT Value FROM Defaults WHERE ID = '" + id + "'");
        return rows.empty() ? "(no row)" : rows[0][0];
    }

    // Every L_Kind row, every column, ordered by code.
    std::vector<std::vector<std::string>> Kinds(const std::string& database) const
    {
        return KindsInFile(sandbox.DatabaseFile(database));
    }
    static std::vector<std::vector<std::string>> KindsInFile(const std::string& file)
    {
        return QueryFile(file, "SELECT KindCode, Description, Direct, LineOverhead, Active, "
                               "SortOrder, GLAccount FROM L_Kind ORDER BY KindCode");
    }
};

} // namespace flagwright::e2e
