#pragma once

#include "platform/ConnectionSlot.h"

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace flagwright::cli {

// The console program for the arguments that follow its name: runs the command they ask for
// and returns the exit status. Bad arguments are told on err, and nothing is connected.
// exactOut: called before a command writes to out what must arrive byte for byte (-0's names,
// JSON Lines), not text for a terminal; main makes standard output binary with it.
int RunConsoleProgram(const std::vector<std::string>& arguments,
                      const ConnectionFactory& newConnection, const ConnectionSettings& instance,
                      std::ostream& out, std::ostream& err,
                      const std::function<void()>& exactOut = {});

} // namespace flagwright::cli
