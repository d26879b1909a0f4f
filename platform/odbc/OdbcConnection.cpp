#include "OdbcConnection.h"

#include "ConnectionSettings.h"
#include "DriverConnectString.h"
#include "InstanceResolver.h"
#include "ResultReader.h"
#include "ServerAddress.h"
#include "SqlText.h"
#include "UnreachableServer.h"

#include <unistd.h>

#include <array>

namespace flagwright::odbc {

namespace {
// What ADO uses when the program sets no command time-out.
constexpr SQLULEN CommandTimeoutSeconds = 30;

bool Succeeded(SQLRETURN rc) { return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO; }

Failure ObjectClosed()
{
    return Failure(failure_code::ObjectClosed,
                   "Operation is not allowed when the object is closed.");
}

Failure ObjectOpen()
{
    return Failure(failure_code::ObjectOpen, "Operation is not allowed when the object is open.");
}

std::string ThisHostName()
{
    std::array<char, 256> name{};
    if (gethostname(name.data(), name.size() - 1) != 0)
        return {};
    return name.data();
}

int ServerPort(const ServerAddress& address)
{
    if (address.port)
        return *address.port;
    if (address.instance.empty())
        return DefaultServerPort;
    const auto port = ResolveInstancePort(address.host, address.instance);
    if (!port)
        throw UnreachableServer();
    return *port;
}
} // namespace

OdbcConnection::~OdbcConnection() { Disconnect(); }

void OdbcConnection::ConnectionString(const std::string& text)
{
    if (State() == adStateOpen)
        throw ObjectOpen();
    connectionString_ = text;
}

void OdbcConnection::Open()
{
    if (State() == adStateOpen)
        throw ObjectOpen();
    const ConnectionSettings settings = ParseConnectionString(connectionString_);
    password_ = settings.password;
    const ServerAddress address = ParseDataSource(settings.dataSource, ThisHostName());
    Connect(settings, address.host, ServerPort(address));
}

void OdbcConnection::Connect(const ConnectionSettings& settings, const std::string& host, int port)
{
    if (!environment_)
        environment_ = SharedEnvironment();
    const auto driver = PreferredDriver(InstalledDrivers(*environment_));
    if (!driver)
        throw Failure(failure_code::Unspecified,
                      "Data source name not found and no default driver specified");
    const DriverLogin login = DriverLoginFor(*driver, host, port, settings);
    const std::vector<SQLWCHAR> text = ToSqlText(login.connectString);

    auto link = std::make_unique<OdbcHandle>(SQL_HANDLE_DBC, environment_->get());
    SQLSetConnectAttrW(
        link->get(), SQL_ATTR_LOGIN_TIMEOUT,
        reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(settings.connectTimeoutSeconds)), 0);
    // Kept until the connect: the driver manager may read it only then.
    std::vector<SQLWCHAR> catalog;
    if (login.catalogAttribute) {
        catalog = ToSqlText(*login.catalogAttribute);
        if (!Succeeded(
                SQLSetConnectAttrW(link->get(), SQL_ATTR_CURRENT_CATALOG, catalog.data(), SQL_NTS)))
            Fail(*link, OdbcCall::Connect);
    }
    const SQLRETURN rc = SQLDriverConnectW(link->get(), nullptr, const_cast<SQLWCHAR*>(text.data()),
                                           static_cast<SQLSMALLINT>(text.size() - 1), nullptr, 0,
                                           nullptr, SQL_DRIVER_NOPROMPT);
    if (!Succeeded(rc))
        Fail(*link, OdbcCall::Connect);
    link_ = std::move(link);
    try {
        auto statement = std::make_unique<OdbcHandle>(SQL_HANDLE_STMT, link_->get());
        SQLSetStmtAttrW(statement->get(), SQL_ATTR_QUERY_TIMEOUT,
                        reinterpret_cast<SQLPOINTER>(CommandTimeoutSeconds), 0);
        statement_ = std::move(statement);
    } catch (const Failure&) {
        Disconnect();
        throw;
    }
}

Recordset OdbcConnection::Execute(const std::string& commandText)
{
    if (State() != adStateOpen)
        throw ObjectClosed();
    const std::vector<SQLWCHAR> text = ToSqlText(commandText);
    const SQLRETURN rc = SQLExecDirectW(statement_->get(), const_cast<SQLWCHAR*>(text.data()),
                                        static_cast<SQLINTEGER>(text.size() - 1));
    std::optional<Recordset> result;
    if (Succeeded(rc))
        result = ReadResults(*statement_);
    else if (rc == SQL_NO_DATA) // a change that touched no row
        result = Recordset();
    if (!result)
        Fail(*statement_, OdbcCall::Execute);
    SQLFreeStmt(statement_->get(), SQL_CLOSE);
    return std::move(*result);
}

void OdbcConnection::Close()
{
    if (State() != adStateOpen)
        throw ObjectClosed();
    Disconnect();
}

void OdbcConnection::Disconnect() noexcept
{
    statement_.reset();
    if (link_)
        SQLDisconnect(link_->get());
    link_.reset();
}

void OdbcConnection::Fail(const OdbcHandle& handle, OdbcCall call) const
{
    const Failure failure = FailureFromDiagnostics(handle.Diagnostics(), call,
                                                   call == OdbcCall::Execute && ConnectionDead());
    if (call == OdbcCall::Execute)
        SQLFreeStmt(handle.get(), SQL_CLOSE);
    throw WithoutSecret(failure, password_);
}

bool OdbcConnection::ConnectionDead() const
{
    SQLUINTEGER dead = SQL_CD_FALSE;
    return Succeeded(
               SQLGetConnectAttrW(link_->get(), SQL_ATTR_CONNECTION_DEAD, &dead, 0, nullptr)) &&
           dead == SQL_CD_TRUE;
}

} // namespace flagwright::odbc
