#pragma once

#include "platform/ConnectionSettings.h"
#include "platform/Recordset.h"
#include "platform/Text.h"

#include <chrono>
#include <string>
#include <string_view>

namespace flagwright {

// The connection operations the program relies on, in the shape of an ADO Connection.
// Every failing call throws Failure.
class Connection {
public:
    static constexpr int adStateClosed = 0;
    static constexpr int adStateOpen = 1;

    virtual ~Connection() = default; // releasing an open connection closes it

    // Logs in within settings.connectTimeout, the finding of the server included; on return
    // State() is adStateOpen. Fails with ObjectOpen when already open.
    virtual void Open(const ConnectionSettings& settings) = 0;
    // How long each later Execute may take, its whole reply included; 30 s unless set.
    virtual void CommandTimeout(std::chrono::milliseconds limit) = 0;
    virtual int State() const = 0;
    // Runs one statement; when it returns the statement has run and its change stands.
    // Fails with ObjectClosed when the connection is not open, with InvalidArguments before
    // sending anything when !IsCarriedExactly(commandText), and with Timeout when the command
    // time-out passes first.
    virtual Recordset Execute(const std::string& commandText) = 0;
    // Fails with ObjectClosed when the connection is not open.
    virtual void Close() = 0;
};

// Whether every driver carries the text to the server exactly: a NUL is the one character
// that a driver would stop at, sending less than the statement, and malformed UTF-8 (from a
// command line, say) would reach the server as other characters.
inline bool IsCarriedExactly(std::string_view text)
{
    return text.find('\0') == std::string_view::npos && IsWellFormedUtf8(text);
}

} // namespace flagwright
