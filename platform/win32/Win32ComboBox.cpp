#include "platform/win32/Win32ComboBox.h"

#include "platform/win32/WideText.h"

namespace flagwright {

std::string Win32ComboBox::Text() const { return WindowText(combo_); }

void Win32ComboBox::Clear()
{
    // Empties the list and the edit field.
    SendMessageW(combo_, CB_RESETCONTENT, 0, 0);
}

void Win32ComboBox::AddItem(const std::string& item)
{
    const std::wstring text = Widen(item);
    SendMessageW(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

} // namespace flagwright
