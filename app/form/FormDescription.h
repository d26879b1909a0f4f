#pragma once

#include "app/form/Twips.h"

#include <algorithm>
#include <array>
#include <string_view>

// The main window frmMain as data, which each toolkit's builder turns into the same window.
namespace flagwright::form {

enum class Kind { Frame, Label, ComboBox, PushButton };
enum class Alignment { None, Left, Centre }; // of a label's word-wrapped lines
enum class TextFont { WindowDefault, Bold };

struct Font {
    std::string_view face;
    double points;
    int weight; // 400 regular, 700 bold
    int charset;
};

// The classic dialog face; Windows maps it to "Microsoft Sans Serif".
inline constexpr Font WindowDefaultFont{"MS Sans Serif", 8.25, 400, 0};
inline constexpr Font BoldFont{"MS Sans Serif", 8.25, 700, 0};

constexpr const Font& FontOf(TextFont font)
{
    return font == TextFont::Bold ? BoldFont : WindowDefaultFont;
}

struct Control {
    std::string_view name;
    Kind kind;
    std::string_view text;
    Twips place; // in the container's client area
    std::string_view container;
    int tabIndex;
    TextFont font;
    Alignment alignment;
};

inline constexpr std::string_view frmMain = "frmMain";
inline constexpr std::string_view fraInstructions = "fraInstructions";
inline constexpr std::string_view cboDatabase = "cboDatabase";
inline constexpr std::string_view cmdUpdate = "cmdUpdate";

inline constexpr std::string_view Caption = "Emberline Flagwright";
inline constexpr int ClientWidth = 7260;
inline constexpr int ClientHeight = 3570;
inline constexpr Twips ClientArea{0, 0, ClientWidth, ClientHeight};

// Containers come before the controls they hold.
// clang-format off
inline constexpr std::array<Control, 5> Controls{{
    {fraInstructions, Kind::Frame, "",
     {240, 0, 6735, 1575}, frmMain, 2, TextFont::WindowDefault, Alignment::None},
    {"lblInstructions", Kind::Label,
     "This program will update the Kind Code table to fix problems with 'Direct' and "
     "'Line Overheard' data for an Emberline database version 14.01.03 database.",
     {120, 240, 6360, 1170}, fraInstructions, 3, TextFont::Bold, Alignment::Left},
    {"lblPath", Kind::Label, "Select a database from the dropdown list to be updated.",
     {1215, 1695, 4515, 450}, frmMain, 0, TextFont::Bold, Alignment::Centre},
    {cboDatabase, Kind::ComboBox, "",
     {1200, 2280, 4575, 315}, frmMain, 4, TextFont::WindowDefault, Alignment::None},
    {cmdUpdate, Kind::PushButton, "Update the Selected Database",
     {2280, 2880, 2415, 420}, frmMain, 1, TextFont::WindowDefault, Alignment::None},
}};
// clang-format on

// Only the combo box and the button take the focus; Tab skips the labels and the frame.
constexpr bool TakesFocus(Kind kind) { return kind == Kind::ComboBox || kind == Kind::PushButton; }

// The controls by tab index. The first of them that takes the focus has it at start.
constexpr std::array<Control, Controls.size()> InTabOrder()
{
    std::array<Control, Controls.size()> ordered = Controls;
    std::sort(ordered.begin(), ordered.end(),
              [](const Control& a, const Control& b) { return a.tabIndex < b.tabIndex; });
    return ordered;
}

} // namespace flagwright::form
