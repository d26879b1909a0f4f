#include "update/UpdateRun.h"

#include "corrections/KindCodeCorrections.h"
#include "platform/Text.h"
#include "update/RunFailureMessage.h"
#include "update/VersionGate.h"

#include <new>
#include <optional>

namespace flagwright {

namespace {
constexpr const char* NewVersionStamp =
    "UPDATE Defaults SET Value = '14.01.04' WHERE ID = 'DBVersion'";
} // namespace

UpdateRun::UpdateRun(WindowServices& window, ConnectionFactory newConnection,
                     ConnectionSettings instance)
    : window_(window), instance_(std::move(instance)), cnDatabase_(std::move(newConnection))
{}

std::optional<std::size_t> StoppedAt(const RunReport& report)
{
    if (report.failure && report.writing && report.corrections < KindCodeCorrectionCount)
        return report.corrections;
    return std::nullopt;
}

void TakeReadOnly(CheckReport& report)
{
    if (report.kindCodes)
        report.outcome = CheckOutcome::ReadOnly;
}

std::optional<Recordset> UpdateRun::Inspect(const std::string& databaseName)
{
    if (databaseName.empty()) {
        window_.MsgBox("No database selected.", MsgBoxStyle::OkOnly);
        Ended(RunOutcome::NoDatabase);
        return std::nullopt;
    }
    window_.SetScreenPointer(ScreenPointer::Hourglass);
    MSDEConnection(databaseName);
    if (cnDatabase_->State() != Connection::adStateOpen) {
        window_.MsgBox("Could not open the database.", MsgBoxStyle::Exclamation, "Database Error");
        CloseRun();
        Ended(RunOutcome::Failed);
        return std::nullopt;
    }
    Recordset rsVersion = cnDatabase_->Execute(VersionQuery);
    if (rsVersion.Eof()) {
        // The connection stays open until the next run replaces it.
        window_.MsgBox("Database is not an Emberline database.", MsgBoxStyle::Exclamation);
        window_.SetScreenPointer(ScreenPointer::Default);
        Ended(RunOutcome::NotEmberline);
        return std::nullopt;
    }
    report_.versionBefore = RequiredText(rsVersion.Fields("Value").Value());
    return rsVersion;
}

RunOutcome UpdateRun::Run(const std::string& databaseName)
{
    report_ = {};
    try {
        // Run-local: released when the run ends, on every path.
        const std::optional<Recordset> rsVersion = Inspect(databaseName);
        if (!rsVersion)
            return report_.outcome;
        const std::string sCurrentVersion = *report_.versionBefore;
        if (!PassesVersionGate(rsVersion->Fields("Value").Value())) {
            CloseRun();
            return Ended(RunOutcome::RefusedByGate);
        }
        // Quotes doubled, so the row receives exactly the text read.
        const std::string oldVersionStamp = "UPDATE Defaults SET Value = '" +
                                            WithDoubled(sCurrentVersion, '\'') +
                                            "' WHERE ID = 'DBUpdateFrom'";
        // A stamp that could not reach the server whole would fail only after every
        // correction, and again on every later run: refuse before changing anything.
        if (!IsCarriedExactly(oldVersionStamp))
            throw layer_failure::InvalidArguments();
        report_.writing = true;
        ApplyKindCodeCorrections(cnDatabase_, report_.corrections);
        cnDatabase_->Execute(oldVersionStamp);
        cnDatabase_->Execute(NewVersionStamp);
        report_.stamped = true;
        window_.MsgBox("Update successful.", MsgBoxStyle::Information, "Congratulations");
        CloseRun();
        return Ended(RunOutcome::Updated);
    } catch (const Failure& failure) {
        return ReportRunFailure(failure);
    } catch (const std::bad_alloc&) {
        return ReportRunFailure(Failure(failure_code::OutOfMemory, "Out of memory"));
    }
}

CheckReport UpdateRun::Check(const std::string& databaseName)
{
    report_ = {};
    CheckReport check;
    try {
        if (Inspect(databaseName)) {
            check.version = report_.versionBefore;
            // The gate's own reading: a version it cannot read fails the check as it fails a
            // run, and 14.1.4 or a padded "14.01.04  " is the updated version as much as
            // 14.01.04 is.
            const VersionNumbers read = ReadVersion(*check.version);
            const bool updatable = read == UpdatableNumbers;
            if (updatable || read == UpdatedNumbers) {
                check.kindCodes = CompareWithCorrections(cnDatabase_->Execute(KindCodeFlagsQuery));
                check.outcome = updatable                        ? CheckOutcome::WouldUpdate
                                : check.kindCodes->toChange == 0 ? CheckOutcome::UpToDate
                                                                 : CheckOutcome::Drifted;
            } else {
                check.outcome = CheckOutcome::OtherVersion;
            }
        } else if (report_.outcome != RunOutcome::Failed) {
            check.outcome = report_.outcome == RunOutcome::NoDatabase ? CheckOutcome::NoDatabase
                                                                      : CheckOutcome::NotEmberline;
        }
    } catch (const Failure& failure) {
        if (ReportRunFailure(failure) == RunOutcome::NotEmberline)
            check.outcome = CheckOutcome::NotEmberline;
        else
            check.failure = failure;
    } catch (const std::bad_alloc&) {
        check.failure = Failure(failure_code::OutOfMemory, "Out of memory");
        ReportRunFailure(*check.failure);
    }
    CloseRun(); // a check leaves no connection behind, whatever it found
    return check;
}

void UpdateRun::MSDEConnection(const std::string& databaseName)
{
    Connection& connection = cnDatabase_.Renew();
    ConnectionSettings settings = instance_;
    settings.database = databaseName; // exactly as typed: the layer quotes it for its driver
    window_.SetScreenPointer(ScreenPointer::Hourglass);
    connection.Open(settings);
}

bool UpdateRun::PassesVersionGate(const Variant& sDBVer)
{
    if (IsUpdatableVersion(RequiredText(sDBVer)))
        return true;
    window_.MsgBox("This database does not need to be updated.\r\n\r\n"
                   "This update is only necessary for database version 14.01.03 ",
                   MsgBoxStyle::OkOnly, "Emberline Flagwright Message");
    return false;
}

void UpdateRun::CloseRun()
{
    CloseOpenConnection();
    window_.SetScreenPointer(ScreenPointer::Default);
}

RunOutcome UpdateRun::ReportRunFailure(const Failure& failure)
{
    report_.failure = failure;
    window_.SetScreenPointer(ScreenPointer::Default);
    const std::string sErrMsg = RunFailureMessage(failure);
    window_.MsgBox(sErrMsg, MsgBoxStyle::OkOnly, "Rate Update Error");
    CloseOpenConnection();
    // A missing table tells what the database is only for the version query; one that a later
    // statement meets (L_Kind missing, a trigger, a table dropped meanwhile) failed a run that
    // may already have changed the database, or a check of a database at its version.
    return Ended(failure.Number() == failure_code::NoSuchTable && !report_.versionBefore
                     ? RunOutcome::NotEmberline
                     : RunOutcome::Failed);
}

RunOutcome UpdateRun::Ended(RunOutcome outcome)
{
    report_.outcome = outcome;
    return outcome;
}

void UpdateRun::CloseOpenConnection()
{
    if (cnDatabase_->State() != Connection::adStateOpen)
        return;
    try {
        cnDatabase_->Close();
    } catch (const Failure&) {
        // A connection that cannot even be closed is of no further use: drop it regardless.
    }
    cnDatabase_.Release();
}

} // namespace flagwright
