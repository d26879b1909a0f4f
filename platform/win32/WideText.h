#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace flagwright {

// The program's UTF-8 text as Windows' UTF-16 and back, as Utf16.h converts it.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

// A window's text (a control's caption, a combo box's text field), as UTF-8.
std::string WindowText(HWND window);

} // namespace flagwright
