#pragma once

#include <regex>
#include <string>

namespace flagwright::testing {

// The console program's output with each elapsed time ("Took 0.84 s.") written "Took N s.", so
// that a whole output can be expected literally.
inline std::string WithoutTimes(const std::string& output)
{
    static const std::regex took("Took [0-9]+\\.[0-9]{2} s\\.");
    return std::regex_replace(output, took, "Took N s.");
}

} // namespace flagwright::testing
