#include "app/win32/Dpi.h"

namespace flagwright {

namespace {
// Declared here: the headers hide what is newer than the Windows 7 the program is built for.
using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

// A function of user32, or null where this Windows has none of that name.
template <typename Function>
Function User32Function(const char* name)
{
    const FARPROC found = GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
    // Through a function type without parameters, which every function pointer converts to.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}
} // namespace

UINT WindowDpi(HWND window)
{
    static const auto getDpiForWindow = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    return getDpiForWindow ? getDpiForWindow(window) : SystemDpi(window);
}

UINT SystemDpi(HWND window)
{
    HDC device = GetDC(window);
    const int dpi = GetDeviceCaps(device, LOGPIXELSY);
    ReleaseDC(window, device);
    return static_cast<UINT>(dpi);
}

void AdjustWindowRectForDpi(RECT& rect, DWORD style, UINT dpi)
{
    static const auto adjustForDpi =
        User32Function<AdjustWindowRectExForDpiFunction>("AdjustWindowRectExForDpi");
    if (adjustForDpi)
        adjustForDpi(&rect, style, FALSE, 0, dpi);
    else
        AdjustWindowRectEx(&rect, style, FALSE, 0);
}

} // namespace flagwright
