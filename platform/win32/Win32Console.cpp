#include "platform/Console.h"

#include "platform/win32/WideText.h"

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>
#include <iostream>

namespace flagwright {

std::optional<std::vector<std::string>> Utf8ArgumentsOf(const wchar_t* commandLine)
{
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(commandLine, &count);
    if (!wide)
        return std::nullopt;
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i)
        arguments.push_back(Narrow(wide[i]));
    LocalFree(wide);
    return arguments;
}

std::vector<std::string> Utf8Arguments(int argc, char* argv[])
{
    if (auto arguments = Utf8ArgumentsOf(GetCommandLineW()))
        return *arguments;
    return {argv + 1, argv + argc};
}

void ExactStandardOutput()
{
    std::cout.flush();
    _setmode(_fileno(stdout), _O_BINARY);
}

Utf8ConsoleOutput::Utf8ConsoleOutput() : previousCodePage_(GetConsoleOutputCP())
{
    SetConsoleOutputCP(CP_UTF8);
}

Utf8ConsoleOutput::~Utf8ConsoleOutput()
{
    if (previousCodePage_ != 0)
        SetConsoleOutputCP(previousCodePage_);
}

} // namespace flagwright
