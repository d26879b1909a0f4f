#include "update/DatabaseCheck.h"

#include "update/RunFailureMessage.h"
#include "update/VersionGate.h"

#include <new>

namespace flagwright {

namespace {

void Read(Connection& connection, CheckReport& report)
{
    const Recordset version = connection.Execute(VersionQuery);
    if (version.Eof()) {
        report.outcome = CheckOutcome::NotEmberline;
        return;
    }
    report.version = RequiredText(version.Fields("Value").Value());
    // The gate's own reading: a version it cannot read fails the check as it fails a run, and
    // 14.1.4 or a padded "14.01.04  " is the updated version as much as 14.01.04 is.
    const bool updatable = IsUpdatableVersion(*report.version);
    if (!updatable && !IsUpdatedVersion(*report.version)) {
        report.outcome = CheckOutcome::OtherVersion;
        return;
    }
    report.kindCodes = CompareWithCorrections(connection.Execute(KindCodeFlagsQuery));
    if (updatable)
        report.outcome = CheckOutcome::WouldUpdate;
    else
        report.outcome =
            report.kindCodes->toChange == 0 ? CheckOutcome::UpToDate : CheckOutcome::Drifted;
}

void Failed(CheckReport& report, const Failure& failure)
{
    // As in a run: a missing table for the version query tells that it is no Emberline
    // database; L_Kind missing from a database at one of the versions is a failure.
    if (failure.Number() == failure_code::NoSuchTable && !report.version) {
        report.outcome = CheckOutcome::NotEmberline;
        return;
    }
    report.outcome = CheckOutcome::Failed;
    report.failure = failure;
    report.message = RunFailureMessage(failure);
}
} // namespace

void TakeReadOnly(CheckReport& report)
{
    if (report.kindCodes)
        report.outcome = CheckOutcome::ReadOnly;
}

CheckReport CheckDatabase(const ConnectionFactory& newConnection,
                          const ConnectionSettings& instance, const std::string& databaseName)
{
    CheckReport report;
    if (databaseName.empty()) {
        report.outcome = CheckOutcome::NoDatabase;
        return report;
    }
    try {
        const std::unique_ptr<Connection> connection = newConnection();
        ConnectionSettings settings = instance;
        settings.database = databaseName;
        connection->Open(settings);
        if (connection->State() != Connection::adStateOpen) {
            report.message = "Could not open the database.";
            return report;
        }
        Read(*connection, report); // released, and so closed, as it goes out of scope
    } catch (const Failure& failure) {
        Failed(report, failure);
    } catch (const std::bad_alloc&) {
        Failed(report, Failure(failure_code::OutOfMemory, "Out of memory"));
    }
    return report;
}

} // namespace flagwright
