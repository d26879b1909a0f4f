#include "UpdateRun.h"

#include "DoubledText.h"
#include "InstanceConnectionString.h"
#include "KindCodeCorrections.h"
#include "RunFailureMessage.h"
#include "VersionGate.h"

#include <new>
#include <optional>

namespace flagwright {

namespace {
constexpr const char* VersionQuery = "Select Value from Defaults where ID = 'DBVersion'";
constexpr const char* NewVersionStamp =
    "UPDATE Defaults SET Value = '14.01.04' WHERE ID = 'DBVersion'";
} // namespace

UpdateRun::UpdateRun(ComboBox& cboDatabase, WindowServices& window, ConnectionFactory newConnection)
    : cboDatabase_(cboDatabase), window_(window), cnDatabase_(std::move(newConnection))
{}

void UpdateRun::cmdUpdate_Click()
{
    // Run-local: released when the run ends, on every path.
    std::optional<Recordset> rsVersion;
    std::string sCurrentVersion;
    try {
        if (cboDatabase_.Text().empty()) {
            window_.MsgBox("No database selected.", MsgBoxStyle::OkOnly);
            return;
        }
        window_.SetScreenPointer(ScreenPointer::Hourglass);
        MSDEConnection();
        if (cnDatabase_->State() != Connection::adStateOpen) {
            window_.MsgBox("Could not open the database.", MsgBoxStyle::Exclamation,
                           "Database Error");
            CloseRun();
            return;
        }
        rsVersion = cnDatabase_->Execute(VersionQuery);
        if (rsVersion->Eof()) {
            // The connection stays open until the next run replaces it.
            window_.MsgBox("Database is not an Emberline database.", MsgBoxStyle::Exclamation);
            window_.SetScreenPointer(ScreenPointer::Default);
            return;
        }
        sCurrentVersion = VersionText(rsVersion->Fields("Value").Value());
        if (!UpdateDB(rsVersion->Fields("Value").Value())) {
            CloseRun();
            return;
        }
        ApplyKindCodeCorrections(cnDatabase_);
        // Quotes doubled, so the row receives exactly the text read.
        cnDatabase_->Execute("UPDATE Defaults SET Value = '" + WithDoubled(sCurrentVersion, '\'') +
                             "' WHERE ID = 'DBUpdateFrom'");
        cnDatabase_->Execute(NewVersionStamp);
        window_.MsgBox("Update successful.", MsgBoxStyle::Information, "Congratulations");
        CloseRun();
    } catch (const Failure& failure) {
        ReportRunFailure(failure);
    } catch (const std::bad_alloc&) {
        ReportRunFailure(Failure(7, "Out of memory"));
    }
}

void UpdateRun::MSDEConnection()
{
    Connection& connection = cnDatabase_.Renew();
    connection.ConnectionString(MSDEConnectionString(cboDatabase_.Text()));
    window_.SetScreenPointer(ScreenPointer::Hourglass);
    connection.Open();
}

bool UpdateRun::UpdateDB(const Variant& sDBVer)
{
    if (IsUpdatableVersion(VersionText(sDBVer)))
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

void UpdateRun::ReportRunFailure(const Failure& failure)
{
    window_.SetScreenPointer(ScreenPointer::Default);
    sErrMsg_ = RunFailureMessage(failure);
    window_.MsgBox(sErrMsg_, MsgBoxStyle::OkOnly, "Rate Update Error");
    CloseOpenConnection();
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
