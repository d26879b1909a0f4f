#include "app/win32/MessageLoop.h"
#include "app/win32/frmMain.h"
#include "platform/Product.h"
#include "tests/app/FormGolden.h"
#include "tests/app/win32/MessageBoxAnswerer.h"
#include "tests/app/win32/WindowQueries.h"
#include "tests/support/ScriptedConnection.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>

using namespace flagwright;
using namespace flagwright::testing;

namespace {
// What each control of the golden table is on Win32: its window class and its style bits.
struct Win32Control {
    const char* name;
    const wchar_t* windowClass;
    DWORD styleMask; // the bits compared
    DWORD style;     // their values
};

constexpr DWORD Common = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
constexpr DWORD ButtonBits = Common | BS_TYPEMASK;
constexpr DWORD LabelBits = Common | SS_TYPEMASK | SS_NOPREFIX;
constexpr DWORD ComboBits =
    Common | 0x3 /* simple, drop-down or list */ | CBS_SORT | CBS_AUTOHSCROLL;
constexpr DWORD Shown = WS_CHILD | WS_VISIBLE;

// In the order of golden::Controls.
const Win32Control Classes[] = {
    {"fraInstructions", L"Button", ButtonBits, Shown | BS_GROUPBOX},
    {"lblInstructions", L"Static", LabelBits, Shown | SS_LEFT | SS_NOPREFIX},
    {"lblPath", L"Static", LabelBits, Shown | SS_CENTER | SS_NOPREFIX},
    {"cboDatabase", L"ComboBox", ComboBits, Shown | WS_TABSTOP | CBS_DROPDOWN | CBS_AUTOHSCROLL},
    {"cmdUpdate", L"Button", ButtonBits, Shown | WS_TABSTOP | BS_PUSHBUTTON},
};

std::wstring Wide(std::string_view ascii) { return std::wstring(ascii.begin(), ascii.end()); }

// Where a window sits in its parent's client area.
golden::Rect PlaceInParent(HWND window)
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

    HWND Control(std::string_view name) const
    {
        return name == "frmMain" ? window->Handle() : window->Control(name);
    }
    HWND Combo() const { return Control("cboDatabase"); }
    HWND Button() const { return Control("cmdUpdate"); }

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
    EXPECT_EQ(Text(window->Handle()), Wide(golden::Window.text));
    EXPECT_NE(GetClassLongPtrW(window->Handle(), GCLP_HICON), 0) << "the program's icon";
    EXPECT_NE(GetClassLongPtrW(window->Handle(), GCLP_HICONSM), 0);
    RECT client;
    GetClientRect(window->Handle(), &client);
    EXPECT_EQ((golden::Rect{0, 0, client.right, client.bottom}), golden::Window.at96Dpi);

    ASSERT_EQ(std::size(Classes), std::size(golden::Controls));
    for (std::size_t i = 0; i < std::size(Classes); ++i) {
        const golden::Control& c = golden::Controls[i];
        SCOPED_TRACE(c.name);
        ASSERT_STREQ(Classes[i].name, c.name);
        HWND control = Control(c.name);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(ClassName(control), Classes[i].windowClass);
        const auto style = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE));
        EXPECT_EQ(style & Classes[i].styleMask, Classes[i].style);
        EXPECT_EQ(Text(control), Wide(c.text));
        EXPECT_EQ(PlaceInParent(control), c.at96Dpi);
        EXPECT_EQ(GetParent(control), Control(c.parent));
        EXPECT_TRUE(GetDlgCtrlID(control) != IDOK && GetDlgCtrlID(control) != IDCANCEL)
            << "Enter or Escape would press it";
        const LOGFONTW font = FontOf(control);
        EXPECT_STREQ(font.lfFaceName, L"MS Sans Serif");
        EXPECT_EQ(font.lfHeight, -11) << "8.25 pt";
        EXPECT_EQ(font.lfWeight, c.bold ? FW_BOLD : FW_NORMAL);
        EXPECT_EQ(font.lfCharSet, ANSI_CHARSET);
        EXPECT_FALSE(font.lfItalic || font.lfUnderline || font.lfStrikeOut);
    }
}

TEST_F(frmMainTest, LaysEveryControlOutAgainWithNewFontsWhenTheDpiChanges)
{
    const RECT suggested = ChangeDpiTo144();
    for (const golden::Control& c : golden::Controls) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PlaceInParent(Control(c.name)), c.at144Dpi);
        EXPECT_EQ(FontOf(Control(c.name)).lfHeight, -17) << "8.25 pt at 144 DPI";
        EXPECT_EQ(FontOf(Control(c.name)).lfWeight, c.bold ? FW_BOLD : FW_NORMAL);
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
        for (const golden::Control& c : golden::Controls)
            EXPECT_EQ(PlaceInParent(Control(c.name)), c.at96Dpi) << c.name;
    }
}

// Round the tab order twice with Tab, then twice back with Shift+Tab.
TEST_F(frmMainTest, FocusStartsOnTheButtonAndTabsOnlyBetweenButtonAndList)
{
    ShowActive();
    constexpr std::size_t n = std::size(golden::TabOrder);
    for (std::size_t i = 0; i < 4 * n; ++i) {
        const bool back = i >= 2 * n;
        HWND expected = Control(golden::TabOrder[(back ? 4 * n - i : i) % n]);
        HWND next = Control(golden::TabOrder[(back ? 4 * n - i - 1 : i + 1) % n]);
        EXPECT_TRUE(GetFocus() == expected || IsChild(expected, GetFocus())) << "step " << i;
        EXPECT_EQ(GetNextDlgTabItem(window->Handle(), expected, back), next) << "step " << i;
        Press(VK_TAB, back);
    }
    EXPECT_EQ(GetFocus(), Control(golden::TabOrder[0]));
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
