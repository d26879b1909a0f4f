#include "corrections/KindCodeCorrections.h"
#include "platform/Product.h"
#include "tests/support/RecordingWindow.h"
#include "tests/support/ScriptedConnection.h"
#include "update/UpdateRun.h"
#include "update/VersionGate.h"

#include <gtest/gtest.h>

using namespace flagwright;
using namespace flagwright::testing;

namespace {
// L_Kind as a complete update leaves it, but for `change` applied to the row of the first code.
Recordset KindCodeRows(const std::function<void(std::vector<Variant>&)>& change = {})
{
    std::vector<std::vector<Variant>> rows;
    for (const KindCodeCorrection& correction : KindCodeCorrections)
        rows.push_back({std::string(correction.KindCode), std::to_string(correction.Direct),
                        std::to_string(correction.LineOverhead)});
    if (change)
        change(rows.front());
    return Recordset({"KindCode", "Direct", "LineOverhead"}, std::move(rows));
}

std::string Flipped(const Variant& flag) { return *flag == "1" ? "0" : "1"; }

// A check on database "Db" through the scripted connections; the run's messages go to window.
CheckReport Checked(const std::shared_ptr<ConnectionScript>& script, RecordingWindow& window)
{
    return UpdateRun(window, ScriptedConnection::Factory(script), EmberlineInstance()).Check("Db");
}

struct Case {
    const char* situation;
    Variant version; // the version row's value; none: no row
    Recordset kindCodes;
    CheckOutcome outcome;
    std::size_t toChange;     // where the flags were read
    std::int32_t failure = 0; // the code of a check that failed
};
} // namespace

// The check reads the version as the gate does and counts both flags of every code; it sends
// the two reads only, and the second only where the version asks for it.
TEST(UpdateRunCheck, ReadsTheVersionAsTheGateAndCountsBothFlags)
{
    const Recordset corrected = KindCodeRows();
    const Recordset directChanged = KindCodeRows([](auto& row) { row[1] = Flipped(row[1]); });
    const Recordset overheadChanged = KindCodeRows([](auto& row) { row[2] = Flipped(row[2]); });
    const Case cases[] = {
        {"at 14.01.03", "14.01.03", directChanged, CheckOutcome::WouldUpdate, 1},
        {"updated", "14.01.04", corrected, CheckOutcome::UpToDate, 0},
        {"Direct changed since", "14.01.04", directChanged, CheckOutcome::Drifted, 1},
        {"LineOverhead changed since", "14.01.04", overheadChanged, CheckOutcome::Drifted, 1},
        {"written without zeros", "14.1.4", overheadChanged, CheckOutcome::Drifted, 1},
        {"padded by a char column", "14.01.04  ", directChanged, CheckOutcome::Drifted, 1},
        {"a fourth part", "14.01.04.7", corrected, CheckOutcome::UpToDate, 0},
        {"another version", "14.01.05", corrected, CheckOutcome::OtherVersion, 0},
        {"one part", "14", corrected, CheckOutcome::Failed, 0, failure_code::SubscriptOutOfRange},
        {"no version row", std::nullopt, corrected, CheckOutcome::NotEmberline, 0},
    };
    for (const Case& c : cases) {
        auto script = std::make_shared<ConnectionScript>();
        script->versionResult = c.version ? VersionRows({c.version}) : VersionRows({});
        script->answers = {{KindCodeFlagsQuery, c.kindCodes, std::nullopt}};
        RecordingWindow window;
        const CheckReport report = Checked(script, window);
        EXPECT_EQ(report.outcome, c.outcome) << c.situation;
        const bool counted = c.outcome == CheckOutcome::WouldUpdate ||
                             c.outcome == CheckOutcome::UpToDate ||
                             c.outcome == CheckOutcome::Drifted;
        ASSERT_EQ(report.kindCodes.has_value(), counted) << c.situation;
        if (counted) {
            EXPECT_EQ(report.kindCodes->toChange, c.toChange) << c.situation;
            EXPECT_EQ(report.kindCodes->corrected, KindCodeCorrectionCount - c.toChange)
                << c.situation;
        }
        EXPECT_EQ(report.failure ? report.failure->Number() : 0, c.failure) << c.situation;
        std::vector<std::string> sent = {VersionQuery};
        if (counted)
            sent.emplace_back(KindCodeFlagsQuery);
        EXPECT_EQ(script->statements, sent) << c.situation;
        EXPECT_EQ(script->live, 0) << c.situation;
    }
}

// A failure of either read is the check's failure, with the message an update shows; a missing
// table for the version query tells that it is no Emberline database, one for the flags fails.
TEST(UpdateRunCheck, FailsAsTheUpdateWouldFail)
{
    const Failure noTable(failure_code::NoSuchTable, "Invalid object name 'L_Kind'.");
    const Failure lockTimeout(failure_code::StatementError,
                              "Lock request time out period exceeded.");
    const struct {
        const char* failingQuery;
        Failure failure;
        CheckOutcome outcome;
        std::string message;
    } rows[] = {
        {VersionQuery, noTable, CheckOutcome::NotEmberline,
         "Database is not an Emberline database.  Please select another database."},
        {KindCodeFlagsQuery, noTable, CheckOutcome::Failed,
         "Database is not an Emberline database.  Please select another database."},
        {KindCodeFlagsQuery, lockTimeout, CheckOutcome::Failed,
         "Error Number: -2147217900\r\nError Description: Lock request time out period "
         "exceeded."},
    };
    for (const auto& row : rows) {
        auto script = std::make_shared<ConnectionScript>();
        script->versionResult = VersionRows({"14.01.03"});
        script->answers = {{row.failingQuery, {}, row.failure}};
        RecordingWindow window;
        const CheckReport report = Checked(script, window);
        EXPECT_EQ(report.outcome, row.outcome) << row.failingQuery;
        EXPECT_EQ(window.Messages(),
                  std::vector<std::string>{MsgBoxCall(row.message, 0, "Rate Update Error")})
            << row.failingQuery;
        EXPECT_EQ(script->live, 0);
    }
}
