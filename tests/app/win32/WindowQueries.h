#pragma once

#include <windows.h>

#include <string>

namespace flagwright::testing {

// A window's text as the window system gives it, read without the program's own conversions.
inline std::wstring Text(HWND window)
{
    std::wstring text(GetWindowTextLengthW(window) + 1, L'\0');
    text.resize(GetWindowTextW(window, text.data(), static_cast<int>(text.size())));
    return text;
}

inline std::wstring ClassName(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

// What a message box shows: its title, its text, whether an icon, how many buttons.
struct BoxContents {
    std::wstring title;
    std::wstring text;
    bool icon = false;
    int buttons = 0;
};

// Ends the enumeration at the first visible dialog window and keeps it in *result. A function
// of its own, not a lambda: 32-bit Windows calls it with the stdcall convention.
inline BOOL CALLBACK TakeVisibleDialog(HWND window, LPARAM result)
{
    if (!IsWindowVisible(window) || ClassName(window) != L"#32770")
        return TRUE;
    *reinterpret_cast<HWND*>(result) = window;
    return FALSE;
}

// The first visible dialog window, a message box, of one thread; of the whole desktop for 0.
inline HWND FirstVisibleDialog(DWORD thread)
{
    HWND found = nullptr;
    const WNDENUMPROC take = TakeVisibleDialog;
    if (thread)
        EnumThreadWindows(thread, take, reinterpret_cast<LPARAM>(&found));
    else
        EnumWindows(take, reinterpret_cast<LPARAM>(&found));
    return found;
}

inline BoxContents ReadBox(HWND box)
{
    BoxContents shown;
    shown.title = Text(box);
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const auto style = static_cast<DWORD>(GetWindowLongPtrW(child, GWL_STYLE));
        if (ClassName(child) == L"Button" && IsWindowVisible(child))
            ++shown.buttons;
        else if (ClassName(child) == L"Static" && (style & SS_TYPEMASK) == SS_ICON)
            shown.icon = IsWindowVisible(child) && SendMessageW(child, STM_GETICON, 0, 0) != 0;
        else if (ClassName(child) == L"Static" && GetDlgCtrlID(child) == 0xFFFF)
            shown.text = Text(child);
    }
    return shown;
}

} // namespace flagwright::testing
