// Any text as a connection string: the parser reads it or fails with its own 3001. The same
// text as a database name survives the round trip through the update run's connection string.
#include "ConnectionSettings.h"
#include "Failure.h"
#include "InstanceConnectionString.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        flagwright::odbc::ParseConnectionString(text);
    } catch (const flagwright::Failure& failure) {
        if (failure.Number() != flagwright::failure_code::InvalidArguments)
            std::abort();
    }
    const auto settings =
        flagwright::odbc::ParseConnectionString(flagwright::MSDEConnectionString(text));
    if (settings.database != text)
        std::abort();
    return 0;
}
