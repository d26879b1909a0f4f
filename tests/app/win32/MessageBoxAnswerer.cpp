#include "tests/app/win32/MessageBoxAnswerer.h"

#include "tests/app/win32/WindowQueries.h"

namespace flagwright::testing {

namespace {
MessageBoxAnswerer* current = nullptr;

// The cursor a window sets for the mouse resting on its client area.
HCURSOR CursorOver(HWND window)
{
    SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor();
}

ShownBox Read(HWND box)
{
    const BoxContents contents = ReadBox(box);
    ShownBox shown{GetWindow(box, GW_OWNER), contents.title, contents.text, contents.icon,
                   contents.buttons,         nullptr,        nullptr};
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
    HWND box = FirstVisibleDialog(GetCurrentThreadId());
    if (!current || !box)
        return;
    current->seen.push_back(Read(box));
    SendMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
}

} // namespace flagwright::testing
