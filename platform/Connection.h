#pragma once

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

    virtual void ConnectionString(const std::string& text) = 0;
    virtual const std::string& ConnectionString() const = 0;
    // Opens with the connection string set before; on return State() is adStateOpen.
    virtual void Open() = 0;
    virtual int State() const = 0;
    // Runs one statement; when it returns the statement has run and its change stands.
    // Fails with 3704 when the connection is not open.
    virtual Recordset Execute(const std::string& commandText) = 0;
    // Fails with 3704 when the connection is not open.
    virtual void Close() = 0;
};

} // namespace flagwright
