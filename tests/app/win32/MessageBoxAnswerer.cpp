#include "MessageBoxAnswerer.h"

#include "WindowQueries.h"

namespace flagwright::testing {

namespace {
MessageBoxAnswerer* current = nullptr;

// The visible dialog window of this thread: the message box.
HWND OpenBox()
{
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM result) {
            if (!IsWindowVisible(window) || ClassName(window) != L"#32770")
                return TRUE;
            *reinterpret_cast<HWND*>(result) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// The cursor a window sets for the mouse resting on its client area.
HCURSOR CursorOver(HWND window)
{
    SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor();
}

ShownBox Read(HWND box)
{
    ShownBox shown{GetWindow(box, GW_OWNER), Text(box), {}, false, 0, nullptr, nullptr};
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const auto style = static_cast<DWORD>(GetWindowLongPtrW(child, GWL_STYLE));
        if (ClassName(child) == L"Button" && IsWindowVisible(child))
            ++shown.buttons;
        else if (ClassName(child) == L"Static" && (style & SS_TYPEMASK) == SS_ICON)
            shown.icon = IsWindowVisible(child) && SendMessageW(child, STM_GETICON, 0, 0) != 0;
        else if (ClassName(child) == L"Static" && GetDlgCtrlID(child) == 0xFFFF)
            shown.text = Text(child);
    }
    shown.cursorOverOwner = CursorOver(shown.owner);
    shown.cursorOverBox = CursorOver(box);
    return shown;
}
} // namespace

MessageBoxAnswerer::MessageBoxAnswerer() : timer_(SetTimer(nullptr, 0, 20, OnTimer))
{
    current = this;
}

MessageBoxAnswerer::~MessageBoxAnswerer()
{
    KillTimer(nullptr, timer_);
    current = nullptr;
}

void CALLBACK MessageBoxAnswerer::OnTimer(HWND, UINT, UINT_PTR, DWORD)
{
    HWND box = OpenBox();
    if (!current || !box)
        return;
    current->seen.push_back(Read(box));
    SendMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
}

} // namespace flagwright::testing
