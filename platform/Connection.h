#pragma once

#include "ConnectionSettings.h"
#include "Recordset.h"

#include <string>

namespace flagwright {

// The connection operations the program relies on, in the shape of an ADO Connection.
// Every failing call throws Failure.
class Connection {
public:
    static constexpr int adStateClosed = 0;
    static constexpr int adStateOpen = 1;

    virtual ~Connection() = default; // releasing an open connection closes it

    // Logs in; on return State() is adStateOpen. Fails with ObjectOpen when already open.
    virtual void Open(const ConnectionSettings& settings) = 0;
    virtual int State() const = 0;
    // Runs one statement; when it returns the statement has run and its change stands.
    // Fails with ObjectClosed when the connection is not open.
    virtual Recordset Execute(const std::string& commandText) = 0;
    // Fails with ObjectClosed when the connection is not open.
    virtual void Close() = 0;
};

} // namespace flagwright
