#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace flagwright::testing {

// What a real message box showed when it came up, and the cursor the window system was given
// over its owner and over the box itself while it was up.
struct ShownBox {
    HWND owner;
    std::wstring title;
    std::wstring text;
    bool icon;
    int buttons;
    HCURSOR cursorOverOwner;
    HCURSOR cursorOverBox;
};

// Answers every message box of this thread that comes up while it lives by pressing OK, and
// records what each one showed. A thread timer does it from inside the box's modal loop, so a
// test that presses the button does not hang in it.
class MessageBoxAnswerer {
public:
    MessageBoxAnswerer();
    ~MessageBoxAnswerer();
    MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
    MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;

    std::vector<ShownBox> seen;

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);

    UINT_PTR timer_;
};

} // namespace flagwright::testing
