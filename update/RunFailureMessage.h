#pragma once

#include "platform/Failure.h"

#include <string>

namespace flagwright {

// The operator message for a failure that ended an update run, chosen by failure code.
std::string RunFailureMessage(const Failure& failure);

} // namespace flagwright
