#include "app/qt/frmMain.h"
#include "platform/Product.h"
#include "platform/WindowServices.h"
#include "platform/odbc/OdbcConnection.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(flagwright::ApplicationTitle);
    QApplication::setApplicationVersion(QStringLiteral(FLAGWRIGHT_VERSION));

    flagwright::frmMain window([] { return std::make_unique<flagwright::odbc::OdbcConnection>(); },
                               flagwright::EmberlineInstance());
    window.show();
    return QApplication::exec();
}
