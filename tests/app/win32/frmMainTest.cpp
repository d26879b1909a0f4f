#include "EmberlineInstance.h"
#include "MessageBoxAnswerer.h"
#include "MessageLoop.h"
#include "ScriptedConnection.h"
#include "WindowQueries.h"
#include "frmMain.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>

using namespace flagwright;
using namespace flagwright::testing;

namespace {
struct Rect {
    int left, top, width, height;
    friend bool operator==(const Rect&, const Rect&) = default;
    friend std::ostream& operator<<(std::ostream& os, const Rect& r)
    {
        return os << "{" << r.left << ", " << r.top << ", " << r.width << ", " << r.height << "}";
    }
};

// The control table, in pixels: twips / 15 at 96 DPI, round(twips / 10) at 144 DPI.
struct Expected {
    const char* name;
    const wchar_t* windowClass;
    DWORD styleMask; // the bits compared
    DWORD style;     // their values
    const wchar_t* text;
    Rect at96Dpi;
    Rect at144Dpi;
    LONG weight;
    const char* parent;
};

constexpr DWORD Common = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
constexpr DWORD ButtonBits = Common | BS_TYPEMASK;
constexpr DWORD LabelBits = Common | SS_TYPEMASK | SS_NOPREFIX;
constexpr DWORD ComboBits =
    Common | 0x3 /* simple, drop-down or list */ | CBS_SORT | CBS_AUTOHSCROLL;
constexpr DWORD Shown = WS_CHILD | WS_VISIBLE;

// clang-format off
const Expected Controls[] = {
    {"fraInstructions", L"Button", ButtonBits, Shown | BS_GROUPBOX, L"",
     {16, 0, 449, 105}, {24, 0, 674, 158}, FW_NORMAL, "frmMain"},
    {"lblInstructions", L"Static", LabelBits, Shown | SS_LEFT | SS_NOPREFIX,
     L"This program will update the Kind Code table to fix problems with 'Direct' and "
     L"'Line Overheard' data for an Emberline database version 14.01.03 database.",
     {8, 16, 424, 78}, {12, 24, 636, 117}, FW_BOLD, "fraInstructions"},
    {"lblPath", L"Static", LabelBits, Shown | SS_CENTER | SS_NOPREFIX,
     L"Select a database from the dropdown list to be updated.",
     {81, 113, 301, 30}, {122, 170, 452, 45}, FW_BOLD, "frmMain"},
    {"cboDatabase", L"ComboBox", ComboBits, Shown | WS_TABSTOP | CBS_DROPDOWN | CBS_AUTOHSCROLL,
     L"", {80, 152, 305, 21}, {120, 228, 458, 32}, FW_NORMAL, "frmMain"},
    {"cmdUpdate", L"Button", ButtonBits, Shown | WS_TABSTOP | BS_PUSHBUTTON,
     L"Update the Selected Database",
     {152, 192, 161, 28}, {228, 288, 242, 42}, FW_NORMAL, "frmMain"},
};
// clang-format on

// Where a window sits in its parent's client area.
Rect PlaceInParent(HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

LOGFONTW FontOf(HWND window)
{
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font;
}

class frmMainTest : public ::testing::Test {
protected:
    std::shared_ptr<ConnectionScript> script = std::make_shared<ConnectionScript>();
    std::unique_ptr<frmMain> window;
    MessageBoxAnswerer boxes;

    void SetUp() override
    {
        script->catalogResult = CatalogRows({{"Z\xC3\xBCrich", "0"}, {"Alpha", "0"}});
        window =
            std::make_unique<frmMain>(ScriptedConnection::Factory(script), EmberlineInstance());
    }
    void TearDown() override
    {
        window.reset();
        EXPECT_EQ(script->live, 0) << "a connection outlived the window";
        MSG quit;
        EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
            << "the message loop would not end with the window";
    }

    HWND Control(const char* name) const { return window->Control(name); }
    HWND Combo() const { return Control("cboDatabase"); }
    HWND Button() const { return Control("cmdUpdate"); }
    bool ComboHasFocus() const { return IsChild(Combo(), GetFocus()) || GetFocus() == Combo(); }

    void ShowActive()
    {
        ShowWindow(window->Handle(), SW_SHOW);
        SetForegroundWindow(window->Handle());
        Pump();
        ASSERT_EQ(GetActiveWindow(), window->Handle());
    }
    // Everything queued, through the program's own dispatch.
    void Pump() const
    {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            Dispatch(window->Handle(), message);
    }
    // A key pressed and released on the control with the focus, Shift held or not.
    void Press(WORD key, bool shift = false) const
    {
        BYTE keys[256] = {};
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(keys);
        PostMessageW(GetFocus(), WM_KEYDOWN, key, 1);
        PostMessageW(GetFocus(), WM_KEYUP, key, 0xC0000001);
        Pump();
        keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
    }
    std::vector<std::wstring> Items() const
    {
        std::vector<std::wstring> items;
        const auto count = SendMessageW(Combo(), CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            std::wstring item(SendMessageW(Combo(), CB_GETLBTEXTLEN, i, 0) + 1, L'\0');
            item.resize(
                SendMessageW(Combo(), CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data())));
            items.push_back(item);
        }
        return items;
    }
    // Sends the window to 144 DPI as Windows does when it moves to such a monitor.
    RECT ChangeDpiTo144() const
    {
        RECT suggested{100, 50, 100 + 760, 50 + 420};
        SendMessageW(window->Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144),
                     reinterpret_cast<LPARAM>(&suggested));
        return suggested;
    }
};
} // namespace

