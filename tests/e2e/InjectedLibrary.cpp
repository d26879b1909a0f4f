// A shared library that only leaves a file behind when a process loads it: what a database
// name that chooses the ODBC driver would have the program load.
#include <cstdio>

namespace {
__attribute__((constructor)) void LeaveMark()
{
    if (FILE* mark = std::fopen(LOADED_MARK, "w"))
        std::fclose(mark);
}
} // namespace
