#pragma once

#include "platform/ConnectionSettings.h"

namespace flagwright {

// What the program is called: the message boxes' title where a message gives none.
inline constexpr const char* ApplicationTitle = "Flagwright";

// The one server instance and login the program works with, (local)\emberline2 as DBOPS;
// fixed, never configured. The database is left for the caller to name.
inline ConnectionSettings EmberlineInstance()
{
    ConnectionSettings settings;
    settings.server = "(local)";
    settings.instance = "emberline2";
    settings.login = "DBOPS";
    settings.password = "58GrUw3Hyb!!";
    settings.connectTimeout = std::chrono::seconds(15);
    return settings;
}

} // namespace flagwright