TEST_F(frmMainTest, BuildsEveryControlOfTheTableAt96Dpi)
{
    EXPECT_EQ(Text(window->Handle()), L"Emberline Flagwright");
    EXPECT_NE(GetClassLongPtrW(window->Handle(), GCLP_HICON), 0) << "the program's icon";
    EXPECT_NE(GetClassLongPtrW(window->Handle(), GCLP_HICONSM), 0);
    RECT client;
    GetClientRect(window->Handle(), &client);
    EXPECT_EQ(client.right, 484);
    EXPECT_EQ(client.bottom, 238);

    for (const Expected& c : Controls) {
        SCOPED_TRACE(c.name);
        HWND control = Control(c.name);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(ClassName(control), c.windowClass);
        const auto style = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE));
        EXPECT_EQ(style & c.styleMask, c.style);
        EXPECT_EQ(Text(control), c.text);
        EXPECT_EQ(PlaceInParent(control), c.at96Dpi);
        EXPECT_EQ(GetParent(control),
                  c.parent == std::string("frmMain") ? window->Handle() : Control(c.parent));
        EXPECT_NE(GetDlgCtrlID(control), IDOK) << "Enter would press it";
        EXPECT_NE(GetDlgCtrlID(control), IDCANCEL) << "Escape would press it";
        const LOGFONTW font = FontOf(control);
        EXPECT_STREQ(font.lfFaceName, L"MS Sans Serif");
        EXPECT_EQ(font.lfHeight, -11) << "8.25 pt";
        EXPECT_EQ(font.lfWeight, c.weight);
        EXPECT_EQ(font.lfCharSet, ANSI_CHARSET);
        EXPECT_FALSE(font.lfItalic || font.lfUnderline || font.lfStrikeOut);
    }
}

TEST_F(frmMainTest, LaysEveryControlOutAgainWithNewFontsWhenTheDpiChanges)
{
    const RECT suggested = ChangeDpiTo144();
    for (const Expected& c : Controls) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PlaceInParent(Control(c.name)), c.at144Dpi);
        EXPECT_EQ(FontOf(Control(c.name)).lfHeight, -17) << "8.25 pt at 144 DPI";
        EXPECT_EQ(FontOf(Control(c.name)).lfWeight, c.weight);
    }
    RECT now;
    GetWindowRect(window->Handle(), &now);
    EXPECT_TRUE(EqualRect(&now, &suggested)) << "the window takes the rectangle Windows suggests";
}

