#include "platform/odbc/ResultReader.h"

#include "platform/Utf16.h"
#include "platform/odbc/SqlText.h"

namespace flagwright::odbc {

namespace {
constexpr std::size_t PieceChars = 512;

std::optional<std::vector<std::string>> ColumnNames(SQLHSTMT statement, SQLSMALLINT count)
{
    std::vector<std::string> names;
    for (SQLUSMALLINT column = 1; column <= count; ++column) {
        SQLWCHAR name[256];
        SQLSMALLINT length = 0;
        SQLSMALLINT type = 0;
        SQLULEN size = 0;
        SQLSMALLINT digits = 0;
        SQLSMALLINT nullable = 0;
        if (!Succeeded(SQLDescribeColW(statement, column, name, 256, &length, &type, &size, &digits,
                                       &nullable)))
            return std::nullopt;
        names.push_back(
            FromSqlText(name, std::min<std::size_t>(static_cast<std::size_t>(length), 255)));
    }
    return names;
}

// One field as text, read in pieces until the driver has given all of it.
std::optional<Variant> FieldValue(SQLHSTMT statement, SQLUSMALLINT column)
{
    std::u16string text;
    SQLWCHAR piece[PieceChars];
    for (;;) {
        SQLLEN indicator = 0;
        const SQLRETURN rc =
            SQLGetData(statement, column, SQL_C_WCHAR, piece, sizeof piece, &indicator);
        if (rc == SQL_NO_DATA)
            break;
        if (!Succeeded(rc))
            return std::nullopt;
        if (indicator == SQL_NULL_DATA)
            return Variant();
        const bool whole = rc == SQL_SUCCESS && indicator != SQL_NO_TOTAL;
        const std::size_t chars =
            whole ? static_cast<std::size_t>(indicator) / sizeof(SQLWCHAR) : PieceChars - 1;
        text.append(piece, piece + std::min(chars, PieceChars - 1));
        if (whole)
            break;
    }
    return Variant(Utf16ToUtf8(text));
}

std::optional<std::vector<std::vector<Variant>>> Rows(SQLHSTMT statement, SQLSMALLINT columns)
{
    std::vector<std::vector<Variant>> rows;
    for (;;) {
        const SQLRETURN rc = SQLFetch(statement);
        if (rc == SQL_NO_DATA)
            return rows;
        if (!Succeeded(rc))
            return std::nullopt;
        std::vector<Variant> row;
        for (SQLUSMALLINT column = 1; column <= columns; ++column) {
            auto value = FieldValue(statement, column);
            if (!value)
                return std::nullopt;
            row.push_back(std::move(*value));
        }
        rows.push_back(std::move(row));
    }
}
} // namespace

std::optional<Recordset> ReadResults(const OdbcHandle& statement)
{
    std::optional<Recordset> first;
    for (;;) {
        SQLSMALLINT columns = 0;
        if (!Succeeded(SQLNumResultCols(statement.get(), &columns)))
            return std::nullopt;
        if (columns > 0 && !first) {
            auto names = ColumnNames(statement.get(), columns);
            auto rows = names ? Rows(statement.get(), columns) : std::nullopt;
            if (!rows)
                return std::nullopt;
            first = Recordset(std::move(*names), std::move(*rows));
        }
        const SQLRETURN rc = SQLMoreResults(statement.get());
        if (rc == SQL_NO_DATA)
            return first ? std::move(first) : Recordset();
        if (!Succeeded(rc))
            return std::nullopt;
    }
}

} // namespace flagwright::odbc
