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

} // namespace flagwright::testing
