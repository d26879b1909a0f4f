#pragma once

#include "app/form/MainFormEvents.h"
#include "app/win32/FormControls.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32ComboBox.h"
#include "platform/win32/Win32WindowServices.h"

#include <string_view>

namespace flagwright {

// The program's only window on Win32: pick or type a database and press the button to update
// it. Its controls are built from the form description; the database list is loaded while the
// window is built, before it is first shown. Destroying the window ends the message loop.
class frmMain {
public:
    // instance: the server and login that the list and every run use.
    frmMain(ConnectionFactory newConnection, ConnectionSettings instance);
    ~frmMain();
    frmMain(const frmMain&) = delete;
    frmMain& operator=(const frmMain&) = delete;

    // The top-level window, hidden until shown; null once it has been destroyed.
    HWND Handle() const { return window_.get(); }
    HWND Control(std::string_view name) const { return controls_.Control(name); }

private:
    static const wchar_t* WindowClass();
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void OnDpiChanged(UINT dpi, const RECT& suggested);

    WindowHandle window_;
    FormControls controls_;
    HWND focus_; // the control given the focus whenever the window is activated
    Win32ComboBox combo_;
    Win32WindowServices services_;
    MainFormEvents events_;
};

} // namespace flagwright
