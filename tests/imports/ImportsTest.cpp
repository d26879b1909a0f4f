#include "tests/imports/PeImports.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

using flagwright::testing::ImportedFunctions;

namespace {
// The Windows versions the list names, oldest first; what follows Windows 7 is too new.
constexpr const char* Versions[] = {"2000", "XP", "Vista", "7", "8", "8.1"};
constexpr int Windows7 = 3;

// The rank of a version in Versions; every Windows 10 or 11 ("10-1607") ranks after them.
int Rank(const std::string& version)
{
    for (int i = 0; i < static_cast<int>(std::size(Versions)); ++i)
        if (version == Versions[i])
            return i;
    return version.rfind("10-", 0) == 0 || version.rfind("11-", 0) == 0
               ? static_cast<int>(std::size(Versions))
               : -1;
}

// "dll!function" to the first Windows that has it, from the list kept in the repository.
std::map<std::string, std::string> ListedImports()
{
    std::map<std::string, std::string> listed;
    std::ifstream list(FLAGWRIGHT_IMPORTS_LIST);
    EXPECT_TRUE(list) << FLAGWRIGHT_IMPORTS_LIST;
    for (std::string line; std::getline(list, line);) {
        std::istringstream words(line);
        std::string function, version;
        if (!(words >> function) || function[0] == '#')
            continue;
        words >> version;
        EXPECT_GE(Rank(version), 0) << "no Windows version in: " << line;
        listed[function] = version;
    }
    return listed;
}
} // namespace

// A program that imports a function its Windows lacks does not start at all there ("entry point
// not found"), while Wine, which has them all, runs it: only the import table tells.
TEST(ImportsTest, BothProgramsImportOnlyListedFunctionsThatWindows7Has)
{
    const std::map<std::string, std::string> listed = ListedImports();
    for (const char* program : {FLAGWRIGHT_WINDOW_EXE, FLAGWRIGHT_CLI_EXE}) {
        SCOPED_TRACE(program);
        const std::vector<std::string> imports = ImportedFunctions(program);
        // The reader reads what the program is known to import.
        EXPECT_NE(std::find(imports.begin(), imports.end(), "kernel32.dll!GetProcAddress"),
                  imports.end());
        for (const std::string& function : imports) {
            const auto found = listed.find(function);
            if (found == listed.end())
                ADD_FAILURE() << function << " is imported but not in " << FLAGWRIGHT_IMPORTS_LIST
                              << ": add it with the first Windows that has it";
            else if (Rank(found->second) > Windows7)
                ADD_FAILURE() << function << " needs Windows " << found->second
                              << ": look it up at run time, with a fallback for Windows 7";
        }
    }
}
