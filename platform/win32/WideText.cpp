#include "platform/win32/WideText.h"

#include "platform/Utf16.h"

namespace flagwright {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide characters are UTF-16");

std::wstring Widen(std::string_view utf8)
{
    const std::u16string utf16 = Utf8ToUtf16(utf8);
    return std::wstring(utf16.begin(), utf16.end());
}

std::string Narrow(std::wstring_view utf16)
{
    return Utf16ToUtf8(std::u16string(utf16.begin(), utf16.end()));
}

std::string WindowText(HWND window)
{
    std::wstring text(GetWindowTextLengthW(window) + 1, L'\0');
    text.resize(GetWindowTextW(window, text.data(), static_cast<int>(text.size())));
    return Narrow(text);
}

} // namespace flagwright
