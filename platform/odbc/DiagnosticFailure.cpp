#include "platform/odbc/DiagnosticFailure.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace flagwright::odbc {

namespace {
// A database held by another connection, then one that does not exist or cannot be opened
// (911: one named by the catalog attribute, which a driver may set with a USE).
constexpr std::array<int, 4> UnopenableDatabase = {924, 4060, 4064, 911};
constexpr std::array<int, 6> LoginFailures = {18456, 18452, 18470, 18486, 18487, 18488};
// FreeTDS library errors for a lost or unusable link: connect/read/write failures, EOF.
constexpr std::array<int, 6> LinkFailures = {20002, 20004, 20006, 20009, 20017, 20020};
constexpr std::array<std::string_view, 1> LoginRefused = {"28000"};
constexpr std::array<std::string_view, 2> Timeouts = {"HYT00", "HYT01"};
constexpr std::array<std::string_view, 4> LinkStates = {"08S01", "08001", "08003", "08007"};
constexpr std::array<std::string_view, 1> Cancelled = {"HY008"};
constexpr std::array<int, 1> NoSuchTable = {208};
constexpr std::array<std::string_view, 1> NoSuchTableState = {"42S02"};
// The driver manager's own: no such driver, or its library could not be loaded.
constexpr std::array<std::string_view, 2> DriverMissing = {"IM002", "IM003"};

using Records = std::vector<DiagnosticRecord>;

// The record for the first of `wanted` (in priority order) that any record carries, so the
// choice does not depend on the order the driver lists them in.
template <typename Wanted, typename Matches>
const DiagnosticRecord* FindFirst(const Records& records, const Wanted& wanted, Matches matches)
{
    for (const auto& item : wanted) {
        const auto it = std::find_if(records.begin(), records.end(),
                                     [&](const auto& record) { return matches(record, item); });
        if (it != records.end())
            return &*it;
    }
    return nullptr;
}

template <typename List, typename Value>
bool Contains(const List& list, const Value& value)
{
    return std::find(list.begin(), list.end(), value) != list.end();
}

template <typename Natives>
const DiagnosticRecord* FindNative(const Records& records, const Natives& natives)
{
    return FindFirst(records, natives,
                     [](const auto& record, int native) { return record.nativeError == native; });
}

template <typename States>
const DiagnosticRecord* FindState(const Records& records, const States& states)
{
    return FindFirst(records, states, [](const auto& record, std::string_view state) {
        return record.sqlState == state;
    });
}

Failure From(std::int32_t code, const DiagnosticRecord& record)
{
    return Failure(code, WithoutDriverPrefix(record.message), record.sqlState, record.nativeError);
}

// Raised by the driver manager itself, as the component named in the message's prefix says
// ("[unixODBC][Driver Manager]...", "[Microsoft][ODBC Driver Manager]..."): no driver spoke.
bool FromDriverManager(const DiagnosticRecord& record)
{
    const std::size_t prefix = record.message.size() - WithoutDriverPrefix(record.message).size();
    return record.message.substr(0, prefix).find("Driver Manager]") != std::string::npos;
}

// A failure worded by the program, keeping as its origin the first error record (an
// informational one of class 01 tells less).
Failure FromFirst(const Failure& failure, const Records& records)
{
    const auto error = std::find_if(records.begin(), records.end(), [](const auto& record) {
        return record.sqlState.rfind("01", 0) != 0;
    });
    if (error == records.end())
        return failure;
    return Failure(failure.Number(), failure.Description(), error->sqlState, error->nativeError);
}

// A message the server itself sent: it carries the server's message number and none of the
// states a driver gives its own failures when no server answered (no link, a time-out, a
// warning, a driver that could not be loaded).
bool SentByServer(const DiagnosticRecord& record)
{
    return record.nativeError > 0 && record.sqlState.rfind("01", 0) != 0 &&
           !Contains(LinkStates, record.sqlState) && !Contains(Timeouts, record.sqlState) &&
           !Contains(DriverMissing, record.sqlState) &&
           !Contains(LinkFailures, record.nativeError) && !FromDriverManager(record);
}

// The server's refusal among the records, the lowest number first so that the choice does not
// follow the driver's ordering; none when no server answered.
const DiagnosticRecord* ServerRefusal(const Records& records)
{
    const DiagnosticRecord* refusal = nullptr;
    for (const DiagnosticRecord& record : records)
        if (SentByServer(record) && (!refusal || record.nativeError < refusal->nativeError))
            refusal = &record;
    return refusal;
}

Failure BrokenLink()
{
    return Failure(failure_code::Unspecified,
                   "General network error. Check your network documentation.");
}
} // namespace

