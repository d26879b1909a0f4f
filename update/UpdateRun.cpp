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

RunOutcome UpdateRun::Run(const std::string& databaseName)
{
    // Run-local: released when the run ends, on every path.
    std::optional<Recordset> rsVersion;
    std::string sCurrentVersion;
    report_ = {};
    try {
        if (databaseName.empty()) {
            window_.MsgBox("No database selected.", MsgBoxStyle::OkOnly);
            return Ended(RunOutcome::NoDatabase);
        }
        window_.SetScreenPointer(ScreenPointer::Hourglass);
        MSDEConnection(databaseName);
        if (cnDatabase_->State() != Connection::adStateOpen) {
            window_.MsgBox("Could not open the database.", MsgBoxStyle::Exclamation,
                           "Database Error");
            CloseRun();
            return Ended(RunOutcome::Failed);
        }
        rsVersion = cnDatabase_->Execute(VersionQuery);
        if (rsVersion->Eof()) {
            // The connection stays open until the next run replaces it.
            window_.MsgBox("Database is not an Emberline database.", MsgBoxStyle::Exclamation);
            window_.SetScreenPointer(ScreenPointer::Default);
            return Ended(RunOutcome::NotEmberline);
        }
        sCurrentVersion = RequiredText(rsVersion->Fields("Value").Value());
        report_.versionBefore = sCurrentVersion;
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
    // A missing table tells what the database is only before anything was written to it; a
    // correction or stamp that meets one (a trigger, a table dropped meanwhile) failed a run
    // that has already changed the database.
    return Ended(failure.Number() == failure_code::NoSuchTable && !report_.writing
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
