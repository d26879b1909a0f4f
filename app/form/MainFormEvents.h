#pragma once

#include "platform/ComboBox.h"
#include "platform/WindowServices.h"
#include "update/UpdateRun.h"

namespace flagwright {

// What the main window frmMain does on its two events, whichever toolkit draws it: the load
// event fills cboDatabase with the databases on offer, the button runs the update on the
// name in cboDatabase.
class MainFormEvents {
public:
    MainFormEvents(ComboBox& cboDatabase, WindowServices& window, ConnectionFactory newConnection,
                   ConnectionSettings instance);

    // Once, before the window is first shown.
    void Form_Load();
    // Once per press of cmdUpdate; returns when the run has ended.
    void cmdUpdate_Click();

private:
    void LoadDatabaseList(ComboBox& combo);

    ComboBox& cboDatabase_;
    ConnectionFactory newConnection_;
    ConnectionSettings instance_;
    UpdateRun run_;
};

} // namespace flagwright
