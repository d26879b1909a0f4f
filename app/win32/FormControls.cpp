#include "app/win32/FormControls.h"

#include "platform/win32/WideText.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace flagwright {

namespace {
constexpr int FirstId = 100;

struct WindowClass {
    const wchar_t* name;
    DWORD style;
};

WindowClass ClassOf(const form::Control& control)
{
    switch (control.kind) {
    case form::Kind::Frame:
        return {L"BUTTON", BS_GROUPBOX};
    case form::Kind::Label: {
        const DWORD align = control.alignment == form::Alignment::Centre ? SS_CENTER : SS_LEFT;
        return {L"STATIC", align | SS_NOPREFIX};
    }
    case form::Kind::ComboBox:
        return {L"COMBOBOX", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL};
    case form::Kind::PushButton:
        return {L"BUTTON", BS_PUSHBUTTON};
    }
    return {};
}

std::size_t IndexOf(std::string_view name)
{
    const auto found = std::find_if(form::Controls.begin(), form::Controls.end(),
                                    [name](const form::Control& c) { return c.name == name; });
    return static_cast<std::size_t>(std::distance(form::Controls.begin(), found));
}

// A drop-down combo box sizes its closed field to its font; the description sets the height,
// through the field's item height. What that height adds to the field is the system's (Wine
// reads back 2 more than it was given), so the height is corrected until the field fits.
// The height the window is given beyond the field is its list's: room for a dozen names.
void PlaceComboBox(HWND combo, const form::Pixels& place)
{
    MoveWindow(combo, place.left, place.top, place.width, 9 * place.height, TRUE);
    LRESULT item = SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
    for (int attempt = 0; attempt < 3; ++attempt) {
        RECT field;
        GetWindowRect(combo, &field);
        const int missing = place.height - (field.bottom - field.top);
        if (missing == 0)
            return;
        item += missing;
        SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), item);
    }
}

// The dialog keys make a push button the default when it takes the focus, and Enter then
// presses it. This one never claims that role (Qt's autoDefault off): Enter presses no button,
// Space presses the one with the focus.
LRESULT CALLBACK NeverDefault(HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                              DWORD_PTR)
{
    const LRESULT result = DefSubclassProc(button, message, wParam, lParam);
    if (message == WM_GETDLGCODE)
        return result & ~static_cast<LRESULT>(DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON);
    return result;
}

FontHandle NewFont(const form::Font& font, UINT dpi)
{
    LOGFONTW description{};
    description.lfHeight = -static_cast<LONG>(std::lround(font.points * dpi / 72));
    description.lfWeight = font.weight;
    description.lfCharSet = static_cast<BYTE>(font.charset);
    const std::wstring face = Widen(font.face);
    face.copy(description.lfFaceName, LF_FACESIZE - 1);
    return FontHandle(CreateFontIndirectW(&description));
}
} // namespace

FormControls::FormControls(HWND window)
{
    // Containers come first in the description, so each control's parent exists.
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        const form::Control& control = form::Controls[i];
        const WindowClass type = ClassOf(control);
        const DWORD tabStop = form::TakesFocus(control.kind) ? WS_TABSTOP : 0;
        HWND parent = control.container == form::frmMain ? window : Control(control.container);
        controls_[i] = CreateWindowExW(
            0, type.name, Widen(control.text).c_str(), WS_CHILD | WS_VISIBLE | tabStop | type.style,
            0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(FirstId + i)),
            GetModuleHandleW(nullptr), nullptr);
        if (control.kind == form::Kind::PushButton)
            SetWindowSubclass(controls_[i], NeverDefault, 0, 0);
    }
    // Each to the bottom of its siblings, in tab order: the stacking order is the tab order.
    for (const form::Control& control : form::InTabOrder())
        SetWindowPos(Control(control.name), HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

HWND FormControls::Control(std::string_view name) const { return controls_.at(IndexOf(name)); }

int FormControls::Id(std::string_view name) { return FirstId + static_cast<int>(IndexOf(name)); }

HWND FormControls::FirstFocus() const
{
    for (const form::Control& control : form::InTabOrder())
        if (form::TakesFocus(control.kind))
            return Control(control.name);
    return nullptr;
}

void FormControls::Layout(UINT dpi)
{
    FontHandle windowDefault = NewFont(form::WindowDefaultFont, dpi);
    FontHandle bold = NewFont(form::BoldFont, dpi);
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        const form::Control& control = form::Controls[i];
        HFONT font = control.font == form::TextFont::Bold ? bold.get() : windowDefault.get();
        SendMessageW(controls_[i], WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        const int pixelsPerInch = static_cast<int>(dpi);
        const form::Pixels at = form::ToPixels(control.place, pixelsPerInch, pixelsPerInch);
        if (control.kind == form::Kind::ComboBox)
            PlaceComboBox(controls_[i], at);
        else
            MoveWindow(controls_[i], at.left, at.top, at.width, at.height, TRUE);
    }
    // The old fonts go only now that no control uses them.
    windowDefaultFont_ = std::move(windowDefault);
    boldFont_ = std::move(bold);
}

} // namespace flagwright
