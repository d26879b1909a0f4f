#pragma once

#include <optional>
#include <string>
#include <vector>

namespace flagwright {

// What a console program needs of its process's streams and arguments: Win32 on Windows
// (win32/Win32Console.cpp), nothing to do elsewhere (PosixConsole.cpp).

// The program's arguments as UTF-8 text, like every other text of the program. On Windows the
// narrow argv is in the ANSI code page, which cannot spell every database name, so they are
// read from the wide command line instead.
std::vector<std::string> Utf8Arguments(int argc, char* argv[]);

#ifdef _WIN32
// The arguments of a wide command line, after the program's name, as UTF-8; a lone surrogate
// kept as itself (Utf16.h), so that the parser refuses it rather than run another name.
// Nothing when the line cannot be split.
std::optional<std::vector<std::string>> Utf8ArgumentsOf(const wchar_t* commandLine);
#endif

// From here on, standard output takes exactly the bytes written to it: on Windows the C
// runtime's text mode would make every LF, a name's own included, CR LF. Elsewhere nothing
// changes.
void ExactStandardOutput();

// While it lives, the console shows the program's UTF-8 output as such (on Windows, whose
// console takes the OEM code page otherwise; the console's own page is restored at the end).
class Utf8ConsoleOutput {
public:
    Utf8ConsoleOutput();
    ~Utf8ConsoleOutput();
    Utf8ConsoleOutput(const Utf8ConsoleOutput&) = delete;
    Utf8ConsoleOutput& operator=(const Utf8ConsoleOutput&) = delete;

private:
    [[maybe_unused]] unsigned int previousCodePage_ = 0; // Windows only
};

} // namespace flagwright
