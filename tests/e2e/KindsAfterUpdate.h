#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace flagwright::e2e {

// L_Kind of the sample database Emberline after a complete run, every column, by code: written
// out once and checked against an independent transcription of the correction table, so it does
// not follow edits of the program's table. The seed gives each code its position in the
// program's table as SortOrder, so a change of order shows here as well as a change of flags.
inline std::map<std::string, std::vector<std::string>> KindsAfterUpdate()
{
    std::ifstream file(KINDS_AFTER_UPDATE);
    std::map<std::string, std::vector<std::string>> rows;
    std::string line;
    std::getline(file, line); // column names
    while (std::getline(file, line)) {
        std::vector<std::string> row;
        for (std::size_t start = 0, tab = 0; tab != std::string::npos; start = tab + 1) {
            tab = line.find('\t', start);
            row.push_back(line.substr(start, tab - start));
        }
        rows[row[0]] = std::move(row);
    }
    return rows;
}

// Passes when L_Kind holds exactly the rows of a completed update; names the codes that differ.
inline ::testing::AssertionResult AsAfterUpdate(const std::vector<std::vector<std::string>>& kinds)
{
    auto expected = KindsAfterUpdate();
    if (expected.empty())
        return ::testing::AssertionFailure() << "cannot read " << KINDS_AFTER_UPDATE;
    const auto text = [](const std::vector<std::string>& row) {
        std::string joined;
        for (const std::string& value : row)
            joined += (joined.empty() ? "" : "|") + value;
        return joined;
    };
    std::string differences;
    for (const auto& row : kinds) {
        const auto it = expected.find(row[0]);
        if (it == expected.end()) {
            differences += "\n  unexpected " + text(row);
            continue;
        }
        if (it->second != row)
            differences += "\n  " + text(row) + ", expected " + text(it->second);
        expected.erase(it);
    }
    for (const auto& [code, row] : expected)
        differences += "\n  missing " + text(row);
    if (differences.empty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "L_Kind differs from " << KINDS_AFTER_UPDATE << ":" << differences;
}

} // namespace flagwright::e2e
