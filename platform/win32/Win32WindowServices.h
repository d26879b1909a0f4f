#pragma once

#include "platform/WindowServices.h"

#include <windows.h>

namespace flagwright {

// Message boxes and the mouse pointer on Win32, for one top-level window.
class Win32WindowServices : public WindowServices {
public:
    // Message boxes are modal to the given window.
    explicit Win32WindowServices(HWND owner) : owner_(owner) {}

    void MsgBox(const std::string& prompt, MsgBoxStyle style,
                const std::optional<std::string>& title = std::nullopt) override;
    // Shown at once if the pointer is over one of this thread's windows.
    void SetScreenPointer(ScreenPointer pointer) override;

    // For the owner's WM_SETCURSOR, which its controls pass up: while the hourglass is up,
    // shows it and returns true; otherwise leaves the cursor to the window system.
    bool ShowBusyCursor() const;

private:
    HWND owner_;
    ScreenPointer pointer_ = ScreenPointer::Default;
};

} // namespace flagwright
