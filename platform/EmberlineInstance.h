#pragma once

namespace flagwright::instance {

// The one server instance and login the program works with; fixed, never configured.
inline constexpr const char* DataSource = "(local)\\emberline2";
inline constexpr const char* Login = "DBOPS";
inline constexpr const char* Password = "58GrUw3Hyb!!";
inline constexpr int ConnectTimeoutSeconds = 15;

} // namespace flagwright::instance
