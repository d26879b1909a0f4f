// What a current SQL Server Express, as operators install it, meets the program with that MSDE
// 2000 did not: the sandbox plays SQL Server 2019 Express, with its texts, a login's default
// database that may be gone, AUTO_CLOSE, read-only and restricted databases, and a login
// holding only the rights the program needs.
#include "discovery/OfferedDatabases.h"
#include "tests/e2e/CliProcess.h"
#include "tests/e2e/EndToEndFixture.h"

#include <fstream>

using namespace flagwright;
using namespace flagwright::e2e;

namespace {
class CurrentExpress : public EndToEnd {
protected:
    void SetUp() override
    {
        EndToEnd::SetUp();
        Settings(R"("persona": "2019")");
    }
    void TearDown() override
    {
        sandbox.Restore();
        EndToEnd::TearDown();
    }

    void Settings(const std::string& settings) const
    {
        sandbox.Control(R"({"cmd": "settings", "settings": {)" + settings + "}}");
    }

    // A marker file beside a database of the folder the instance serves.
    static void Mark(const std::string& folder, const std::string& database,
                     const std::string& marker)
    {
        std::ofstream(folder + "/" + database + "." + marker);
    }

    static std::vector<std::string> WindowList()
    {
        return OfferedDatabases([] { return std::make_unique<odbc::OdbcConnection>(); },
                                EmberlineInstance());
    }
};

// The listing names master: with the login's default database gone (dropped, offline,
// restoring), SQL Server refuses a login that names none with 4064 and 18456, but the instance
// is there, and so are its databases.
TEST_F(CurrentExpress, TheListingDoesNotDependOnTheLoginsDefaultDatabase)
{
    sandbox.ServeCopiesOf({"Emberline", "Reports"});
    Settings(R"("persona": "2019", "default_database": "E2E Gone")");
    EXPECT_EQ(WindowList(), (std::vector<std::string>{"Emberline", "Reports"}));
    EXPECT_EQ(RunCli(Cli({"check", "--all"})),
              (Finished{0, 0,
                        "Emberline: would be updated (14.01.03): 791 of 791 to change, 0 "
                        "already corrected, 0 missing\n"
                        "Reports: not an Emberline database\n"
                        "1 would be updated, 0 up to date, 0 drifted, 0 at another version, 1 "
                        "not Emberline, 0 read-only, 0 skipped, 0 failed\n",
                        ""}));
}

// A read-only copy is not updated by --all, and check tells it; an update of it by name fails
// as the server says, in SQL Server 2019's words. A restricted database admits only its owners
// and administrators.
TEST_F(CurrentExpress, ReadOnlyAndRestrictedDatabasesAreToldApart)
{
    const std::string folder = sandbox.ServeCopiesOfEmberline({"Copy", "Locked", "Plain"});
    Mark(folder, "Copy", "read-only");
    Mark(folder, "Locked", "restricted");
    EXPECT_EQ(RunCli(Cli({"update", "--all"})),
              (Finished{0, 0,
                        "Copy: skipped, read-only\n"
                        "Locked: skipped, restricted to its owners and administrators\n"
                        "Plain: updated\n"
                        "1 updated, 2 skipped, 0 failed\n",
                        "Plain: Congratulations: Update successful.\nPlain: Took N s.\n"}));
    EXPECT_EQ(RunCli(Cli({"check", "Copy"})),
              (Finished{7, 0,
                        "Copy: read-only (14.01.03): 791 of 791 to change, 0 already corrected, "
                        "0 missing\n",
                        ""}));
    const Finished update = RunCli(Cli({"update", "Copy"}));
    EXPECT_EQ(update.exitCode, 1);
    EXPECT_TRUE(update.err.starts_with("Rate Update Error: Error Number: -2147217900\n  Error "
                                       "Description: Failed to update database \"Copy\" because "
                                       "the database is read-only.\n"))
        << update.err;
    EXPECT_EQ(flagwright::testing::DefaultIn(folder + "/Copy.sqlite", "DBVersion"), "14.01.03");
}

// Express creates databases with AUTO_CLOSE on: asking about one wakes it, which takes its time
// (here 2 s). Asked all in one query, eight of them ran past the listing's deadline.
TEST_F(CurrentExpress, EachAutoClosedDatabaseIsAskedAboutInItsTurn)
{
    const std::vector<std::string> names = {"A1", "A2", "A3", "A4", "A5", "A6", "A7", "A8"};
    const std::string folder = sandbox.ServeCopiesOfEmberline(names);
    for (const std::string& name : names)
        Mark(folder, name, "auto-close");
    const Finished updated = RunCli(Cli({"update", "--all"}));
    EXPECT_EQ(updated.exitCode, 0) << updated.err;
    EXPECT_TRUE(updated.out.ends_with("\n8 updated, 0 skipped, 0 failed\n")) << updated.out;
}

// A login holding exactly the rights docs/security.md lists lists, checks and updates.
TEST_F(CurrentExpress, TheLeastRightsTheLoginNeedsAreEnough)
{
    sandbox.ServeCopiesOf({"Emberline", "EmberlineArchive", "Reports"});
    Settings(R"("persona": "2019", "least_privilege": true)");
    EXPECT_EQ(RunCli(Cli({"list"})),
              (Finished{0, 0, "Emberline\nEmberlineArchive\nReports\n", ""}));
    const Finished checked = RunCli(Cli({"check", "--all"}));
    EXPECT_EQ(checked.exitCode, 0) << checked.out << checked.err;
    EXPECT_TRUE(checked.out.ends_with("1 would be updated, 1 up to date, 0 drifted, 0 at another "
                                      "version, 1 not Emberline, 0 read-only, 0 skipped, 0 "
                                      "failed\n"))
        << checked.out;
    const Finished updated = RunCli(Cli({"update", "--all"}));
    EXPECT_EQ(updated.exitCode, 0) << updated.err;
    EXPECT_TRUE(updated.out.starts_with("Emberline: updated\n")) << updated.out;
    // And nothing more: a read of a column not granted is refused.
    ConnectionSettings settings = EmberlineInstance();
    settings.database = "Emberline";
    odbc::OdbcConnection connection;
    connection.Open(settings);
    try {
        connection.Execute("SELECT * FROM L_Kind");
        ADD_FAILURE() << "a column beyond the rights was read";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.Native(), 230) << failure.Description();
    }
}
} // namespace
