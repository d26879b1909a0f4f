#pragma once

#include "app/form/FormDescription.h"
#include "platform/win32/Handles.h"

#include <array>
#include <string_view>

namespace flagwright {

// The controls of the form description as child windows of a Win32 window, in the
// description's tab order (Win32 tabs through sibling windows in their stacking order).
class FormControls {
public:
    explicit FormControls(HWND window);

    HWND Control(std::string_view name) const;
    // The identifier of a control's WM_COMMAND notifications. Never IDOK or IDCANCEL, which
    // the dialog keys send for Enter and Escape: the window has no default or cancel button.
    static int Id(std::string_view name);
    // The control that has the focus when the window is first shown.
    HWND FirstFocus() const;

    // Places every control and gives it the description's font, for the DPI.
    void Layout(UINT dpi);

private:
    std::array<HWND, form::Controls.size()> controls_{};
    FontHandle windowDefaultFont_;
    FontHandle boldFont_;
};

} // namespace flagwright
