#include "app/win32/MessageLoop.h"
#include "app/win32/frmMain.h"
#include "platform/Product.h"
#include "platform/odbc/OdbcConnection.h"

// The program reads no arguments: the instance, the login and the rest are fixed.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand)
{
    flagwright::frmMain window([] { return std::make_unique<flagwright::odbc::OdbcConnection>(); },
                               flagwright::EmberlineInstance());
    ShowWindow(window.Handle(), showCommand);
    return flagwright::RunMessageLoop(window.Handle());
}
