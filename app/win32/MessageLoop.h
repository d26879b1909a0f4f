#pragma once

#include <windows.h>

namespace flagwright {

// One message of the thread. Keys reach the window's controls as in a dialog: Tab and
// Shift+Tab move between the controls that take the focus, Space presses the button. Enter
// and Escape become IDOK and IDCANCEL commands, which no control of the window answers to.
void Dispatch(HWND window, const MSG& message);

// Dispatches the thread's messages until WM_QUIT and returns its exit code.
int RunMessageLoop(HWND window);

} // namespace flagwright
