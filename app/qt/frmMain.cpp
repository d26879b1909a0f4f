#include "app/qt/frmMain.h"

#include "app/qt/QtControls.h"

#include <QComboBox>
#include <QIcon>
#include <QPushButton>
#include <QScreen>

namespace flagwright {

frmMain::frmMain(ConnectionFactory newConnection, ConnectionSettings instance)
    : controls_(BuildControls(*this)),
      combo_(*static_cast<QComboBox*>(controls_.at(form::cboDatabase))), window_(this),
      events_(combo_, window_, std::move(newConnection), std::move(instance))
{
    setObjectName(ToQString(form::frmMain));
    setFont(ToQFont(form::WindowDefaultFont));
    setWindowTitle(ToQString(form::Caption));
    setWindowIcon(QIcon(QStringLiteral(":/flagwright.ico")));
    resize(TwipsRect(*this, form::ClientArea).size());
    move(screen()->availableGeometry().center() - rect().center());

    connect(static_cast<QPushButton*>(controls_.at(form::cmdUpdate)), &QPushButton::clicked, this,
            [this] { events_.cmdUpdate_Click(); });

    events_.Form_Load();
}

} // namespace flagwright
