#pragma once

#include "app/form/MainFormEvents.h"
#include "platform/qt/QtComboBox.h"
#include "platform/qt/QtWindowServices.h"

#include <QWidget>

#include <map>
#include <string_view>

namespace flagwright {

// The program's only window: pick or type a database and press the button to update it.
// Its controls are built from the form description; the database list is loaded while the
// window is built, before it is first shown.
class frmMain : public QWidget {
public:
    // instance: the server and login that the list and every run use.
    frmMain(ConnectionFactory newConnection, ConnectionSettings instance);

private:
    std::map<std::string_view, QWidget*> controls_;
    QtComboBox combo_;
    QtWindowServices window_;
    MainFormEvents events_;
};

} // namespace flagwright
