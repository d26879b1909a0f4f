#include "update/UpdateRun.h"

#include "corrections/KindCodeCorrections.h"
#include "platform/Text.h"
#include "update/RunFailureMessage.h"
#include "update/VersionGate.h"

#include <new>
#include <optional>

namespace flagwright {

namespace {
constexpr const char* VersionQuery = "Select Value from Defaults where ID = 'DBVersion'";
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
    bool changing = false; // a statement that writes has been sent
    try {
        if (databaseName.empty()) {
            window_.MsgBox("No database selected.", MsgBoxStyle::OkOnly);
            return RunOutcome::NoDatabase;
        }
        window_.SetScreenPointer(ScreenPointer::Hourglass);
        MSDEConnection(databaseName);
        if (cnDatabase_->State() != Connection::adStateOpen) {
            window_.MsgBox("Could not open the database.", MsgBoxStyle::Exclamation,
                           "Database Error");
            CloseRun();
            return RunOutcome::Failed;
        }
        rsVersion = cnDatabase_->Execute(VersionQuery);
        if (rsVersion->Eof()) {
            // The connection stays open until the next run replaces it.
            window_.MsgBox("Database is not an Emberline database.", MsgBoxStyle::Exclamation);
            window_.SetScreenPointer(ScreenPointer::Default);
            return RunOutcome::NotEmberline;
        }
        sCurrentVersion = RequiredText(rsVersion->Fields("Value").Value());
        if (!PassesVersionGate(rsVersion->Fields("Value").Value())) {
            CloseRun();
            return RunOutcome::RefusedByGate;
        }
        // Quotes doubled, so the row receives exactly the text read.
        const std::string oldVersionStamp = "UPDATE Defaults SET Value = '" +
                                            WithDoubled(sCurrentVersion, '\'') +
                                            "' WHERE ID = 'DBUpdateFrom'";
        // A stamp that could not reach the server whole would fail only after every
        // correction, and again on every later run: refuse before changing anything.
        if (!IsCarriedExactly(oldVersionStamp))
            throw layer_failure::InvalidArguments();
        changing = true;
        ApplyKindCodeCorrections(cnDatabase_);
        cnDatabase_->Execute(oldVersionStamp);
        cnDatabase_->Execute(NewVersionStamp);
        window_.MsgBox("Update successful.", MsgBoxStyle::Information, "Congratulations");
        CloseRun();
        return RunOutcome::Updated;
    } catch (const Failure& failure) {
        return ReportRunFailure(failure, changing);
    } catch (const std::bad_alloc&) {
        return ReportRunFailure(Failure(failure_code::OutOfMemory, "Out of memory"), changing);
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

RunOutcome UpdateRun::ReportRunFailure(const Failure& failure, bool changing)
{
    window_.SetScreenPointer(ScreenPointer::Default);
    const std::string sErrMsg = RunFailureMessage(failure);
    window_.MsgBox(sErrMsg, MsgBoxStyle::OkOnly, "Rate Update Error");
    CloseOpenConnection();
    // A missing table tells what the database is only before anything was written to it; a
    // correction or stamp that meets one (a trigger, a table dropped meanwhile) failed a run
    // that has already changed the database.
    return failure.Number() == failure_code::NoSuchTable && !changing ? RunOutcome::NotEmberline
                                                                      : RunOutcome::Failed;
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
