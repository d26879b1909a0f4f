#pragma once

#include "Sandbox.h"

#include <gtest/gtest.h>

#include <string>

namespace flagwright::e2e {

// Passes when L_Kind of the database file holds exactly the rows of a completed update of the
// sample database Emberline, every column: the golden table is written out once and checked
// against an independent transcription of the correction table, so it does not follow edits
// of the program's table. The seed gives each code its position in the program's table as
// SortOrder, so a change of order shows here as well as a change of flags.
inline ::testing::AssertionResult AsAfterUpdate(const std::string& databaseFile)
{
    const std::string differences = testing::KindDifferences(databaseFile, KINDS_AFTER_UPDATE);
    if (differences.empty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "L_Kind of " << databaseFile << " differs from " << KINDS_AFTER_UPDATE << ":\n"
           << differences;
}

} // namespace flagwright::e2e
