#pragma once

#include "ConnectionSlot.h"
#include "QtComboBox.h"
#include "QtWindowServices.h"
#include "UpdateRun.h"

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
    explicit frmMain(ConnectionFactory newConnection);

private:
    void Form_Load(const ConnectionFactory& newConnection);
    void cmdUpdate_Click();

    QGroupBox* fraInstructions_;
    QLabel* lblInstructions_;
    QLabel* lblPath_;
    QComboBox* cboDatabase_;
    QPushButton* cmdUpdate_;
    QtComboBox combo_;
    QtWindowServices window_;
    UpdateRun run_;
};

} // namespace flagwright
