#include "update/RunFailureMessage.h"

namespace flagwright {

std::string RunFailureMessage(const Failure& failure)
{
    switch (failure.Number()) {
    case failure_code::AuthenticationFailed:
        return "Login failed.  Please try again.";
    case failure_code::Unspecified:
        return "Database in use or does not exist. If in use, close all connections to the "
               "database and retry.";
    case failure_code::NoSuchTable:
        return "Database is not an Emberline database.  Please select another database.";
    case failure_code::ObjectNotSet:
        return "Cannot connect to database. Reselect the database and retry.";
    case failure_code::ObjectClosed:
        return "Connection already closed.";
    default:
        return "Error Number: " + std::to_string(failure.Number()) +
               "\r\nError Description: " + failure.Description();
    }
}

} // namespace flagwright