Failure UnreachableServer()
{
    return Failure(failure_code::Unspecified, "SQL Server does not exist or access denied.");
}

std::string WithoutDriverPrefix(const std::string& message)
{
    std::size_t start = 0;
    while (start < message.size() && message[start] == '[') {
        const std::size_t close = message.find(']', start);
        if (close == std::string::npos)
            break;
        start = close + 1;
    }
    return message.substr(start);
}

Failure FailureFromDiagnostics(const Records& records, OdbcCall call, bool connectionDead)
{
    // A database that cannot be opened is the cause; the login failure sent with it follows.
    if (const auto* record = FindNative(records, UnopenableDatabase))
        return From(failure_code::Unspecified, *record);
    if (const auto* record = FindNative(records, LoginFailures))
        return From(failure_code::AuthenticationFailed, *record);
    if (const auto* record = FindState(records, LoginRefused))
        return From(failure_code::AuthenticationFailed, *record);
    if (call == OdbcCall::Connect &&
        (FindState(records, DriverMissing) ||
         (!records.empty() && std::all_of(records.begin(), records.end(), FromDriverManager))))
        return FromFirst(layer_failure::ProviderNotFound(), records);
    // Any other refusal at login (a server in script upgrade or single-user mode, ...): the
    // server was reached and did not let the login in.
    if (call == OdbcCall::Connect) {
        if (const auto* record = ServerRefusal(records))
            return From(failure_code::AuthenticationFailed, *record);
        return FromFirst(UnreachableServer(), records);
    }
    if (const auto* record = FindState(records, Timeouts))
        return From(failure_code::Timeout, *record);
    if (connectionDead || FindNative(records, LinkFailures) || FindState(records, LinkStates))
        return FromFirst(BrokenLink(), records);
    if (const auto* record = FindNative(records, NoSuchTable))
        return From(failure_code::NoSuchTable, *record);
    if (const auto* record = FindState(records, NoSuchTableState))
        return From(failure_code::NoSuchTable, *record);
    // The server's own error (it has a message number) over its informational messages (class
    // 01) and the driver's follow-ups; the lowest number among equals, so the choice does not
    // follow the driver's ordering.
    const auto rank = [](const DiagnosticRecord& record) {
        if (record.nativeError <= 0)
            return 2;
        return record.sqlState.rfind("01", 0) == 0 ? 1 : 0;
    };
    const auto deciding =
        std::min_element(records.begin(), records.end(), [&](const auto& a, const auto& b) {
            return rank(a) != rank(b) ? rank(a) < rank(b) : a.nativeError < b.nativeError;
        });
    if (deciding != records.end())
        return From(failure_code::StatementError, *deciding);
    return Failure(failure_code::StatementError, "Unspecified error");
}

bool EndedByDeadline(const Records& records)
{
    return std::all_of(records.begin(), records.end(), [](const DiagnosticRecord& record) {
        return Contains(Cancelled, record.sqlState) || Contains(LinkStates, record.sqlState) ||
               Contains(LinkFailures, record.nativeError);
    });
}

bool AnotherDriverMayReach(const Records& records) { return !ServerRefusal(records); }

Failure WithoutSecret(const Failure& failure, const std::string& secret)
{
    if (secret.empty())
        return failure;
    std::string description = failure.Description();
    for (std::size_t at = description.find(secret); at != std::string::npos;
         at = description.find(secret, at))
        description.replace(at, secret.size(), "****");
    return Failure(failure.Number(), description, failure.SqlState(), failure.Native());
}

} // namespace flagwright::odbc
