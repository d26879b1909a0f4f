#pragma once

#include <string>

namespace flagwright {

// The connection string for the instance itself, without an initial catalog.
std::string InstanceConnectionString();

// The connection string of an update run for the database the operator named.
std::string MSDEConnectionString(const std::string& databaseName);

// A connection-string value as written: unchanged when it can be read back as it is,
// otherwise quoted so that it is read back exactly and cannot add or change another keyword.
std::string ConnectionStringValue(const std::string& value);

} // namespace flagwright
