// Waits for a message box of the program under test and prints what it shows, as an operator
// reads it: one line, "TITLE|ICON|TEXT", ICON being "icon" or "none", CR and LF in TEXT
// written as \r and \n. Exits 1 when no box comes within the seconds given (default 10). The
// box is left open: the test dismisses it with a real key press, as an operator would.
// With --gone it waits instead until no box is shown and a window that is not one is in front
// again, so that the next key press reaches the program's window; exits 1 when that does not
// happen within the seconds given.
//
//   box_reader [--gone] [SECONDS]
#include "tests/app/win32/WindowQueries.h"

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace flagwright::testing;

namespace {
std::string Utf8(const std::wstring& text)
{
    std::string escaped;
    for (wchar_t c : text) {
        if (c == L'\r' || c == L'\n') {
            escaped += c == L'\r' ? "\\r" : "\\n";
            continue;
        }
        char bytes[4] = {};
        const int size = WideCharToMultiByte(CP_UTF8, 0, &c, 1, bytes, 4, nullptr, nullptr);
        escaped.append(bytes, static_cast<std::size_t>(size));
    }
    return escaped;
}

std::string Read(HWND box)
{
    const BoxContents shown = ReadBox(box);
    return Utf8(shown.title) + "|" + (shown.icon ? "icon" : "none") + "|" + Utf8(shown.text);
}

// No box shown, and a window in front that is not a box.
bool BoxGone()
{
    const HWND front = GetForegroundWindow();
    return !FirstVisibleDialog(0) && front && ClassName(front) != L"#32770";
}
} // namespace

int wmain(int argc, wchar_t** argv)
{
    const bool gone = argc > 1 && std::wstring(argv[1]) == L"--gone";
    const int secondsAt = gone ? 2 : 1;
    const int seconds = argc > secondsAt ? _wtoi(argv[secondsAt]) : 10;
    const DWORD waitMs = static_cast<DWORD>(seconds) * 1000;
    const DWORD start = GetTickCount();
    for (;;) {
        if (gone) {
            if (BoxGone())
                return 0;
        } else if (HWND box = FirstVisibleDialog(0)) {
            std::printf("%s\n", Read(box).c_str());
            std::fflush(stdout);
            return 0;
        }
        if (GetTickCount() - start > waitMs)
            return 1;
        Sleep(50);
    }
}
