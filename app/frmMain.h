#pragma once

#include "MainFormEvents.h"
#include "QtComboBox.h"
#include "QtWindowServices.h"

#include <QWidget>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace flagwright {

// The program's only window: pick or type a database and press the button to update it.
// The database list is loaded while the window is built, before it is first shown.
class frmMain : public QWidget {
public:
    // instance: the server and login that the list and every run use.
    frmMain(ConnectionFactory newConnection, ConnectionSettings instance);

private:
    QGroupBox* fraInstructions_;
    QLabel* lblInstructions_;
    QLabel* lblPath_;
    QComboBox* cboDatabase_;
    QPushButton* cmdUpdate_;
    QtComboBox combo_;
    QtWindowServices window_;
    MainFormEvents events_;
};

} // namespace flagwright
