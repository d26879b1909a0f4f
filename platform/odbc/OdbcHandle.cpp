#include "platform/odbc/OdbcHandle.h"

#include "platform/odbc/SqlText.h"

#include <mutex>

namespace flagwright::odbc {

OdbcHandle::OdbcHandle(SQLSMALLINT type, SQLHANDLE parent) : type_(type)
{
    if (!Succeeded(SQLAllocHandle(type, parent, &handle_)))
        throw Failure(failure_code::Unspecified, "The ODBC driver manager could not allocate "
                                                 "a handle.");
}

OdbcHandle::~OdbcHandle() { SQLFreeHandle(type_, handle_); }

std::vector<DiagnosticRecord> OdbcHandle::Diagnostics() const
{
    std::vector<DiagnosticRecord> records;
    std::vector<SQLWCHAR> message(512);
    for (SQLSMALLINT number = 1;; ++number) {
        SQLWCHAR state[6] = {};
        SQLINTEGER native = 0;
        SQLSMALLINT length = 0;
        SQLRETURN rc = SQLGetDiagRecW(type_, handle_, number, state, &native, message.data(),
                                      static_cast<SQLSMALLINT>(message.size()), &length);
        if (rc == SQL_SUCCESS_WITH_INFO && length >= static_cast<SQLSMALLINT>(message.size())) {
            message.resize(static_cast<std::size_t>(length) + 1);
            rc = SQLGetDiagRecW(type_, handle_, number, state, &native, message.data(),
                                static_cast<SQLSMALLINT>(message.size()), &length);
        }
        if (!Succeeded(rc))
            return records;
        const auto shown =
            std::min<std::size_t>(static_cast<std::size_t>(length), message.size() - 1);
        records.push_back(
            {FromSqlText(state, 5), static_cast<int>(native), FromSqlText(message.data(), shown)});
    }
}

std::shared_ptr<OdbcHandle> SharedEnvironment()
{
    static std::mutex mutex;
    static std::weak_ptr<OdbcHandle> shared;
    const std::lock_guard lock(mutex);
    if (auto environment = shared.lock())
        return environment;
    auto environment = std::make_shared<OdbcHandle>(SQL_HANDLE_ENV, SQLHANDLE{});
    SQLSetEnvAttr(environment->get(), SQL_ATTR_ODBC_VERSION,
                  reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    shared = environment;
    return environment;
}

WideStrings HowWideStringsAreRead(const OdbcHandle& environment)
{
    // SQL_ATTR_UNIXODBC_VERSION, which Windows' headers do not define.
    constexpr SQLINTEGER UnixOdbcVersion = 65002;
    char version[64] = {};
    SQLINTEGER length = 0;
    return Succeeded(
               SQLGetEnvAttr(environment.get(), UnixOdbcVersion, version, sizeof version, &length))
               ? WideStrings::LowBytes
               : WideStrings::Whole;
}

std::vector<std::string> InstalledDrivers(const OdbcHandle& environment)
{
    std::vector<std::string> drivers;
    SQLWCHAR name[256];
    SQLWCHAR attributes[1024];
    SQLSMALLINT nameLength = 0;
    SQLSMALLINT attributesLength = 0;
    for (SQLUSMALLINT direction = SQL_FETCH_FIRST;
         Succeeded(SQLDriversW(environment.get(), direction, name, 256, &nameLength, attributes,
                               1024, &attributesLength));
         direction = SQL_FETCH_NEXT)
        drivers.push_back(
            FromSqlText(name, std::min<std::size_t>(static_cast<std::size_t>(nameLength), 255)));
    return drivers;
}

} // namespace flagwright::odbc
