#include "app/win32/frmMain.h"

#include "app/win32/Dpi.h"
#include "app/win32/Resources.h"
#include "platform/win32/WideText.h"

#include <commctrl.h>

namespace flagwright {

namespace {
constexpr DWORD Style = WS_OVERLAPPEDWINDOW;

HWND NewMainWindow(const wchar_t* windowClass)
{
    return CreateWindowExW(0, windowClass, Widen(form::Caption).c_str(), Style, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

// The client area of the description, centred on the work area of the window's monitor.
void SizeAndCentre(HWND window, UINT dpi)
{
    const int pixelsPerInch = static_cast<int>(dpi);
    const form::Pixels client = form::ToPixels(form::ClientArea, pixelsPerInch, pixelsPerInch);
    RECT frame{0, 0, client.width, client.height};
    AdjustWindowRectForDpi(frame, Style, dpi);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& work = monitor.rcWork;
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    SetWindowPos(window, nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}
} // namespace

frmMain::frmMain(ConnectionFactory newConnection, ConnectionSettings instance)
    : window_(NewMainWindow(WindowClass())), controls_(Handle()), focus_(controls_.FirstFocus()),
      combo_(Control(form::cboDatabase)), services_(Handle()),
      events_(combo_, services_, std::move(newConnection), std::move(instance))
{
    const UINT dpi = WindowDpi(Handle());
    controls_.Layout(dpi);
    SizeAndCentre(Handle(), dpi);
    events_.Form_Load();
    // From here on the window's messages reach this object, which is now whole.
    SetWindowLongPtrW(Handle(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

frmMain::~frmMain()
{
    // The window and its controls go before the fonts they use.
    window_.reset();
}

const wchar_t* frmMain::WindowClass()
{
    static const ATOM registered = [] {
        const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        HINSTANCE program = GetModuleHandleW(nullptr);
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = WindowProc;
        windowClass.hInstance = program;
        windowClass.hIcon = LoadIconW(program, MAKEINTRESOURCEW(IDI_FLAGWRIGHT));
        windowClass.hIconSm = static_cast<HICON>(LoadImageW(
            program, MAKEINTRESOURCEW(IDI_FLAGWRIGHT), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
            GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = L"Flagwright.frmMain";
        return RegisterClassExW(&windowClass);
    }();
    return MAKEINTATOM(registered);
}

LRESULT CALLBACK frmMain::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Messages sent while the window is being built go to the defaults.
    auto* self = reinterpret_cast<frmMain*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return self ? self->OnMessage(window, message, wParam, lParam)
                : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT frmMain::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == FormControls::Id(form::cmdUpdate) && HIWORD(wParam) == BN_CLICKED) {
            events_.cmdUpdate_Click();
            return 0;
        }
        break;
    case WM_SETCURSOR:
        if (services_.ShowBusyCursor())
            return TRUE;
        break;
    case WM_ACTIVATE:
        // Like a dialog, the window gives the focus back to the control that last had it.
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focused = GetFocus();
            if (focused && IsChild(window, focused))
                focus_ = focused;
        }
        break;
    case WM_SETFOCUS:
        SetFocus(focus_);
        return 0;
    case WM_DPICHANGED:
        OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY:
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        window_.release();
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void frmMain::OnDpiChanged(UINT dpi, const RECT& suggested)
{
    controls_.Layout(dpi);
    SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace flagwright
