#include "platform/Console.h"

namespace flagwright {

std::vector<std::string> Utf8Arguments(int argc, char* argv[]) { return {argv + 1, argv + argc}; }

void ExactStandardOutput() {}

Utf8ConsoleOutput::Utf8ConsoleOutput() = default;
Utf8ConsoleOutput::~Utf8ConsoleOutput() = default;

} // namespace flagwright
