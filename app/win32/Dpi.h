#pragma once

#include <windows.h>

namespace flagwright {

// The DPI a window is laid out for and the frame it gets at that DPI. Windows 10 1607 and later
// say it per window (per-monitor DPI); Windows 7 to 10 1511 lack those functions, so they are
// looked up at run time, and there the system DPI stands in: the one Windows 7 lays every
// window out for.
UINT WindowDpi(HWND window);
UINT SystemDpi(HWND window);

// The window rectangle around a client rectangle, with the frame of a window of that style.
void AdjustWindowRectForDpi(RECT& rect, DWORD style, UINT dpi);

} // namespace flagwright
