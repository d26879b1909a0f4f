#pragma once

#include <ostream>

// The main window as both toolkits must show it, written out by hand and not derived from the
// form description, so that a wrong entry there fails. Pixels are twips / 15 at 96 DPI and
// round(twips / 10) at 144 DPI; places are in the parent's client area.
namespace flagwright::testing::golden {

struct Rect {
    int left, top, width, height;
    friend bool operator==(const Rect&, const Rect&) = default;
    friend std::ostream& operator<<(std::ostream& os, const Rect& r)
    {
        return os << "{" << r.left << ", " << r.top << ", " << r.width << ", " << r.height << "}";
    }
};

struct Control {
    const char* name;
    const char* parent;
    const char* text; // ASCII
    bool bold;
    Rect at96Dpi;
    Rect at144Dpi;
    const Rect& At(int dpi) const { return dpi == 144 ? at144Dpi : at96Dpi; }
};

// The window itself: its caption and its client area.
inline constexpr Control Window{
    "frmMain", "", "Emberline Flagwright", false, {0, 0, 484, 238}, {0, 0, 726, 357}};

// clang-format off
inline constexpr Control Controls[] = {
    {"fraInstructions", "frmMain", "", false, {16, 0, 449, 105}, {24, 0, 674, 158}},
    {"lblInstructions", "fraInstructions",
     "This program will update the Kind Code table to fix problems with 'Direct' and "
     "'Line Overheard' data for an Emberline database version 14.01.03 database.",
     true, {8, 16, 424, 78}, {12, 24, 636, 117}},
    {"lblPath", "frmMain", "Select a database from the dropdown list to be updated.",
     true, {81, 113, 301, 30}, {122, 170, 452, 45}},
    {"cboDatabase", "frmMain", "", false, {80, 152, 305, 21}, {120, 228, 458, 32}},
    {"cmdUpdate", "frmMain", "Update the Selected Database",
     false, {152, 192, 161, 28}, {228, 288, 242, 42}},
};
// clang-format on

// The controls that take the focus, in tab order; the first has it when the window is shown.
inline constexpr const char* TabOrder[] = {"cmdUpdate", "cboDatabase"};

} // namespace flagwright::testing::golden