TEST_F(frmMainTest, ResizingTheWindowMovesNothing)
{
    ShowActive();
    for (const SIZE size : {SIZE{900, 700}, SIZE{120, 80}}) {
        SetWindowPos(window->Handle(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
        Pump();
        for (const Expected& c : Controls)
            EXPECT_EQ(PlaceInParent(Control(c.name)), c.at96Dpi) << c.name;
    }
}

TEST_F(frmMainTest, FocusStartsOnTheButtonAndTabsOnlyBetweenButtonAndList)
{
    EXPECT_EQ(GetNextDlgTabItem(window->Handle(), Button(), FALSE), Combo());
    EXPECT_EQ(GetNextDlgTabItem(window->Handle(), Combo(), FALSE), Button());
    EXPECT_EQ(GetNextDlgTabItem(window->Handle(), Button(), TRUE), Combo());

    ShowActive();
    EXPECT_EQ(GetFocus(), Button());
    Press(VK_TAB);
    EXPECT_TRUE(ComboHasFocus());
    Press(VK_TAB);
    EXPECT_EQ(GetFocus(), Button());
    Press(VK_TAB, true);
    EXPECT_TRUE(ComboHasFocus());
    Press(VK_TAB, true);
    EXPECT_EQ(GetFocus(), Button());
}

TEST_F(frmMainTest, LoadsTheListUnsortedBeforeItIsShownAndLeavesTheTextEmpty)
{
    EXPECT_FALSE(IsWindowVisible(window->Handle()));
    EXPECT_EQ(Items(), (std::vector<std::wstring>{L"Z\u00FCrich", L"Alpha"}));
    EXPECT_EQ(Text(Combo()), L"");
    EXPECT_EQ(script->created, 1);
}

// Tab makes a focused push button the default, and Enter would press it; not this one.
TEST_F(frmMainTest, EnterAndEscapeStartNothingInTheListOrOnTheButton)
{
    ShowActive();
    SetWindowTextW(Combo(), L"Alpha");
    for (const bool onButton : {false, true}) {
        Press(VK_TAB);
        ASSERT_EQ(GetFocus() == Button(), onButton);
        Press(VK_RETURN);
        Press(VK_ESCAPE);
    }
    EXPECT_TRUE(boxes.seen.empty());
    EXPECT_EQ(script->created, 1) << "no run started";
    EXPECT_EQ(GetWindowLongPtrW(Button(), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
    EXPECT_EQ(Text(Combo()), L"Alpha");
    EXPECT_TRUE(IsWindowVisible(window->Handle()));
}

TEST_F(frmMainTest, SpaceOnTheButtonAtStartSaysNoDatabaseIsSelected)
{
    ShowActive();
    Press(VK_SPACE);

    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(boxes.seen[0].owner, window->Handle());
    EXPECT_EQ(boxes.seen[0].title, L"Flagwright");
    EXPECT_EQ(boxes.seen[0].text, L"No database selected.");
    EXPECT_FALSE(boxes.seen[0].icon);
    EXPECT_EQ(boxes.seen[0].buttons, 1);
    EXPECT_EQ(script->created, 1) << "no connection for an empty selection";
    EXPECT_EQ(GetFocus(), Button()) << "the focus comes back to the button";
}

TEST_F(frmMainTest, RunsOnTheTypedNameUnderTheHourglassAndShowsTheArrowOverTheBox)
{
    script->openLeavesClosed = true;
    ShowActive();
    SetWindowTextW(Combo(), L"Zo\u00EB, Reports");
    SendMessageW(Button(), BM_CLICK, 0, 0);

    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(boxes.seen[0].title, L"Database Error");
    EXPECT_EQ(boxes.seen[0].text, L"Could not open the database.");
    EXPECT_TRUE(boxes.seen[0].icon);
    const HCURSOR wait = LoadCursorW(nullptr, IDC_WAIT);
    const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    EXPECT_EQ(boxes.seen[0].cursorOverOwner, wait);
    EXPECT_EQ(boxes.seen[0].cursorOverBox, arrow);
    SendMessageW(Combo(), WM_SETCURSOR, reinterpret_cast<WPARAM>(window->Handle()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_NE(GetCursor(), wait) << "the hourglass is gone after the run";

    ASSERT_EQ(script->opened.size(), 2u);
    EXPECT_EQ(script->opened[1].database, "Zo\xC3\xAB, Reports");
    EXPECT_EQ(Text(Combo()), L"Zo\u00EB, Reports");
    EXPECT_EQ(Items(), (std::vector<std::wstring>{L"Z\u00FCrich", L"Alpha"}));
}

TEST_F(frmMainTest, ClosingTheWindowEndsTheProgramAndReleasesAnOpenConnection)
{
    script->versionResult = Recordset({"Value"}, {});
    ShowActive();
    SetWindowTextW(Combo(), L"Alpha");
    SendMessageW(Button(), BM_CLICK, 0, 0);
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(boxes.seen[0].text, L"Database is not an Emberline database.");
    EXPECT_EQ(script->live, 1) << "the run leaves this connection open";

    SendMessageW(window->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(window->Handle(), nullptr);
}
