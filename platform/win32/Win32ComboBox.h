#pragma once

#include "platform/ComboBox.h"

#include <windows.h>

namespace flagwright {

// The operator's combo box on a Win32 COMBOBOX with an edit field (CBS_DROPDOWN), unsorted.
class Win32ComboBox : public ComboBox {
public:
    explicit Win32ComboBox(HWND combo) : combo_(combo) {}

    std::string Text() const override;
    void Clear() override;
    void AddItem(const std::string& item) override;

private:
    HWND combo_;
};

} // namespace flagwright
