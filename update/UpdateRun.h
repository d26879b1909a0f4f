#pragma once

#include "ConnectionSlot.h"
#include "Failure.h"
#include "WindowServices.h"

#include <string>

namespace flagwright {

// What pressing the update button does: check the selection, connect, gate the schema
// version, apply the kind code corrections, stamp the old and new version, and report the
// outcome. Holds the window-level connection and the last failure message for the window's
// lifetime.
class UpdateRun {
public:
    UpdateRun(ComboBox& cboDatabase, WindowServices& window, ConnectionFactory newConnection);

    void cmdUpdate_Click();

    ConnectionSlot& cnDatabase() { return cnDatabase_; }
    const std::string& sErrMsg() const { return sErrMsg_; }

private:
    void MSDEConnection();
    bool UpdateDB(const Variant& sDBVer);
    void CloseRun();
    void ReportRunFailure(const Failure& failure);
    void CloseOpenConnection();

    ComboBox& cboDatabase_;
    WindowServices& window_;
    ConnectionSlot cnDatabase_;
    std::string sErrMsg_;
};

} // namespace flagwright
