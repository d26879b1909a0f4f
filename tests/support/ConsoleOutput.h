#pragma once

#include <regex>
#include <string>

namespace flagwright::testing {

// The console program's output with each elapsed time ("Took 0.84 s.", "seconds": 0.842)
// written N, so that a whole output can be expected literally.
inline std::string WithoutTimes(const std::string& output)
{
    static const std::regex took("Took [0-9]+\\.[0-9]{2} s\\.");
    static const std::regex seconds("\"seconds\": [0-9]+\\.[0-9]{3}");
    return std::regex_replace(std::regex_replace(output, took, "Took N s."), seconds,
                              "\"seconds\": N");
}

} // namespace flagwright::testing
