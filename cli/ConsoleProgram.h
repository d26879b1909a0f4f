#pragma once

#include "platform/ConnectionSlot.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace flagwright::cli {

// The console program for the arguments that follow its name: runs the command they ask for
// and returns the exit status. Bad arguments are told on err, and nothing is connected.
int RunConsoleProgram(const std::vector<std::string>& arguments,
                      const ConnectionFactory& newConnection, const ConnectionSettings& instance,
                      std::ostream& out, std::ostream& err);

} // namespace flagwright::cli
