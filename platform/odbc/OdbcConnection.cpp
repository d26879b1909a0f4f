#include "platform/odbc/OdbcConnection.h"

#include "platform/odbc/ConnectionCancel.h"
#include "platform/odbc/DriverLogin.h"
#include "platform/odbc/ResultReader.h"
#include "platform/odbc/SqlText.h"

#include <algorithm>
#include <mutex>
#include <system_error>

namespace flagwright::odbc {

namespace {
using Clock = CallWatchdog::Clock;

// A driver that could not be loaded or could not reach the instance: the next one may.
struct Unreached : Failure {
    explicit Unreached(const Failure& failure) : Failure(failure) {}
};

Failure LoginTimeout() { return Failure(failure_code::Unspecified, "Login timeout expired"); }

Failure StatementTimeout() { return Failure(failure_code::Timeout, "Timeout expired"); }

// Whole seconds for the driver's own time-outs, which it applies to each wait; never 0,
// which would mean no limit.
SQLULEN DriverSeconds(Clock::duration limit)
{
    const auto seconds = std::chrono::ceil<std::chrono::seconds>(limit).count();
    return static_cast<SQLULEN>(std::max<decltype(seconds)>(seconds, 1));
}

// A thread that cannot be had (a limit of the process or the system reached) fails like any
// other cause, so the run's one trap reports it.
std::unique_ptr<CallWatchdog> StartedWatchdog()
{
    try {
        return std::make_unique<CallWatchdog>();
    } catch (const std::system_error& error) {
        throw Failure(failure_code::ProviderFailed,
                      std::string("Cannot start the watchdog thread: ") + error.what());
    }
}

// One login at a time in this process, so the sockets that appear during a login are that
// login's own.
std::mutex& LoginTurn()
{
    static std::mutex turn;
    return turn;
}

std::vector<LinkSocket> Added(const std::vector<LinkSocket>& now,
                              const std::vector<LinkSocket>& before)
{
    std::vector<LinkSocket> added;
    for (const LinkSocket& socket : now)
        if (std::find(before.begin(), before.end(), socket) == before.end())
            added.push_back(socket);
    return added;
}
} // namespace

OdbcConnection::~OdbcConnection() { Disconnect(); }

void OdbcConnection::Open(const ConnectionSettings& settings)
{
    if (State() == adStateOpen)
        throw layer_failure::ObjectOpen();
    const auto deadline = Clock::now() + settings.connectTimeout;
    // First: an open whose watchdog cannot be started fails before anything is set up.
    if (!watchdog_)
        watchdog_ = StartedWatchdog();
    password_ = settings.password;
    if (!environment_)
        environment_ = SharedEnvironment();
    // One deadline for every driver tried. What is told at the end is the first failure of a
    // driver that tried, over a driver that could not even be loaded.
    Failure met = layer_failure::ProviderNotFound();
    const WideStrings wide = HowWideStringsAreRead(*environment_);
    for (const std::string& driver : DriversInTurn(InstalledDrivers(*environment_))) {
        if (Clock::now() >= deadline && met.Number() != failure_code::ProviderNotFound)
            break;
        try {
            link_ = Connected(driver, wide, settings, deadline);
        } catch (const Unreached& unreached) {
            if (met.Number() == failure_code::ProviderNotFound)
                met = unreached;
            continue;
        }
        try {
            statement_ = std::make_unique<OdbcHandle>(SQL_HANDLE_STMT, link_->get());
        } catch (const Failure&) {
            link_.reset();
            throw;
        }
        driverTimeout_ = 0;
        return;
    }
    throw met;
}

std::unique_ptr<ConnectedLink> OdbcConnection::Connected(const std::string& driver,
                                                         WideStrings wide,
                                                         const ConnectionSettings& settings,
                                                         Clock::time_point deadline)
{
    endpoint_.reset();
    if (!DriverFindsInstance(driver)) {
        try {
            endpoint_ = ServerEndpoint(settings);
        } catch (const Failure& unreachable) {
            throw Unreached(unreachable);
        }
    }
    const DriverLogin login = DriverLoginFor(driver, endpoint_, settings, wide);

    auto link = std::make_unique<OdbcHandle>(SQL_HANDLE_DBC, environment_->get());
    // Kept until the connect: the driver manager may read it only then.
    std::vector<SQLWCHAR> catalog;
    if (login.catalogAttribute) {
        catalog = ToSqlText(*login.catalogAttribute);
        if (!Succeeded(
                SQLSetConnectAttrW(link->get(), SQL_ATTR_CURRENT_CATALOG, catalog.data(), SQL_NTS)))
            throw Diagnosed(link->Diagnostics(), OdbcCall::Connect, false);
    }
    const std::lock_guard loginTurn(LoginTurn());
    const auto left = deadline - Clock::now();
    if (left <= Clock::duration::zero())
        throw LoginTimeout();
    SQLSetConnectAttrW(link->get(), SQL_ATTR_LOGIN_TIMEOUT,
                       reinterpret_cast<SQLPOINTER>(DriverSeconds(left)), 0);
    const std::vector<LinkSocket> before = LinkCandidates();
    // At its deadline a login is cancelled where the driver manager can, and its link broken
    // where the program knows it.
    const CallWatchdog::Steps steps{[&] { CancelConnectionCall(link->get()); },
                                    [&] {
                                        for (const LinkSocket& socket :
                                             Added(LinkCandidates(), before))
                                            BreakSocket(socket);
                                    }};
    const std::vector<SQLWCHAR> text = ToSqlText(login.connectString);
    SQLRETURN rc = SQL_ERROR;
    const bool expired = watchdog_->Guard(deadline, steps, [&] {
        rc = SQLDriverConnectW(link->get(), nullptr, const_cast<SQLWCHAR*>(text.data()),
                               static_cast<SQLSMALLINT>(text.size() - 1), nullptr, 0, nullptr,
                               SQL_DRIVER_NOPROMPT);
    });
    if (!Succeeded(rc)) {
        const std::vector<DiagnosticRecord> records = link->Diagnostics();
        const Failure failure = Diagnosed(records, OdbcCall::Connect, expired);
        if (AnotherDriverMayReach(records))
            throw Unreached(failure);
        throw failure;
    }
    linkSockets_ = Added(LinkCandidates(), before);
    return std::make_unique<ConnectedLink>(std::move(link));
}

Recordset OdbcConnection::Execute(const std::string& commandText)
{
    if (State() != adStateOpen)
        throw layer_failure::ObjectClosed();
    if (!IsCarriedExactly(commandText))
        throw layer_failure::InvalidArguments();
    const auto deadline = Clock::now() + commandTimeout_;
    if (const SQLULEN seconds = DriverSeconds(commandTimeout_); seconds != driverTimeout_) {
        SQLSetStmtAttrW(statement_->get(), SQL_ATTR_QUERY_TIMEOUT,
                        reinterpret_cast<SQLPOINTER>(seconds), 0);
        driverTimeout_ = seconds;
    }
    const CallWatchdog::Steps steps{[this] { SQLCancel(statement_->get()); },
                                    [this] {
                                        for (const LinkSocket& socket : linkSockets_)
                                            BreakSocket(socket);
                                    }};
    const std::vector<SQLWCHAR> text = ToSqlText(commandText);
    // However the call ends, the statement's cursor is closed for the next one: after the
    // failure has read its diagnostics.
    struct CursorClosed {
        SQLHSTMT statement;
        ~CursorClosed() { SQLFreeStmt(statement, SQL_CLOSE); }
    } closed{statement_->get()};
    std::optional<Recordset> result;
    const bool expired = watchdog_->Guard(deadline, steps, [&] {
        const SQLRETURN rc = SQLExecDirectW(statement_->get(), const_cast<SQLWCHAR*>(text.data()),
                                            static_cast<SQLINTEGER>(text.size() - 1));
        if (Succeeded(rc))
            result = ReadResults(*statement_);
        else if (rc == SQL_NO_DATA) // a change that touched no row
            result = Recordset();
    });
    if (!result)
        throw Diagnosed(statement_->Diagnostics(), OdbcCall::Execute, expired);
    return std::move(*result);
}

std::vector<LinkSocket> OdbcConnection::LinkCandidates() const
{
    return endpoint_ ? SocketsTo(*endpoint_) : std::vector<LinkSocket>();
}

void OdbcConnection::Close()
{
    if (State() != adStateOpen)
        throw layer_failure::ObjectClosed();
    Disconnect();
}

void OdbcConnection::Disconnect() noexcept
{
    statement_.reset();
    link_.reset();
}

Failure OdbcConnection::Diagnosed(const std::vector<DiagnosticRecord>& records, OdbcCall call,
                                  bool expired) const
{
    // The watchdog can step in just after the call's own answer arrived: that answer stands.
    const bool timedOut = expired && EndedByDeadline(records);
    const Failure failure =
        timedOut
            ? (call == OdbcCall::Connect ? LoginTimeout() : StatementTimeout())
            : FailureFromDiagnostics(records, call, call == OdbcCall::Execute && ConnectionDead());
    return WithoutSecret(failure, password_);
}

bool OdbcConnection::ConnectionDead() const
{
    SQLUINTEGER dead = SQL_CD_FALSE;
    return Succeeded(
               SQLGetConnectAttrW(link_->get(), SQL_ATTR_CONNECTION_DEAD, &dead, 0, nullptr)) &&
           dead == SQL_CD_TRUE;
}

} // namespace flagwright::odbc
