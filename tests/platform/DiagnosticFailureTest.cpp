#include "platform/odbc/DiagnosticFailure.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace flagwright;
using namespace flagwright::odbc;

namespace {
const std::string Prefix = "[FreeTDS][SQL Server]";
const DiagnosticRecord Login{"42000", 18456, Prefix + "Login failed for user 'DBOPS'."};
const DiagnosticRecord NoDatabase{
    "42000", 4060, Prefix + "Cannot open database requested in login 'X'. Login fails."};
const DiagnosticRecord SingleUser{
    "42000", 924, Prefix + "Database 'X' is already open and can only have one user at a time."};
const DiagnosticRecord Upgrading{
    "42000", 18401,
    Prefix + "Login failed for user 'DBOPS'. Reason: Server is in script upgrade mode. Only "
             "administrator can connect at this time."};
const DiagnosticRecord NoConnect{"08001", 0, Prefix + "Unable to connect to data source"};
const DiagnosticRecord Refused{
    "08S01", 20009, Prefix + "Unable to connect: Adaptive Server is unavailable or does not exist"};
const DiagnosticRecord Timeout{"HYT00", 0, Prefix + "Timeout expired"};
const DiagnosticRecord Cancelled{"HY008", 0, Prefix + "Operation was cancelled"};
const DiagnosticRecord Eof{"01000", 20017, Prefix + "Unexpected EOF from the server"};
const DiagnosticRecord LinkFailure{"08S01", 0, Prefix + "Communication link failure"};
const DiagnosticRecord Unknown{"HY000", 0, Prefix + "Unknown error"};
const DiagnosticRecord NoTable{"42S02", 208, Prefix + "Invalid object name 'L_Kind'."};
const DiagnosticRecord NoColumn{"42S22", 207, Prefix + "Invalid column name 'x'."};
const DiagnosticRecord Syntax{"42000", 102, Prefix + "Incorrect syntax near 'x'."};
const DiagnosticRecord Info{"01000", 5701, Prefix + "Changed database context to 'X'."};

// Microsoft's drivers, as their documentation gives the records: the legacy "SQL Server"
// driver and ODBC Driver 17/18.
const std::string Legacy = "[Microsoft][ODBC SQL Server Driver][SQL Server]";
const std::string Driver17 = "[Microsoft][ODBC Driver 17 for SQL Server]";
const DiagnosticRecord MsLogin{"28000", 18456, Legacy + "Login failed for user 'DBOPS'."};
const DiagnosticRecord MsNoDatabase{
    "42000", 4060, Legacy + "Cannot open database \"X\" requested by the login. The login failed."};
const DiagnosticRecord MsNoServer{
    "08001", 17,
    "[Microsoft][ODBC SQL Server Driver][DBNETLIB]SQL Server does not exist or access denied."};
const DiagnosticRecord MsConnectionOpen{
    "01000", 53, "[Microsoft][ODBC SQL Server Driver][DBNETLIB]ConnectionOpen (Connect())."};
const DiagnosticRecord Ms17NoServer{
    "08001", 2, Driver17 + "Named Pipes Provider: Could not open a connection to SQL Server [2]. "};
const DiagnosticRecord Ms17LoginTimeout{"HYT00", 0, Driver17 + "Login timeout expired"};
const DiagnosticRecord Ms17QueryTimeout{"HYT00", 0, Driver17 + "Query timeout expired"};
const DiagnosticRecord Ms17Reset{
    "08S01", 10054,
    Driver17 + "TCP Provider: An existing connection was forcibly closed by the remote host.\r\n"};
const DiagnosticRecord Ms17LinkFailure{"08S01", 10054, Driver17 + "Communication link failure"};
const DiagnosticRecord MsNoTable{"42S02", 208, Legacy + "Invalid object name 'Defaults'."};

const std::string ServerGone = "SQL Server does not exist or access denied.";
const std::string NetworkError = "General network error. Check your network documentation.";
const std::string ProviderMissing = "Provider cannot be found. It may not be properly installed.";

struct Case {
    const char* situation;
    std::vector<DiagnosticRecord> records;
    OdbcCall call;
    bool dead;
    std::int32_t code;
    std::string description;
};

// One case to a row or two, laid out by hand.
// clang-format off
const Case Cases[] = {
    {"login refused", {Login, NoConnect}, OdbcCall::Connect, false,
     failure_code::AuthenticationFailed, "Login failed for user 'DBOPS'."},
    {"login refused as 28000", {{"28000", 18488, "[x]Password expired."}}, OdbcCall::Connect,
     false, failure_code::AuthenticationFailed, "Password expired."},
    {"other login failure", {{"42000", 18470, "Account disabled."}}, OdbcCall::Connect, false,
     failure_code::AuthenticationFailed, "Account disabled."},
    {"server refused the login for its own reason", {Upgrading, NoConnect}, OdbcCall::Connect,
     false, failure_code::AuthenticationFailed, WithoutDriverPrefix(Upgrading.message)},
    {"database missing", {Login, NoDatabase, NoConnect}, OdbcCall::Connect, false,
     failure_code::Unspecified, "Cannot open database requested in login 'X'. Login fails."},
    {"database missing as catalog", {{"08004", 911, "[x]Database 'X' does not exist."}, NoConnect},
     OdbcCall::Connect, false, failure_code::Unspecified, "Database 'X' does not exist."},
    {"database held", {SingleUser, Login, NoDatabase, NoConnect}, OdbcCall::Connect, false,
     failure_code::Unspecified,
     "Database 'X' is already open and can only have one user at a time."},
    {"database held in a batch", {SingleUser}, OdbcCall::Execute, false,
     failure_code::Unspecified,
     "Database 'X' is already open and can only have one user at a time."},
    {"tcp refused", {Refused, Refused, NoConnect}, OdbcCall::Connect, false,
     failure_code::Unspecified, ServerGone},
    {"login timeout", {Timeout, NoConnect}, OdbcCall::Connect, false, failure_code::Unspecified,
     ServerGone},
    {"closed after login packet", {NoConnect, Eof, {"01000", 20002, "failed"}},
     OdbcCall::Connect, false, failure_code::Unspecified, ServerGone},
    {"connect without records", {}, OdbcCall::Connect, false, failure_code::Unspecified,
     ServerGone},
    {"driver library missing",
     {{"01000", 0, "[unixODBC][Driver Manager]Can't open lib 'x.so' : file not found"}},
     OdbcCall::Connect, false, failure_code::ProviderNotFound, ProviderMissing},
    {"driver not registered",
     {{"IM002", 0, "[Microsoft][ODBC Driver Manager] Data source name not found and no default "
                   "driver specified"}},
     OdbcCall::Connect, false, failure_code::ProviderNotFound, ProviderMissing},
    {"driver not loadable",
     {{"IM003", 0, "[Microsoft][ODBC Driver Manager] Specified driver could not be loaded"}},
     OdbcCall::Connect, false, failure_code::ProviderNotFound, ProviderMissing},
    {"missing table", {NoTable}, OdbcCall::Execute, false, failure_code::NoSuchTable,
     "Invalid object name 'L_Kind'."},
    {"missing column", {NoColumn}, OdbcCall::Execute, false, failure_code::StatementError,
     "Invalid column name 'x'."},
    {"syntax error with info", {Info, Syntax}, OdbcCall::Execute, false,
     failure_code::StatementError, "Incorrect syntax near 'x'."},
    {"error numbered above the info", {Info, {"42000", 8152, "String would be truncated."}},
     OdbcCall::Execute, false, failure_code::StatementError, "String would be truncated."},
    {"query timeout", {Timeout, Cancelled}, OdbcCall::Execute, false, failure_code::Timeout,
     "Timeout expired"},
    {"query timeout, link dropped", {Timeout}, OdbcCall::Execute, true, failure_code::Timeout,
     "Timeout expired"},
    {"peer closed", {Eof}, OdbcCall::Execute, true, failure_code::Unspecified, NetworkError},
    {"peer closed, flag not set", {Eof}, OdbcCall::Execute, false, failure_code::Unspecified,
     NetworkError},
    {"peer reset", {Unknown}, OdbcCall::Execute, true, failure_code::Unspecified, NetworkError},
    {"unknown error on a live link", {Unknown}, OdbcCall::Execute, false,
     failure_code::StatementError, "Unknown error"},
    {"statement after the link broke", {LinkFailure}, OdbcCall::Execute, true,
     failure_code::Unspecified, NetworkError},
    {"statement without records", {}, OdbcCall::Execute, false, failure_code::StatementError,
     "Unspecified error"},
    {"Microsoft: login refused", {MsLogin}, OdbcCall::Connect, false,
     failure_code::AuthenticationFailed, "Login failed for user 'DBOPS'."},
    {"Microsoft: database missing", {MsNoDatabase, MsLogin}, OdbcCall::Connect, false,
     failure_code::Unspecified,
     "Cannot open database \"X\" requested by the login. The login failed."},
    {"Microsoft: no server", {MsConnectionOpen, MsNoServer}, OdbcCall::Connect, false,
     failure_code::Unspecified, ServerGone},
    {"Microsoft 17: no server", {Ms17NoServer, Ms17LoginTimeout}, OdbcCall::Connect, false,
     failure_code::Unspecified, ServerGone},
    {"Microsoft: missing table", {MsNoTable}, OdbcCall::Execute, false,
     failure_code::NoSuchTable, "Invalid object name 'Defaults'."},
    {"Microsoft 17: query timeout", {Ms17QueryTimeout}, OdbcCall::Execute, false,
     failure_code::Timeout, "Query timeout expired"},
    {"Microsoft 17: link reset", {Ms17Reset, Ms17LinkFailure}, OdbcCall::Execute, true,
     failure_code::Unspecified, NetworkError},
};
// clang-format on

TEST(FailureFromDiagnostics, DecidesByNumbersInAnyRecordOrder)
{
    for (const Case& c : Cases) {
        std::vector<DiagnosticRecord> records = c.records;
        std::sort(records.begin(), records.end(),
                  [](const auto& a, const auto& b) { return a.nativeError < b.nativeError; });
        do {
            const Failure failure = FailureFromDiagnostics(records, c.call, c.dead);
            EXPECT_EQ(failure.Number(), c.code) << c.situation;
            EXPECT_EQ(failure.Description(), c.description) << c.situation;
            // The record that decided is kept as the failure's origin, for logs to name.
            const auto deciding = std::find_if(records.begin(), records.end(), [&](auto& r) {
                return WithoutDriverPrefix(r.message) == c.description;
            });
            if (deciding != records.end()) {
                EXPECT_EQ(failure.SqlState() + "/" + std::to_string(failure.Native()),
                          deciding->sqlState + "/" + std::to_string(deciding->nativeError))
                    << c.situation;
            }
        } while (std::next_permutation(
            records.begin(), records.end(),
            [](const auto& a, const auto& b) { return a.nativeError < b.nativeError; }));
    }
}

TEST(EndedByDeadline, OnlyWhenNoAnswerOfItsOwnArrivedFirst)
{
    const struct {
        const char* situation;
        std::vector<DiagnosticRecord> records;
        bool ended;
    } rows[] = {
        {"no records", {}, true},
        {"statement cancelled", {Cancelled}, true},
        {"login link broken", {NoConnect, Eof, {"01000", 20002, "failed"}}, true},
        {"statement link broken", {Ms17Reset, Ms17LinkFailure}, true},
        {"login refused", {Login, NoConnect}, false},
        {"database missing", {NoDatabase, Login, NoConnect}, false},
        {"missing table", {NoTable}, false},
        {"the driver's own time-out", {Timeout, Cancelled}, false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(EndedByDeadline(row.records), row.ended) << row.situation;
}

// Only a driver that could not be loaded or could not reach the instance hands over to the
// next; what the server answered would be the same through every driver.
TEST(AnotherDriverMayReach, OnlyWhenTheServerGaveNoAnswer)
{
    const DiagnosticRecord legacyTls{
        "08001", 18, "[Microsoft][ODBC SQL Server Driver][DBNETLIB]SSL Security error"};
    const DiagnosticRecord legacyHandshake{
        "01000", 1,
        "[Microsoft][ODBC SQL Server Driver][DBNETLIB]ConnectionOpen (SECDoClientHandshake())."};
    const DiagnosticRecord certificate{
        "08001", -1,
        "[Microsoft][ODBC Driver 18 for SQL Server]SSL Provider: certificate verify failed"};
    const DiagnosticRecord noDriver{"IM002", 0,
                                    "[Microsoft][ODBC Driver Manager] Data source name not found"};
    const struct {
        const char* situation;
        std::vector<DiagnosticRecord> records;
        bool mayReach;
    } rows[] = {
        {"no server", {MsConnectionOpen, MsNoServer}, true},
        {"named pipes closed", {Ms17NoServer, Ms17LoginTimeout}, true},
        {"TLS 1.0 switched off", {legacyHandshake, legacyTls}, true},
        {"certificate", {certificate}, true},
        {"no such driver", {noDriver}, true},
        {"FreeTDS link refused", {NoConnect, Refused}, true},
        {"login refused", {MsLogin}, false},
        {"database missing", {MsNoDatabase, MsLogin}, false},
        {"database in use", {SingleUser, Login}, false},
        {"server in script upgrade mode", {Upgrading, NoConnect}, false},
        {"Microsoft: server in single-user mode",
         {{"42000", 18461,
           Legacy + "Login failed for user 'DBOPS'. Reason: Server is in single user mode. "
                    "Only one administrator can connect at this time."}},
         false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(AnotherDriverMayReach(row.records), row.mayReach) << row.situation;
}

TEST(WithoutDriverPrefix, StripsLeadingBracketGroupsOnly)
{
    EXPECT_EQ(WithoutDriverPrefix("[unixODBC][Driver Manager]Data source not found"),
              "Data source not found");
    EXPECT_EQ(WithoutDriverPrefix("Name [x] stays"), "Name [x] stays");
    EXPECT_EQ(WithoutDriverPrefix("[unterminated"), "[unterminated");
    EXPECT_EQ(WithoutDriverPrefix(""), "");
}

TEST(WithoutSecret, MasksThePasswordWherever)
{
    const Failure failure(failure_code::Unspecified, "pwd=58GrUw3Hyb!! and 58GrUw3Hyb!!");
    const Failure masked = WithoutSecret(failure, "58GrUw3Hyb!!");
    EXPECT_EQ(masked.Number(), failure_code::Unspecified);
    EXPECT_EQ(masked.Description(), "pwd=**** and ****");
    EXPECT_EQ(WithoutSecret(failure, "").Description(), failure.Description());
}
} // namespace
