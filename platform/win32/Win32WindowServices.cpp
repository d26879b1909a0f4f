#include "platform/win32/Win32WindowServices.h"
#include "platform/Product.h"

#include "platform/win32/WideText.h"

namespace flagwright {

static_assert(static_cast<UINT>(MsgBoxStyle::OkOnly) == MB_OK &&
              static_cast<UINT>(MsgBoxStyle::Exclamation) == (MB_OK | MB_ICONEXCLAMATION) &&
              static_cast<UINT>(MsgBoxStyle::Information) == (MB_OK | MB_ICONINFORMATION));

void Win32WindowServices::MsgBox(const std::string& prompt, MsgBoxStyle style,
                                 const std::optional<std::string>& title)
{
    MessageBoxW(owner_, Widen(prompt).c_str(), Widen(title.value_or(ApplicationTitle)).c_str(),
                static_cast<UINT>(style));
}

void Win32WindowServices::SetScreenPointer(ScreenPointer pointer)
{
    pointer_ = pointer;
    // Windows asks for the cursor only when the mouse moves; ask the window under it now.
    POINT at;
    if (!GetCursorPos(&at))
        return;
    HWND under = WindowFromPoint(at);
    if (!under || GetWindowThreadProcessId(under, nullptr) != GetCurrentThreadId())
        return;
    const LPARAM point = MAKELPARAM(static_cast<SHORT>(at.x), static_cast<SHORT>(at.y));
    const auto hit = static_cast<WORD>(SendMessageW(under, WM_NCHITTEST, 0, point));
    SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under),
                 MAKELPARAM(hit, WM_MOUSEMOVE));
}

bool Win32WindowServices::ShowBusyCursor() const
{
    if (pointer_ != ScreenPointer::Hourglass)
        return false;
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    return true;
}

} // namespace flagwright
