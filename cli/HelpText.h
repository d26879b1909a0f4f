#pragma once

#include <string>

namespace flagwright::cli {

// What --help prints: the commands as CommandTable has them, where their output goes and the
// exit codes.
std::string HelpText();

} // namespace flagwright::cli
