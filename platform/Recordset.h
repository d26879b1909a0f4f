#pragma once

#include <optional>
#include <string>
#include <vector>

namespace flagwright {

// A field value as the database returned it: text (UTF-8) or NULL.
using Variant = std::optional<std::string>;

// The value as text; NULL fails with InvalidUseOfNull, as converting a NULL variant does.
std::string RequiredText(const Variant& value);

class Field {
public:
    explicit Field(Variant value) : value_(std::move(value)) {}
    const Variant& Value() const { return value_; }

private:
    Variant value_;
};

// The rows of one result, read completely when the statement ran, so the connection is free
// for further statements while a record set is still held. The current row is the first.
class Recordset {
public:
    Recordset() = default;
    Recordset(std::vector<std::string> columns, std::vector<std::vector<Variant>> rows);

    // ADO's EOF (the name itself is a C macro): true when the result holds no row.
    bool Eof() const { return rows_.empty(); }
    // Field of the current row by column name (case-insensitive); fails with ItemNotFound
    // when there is no such column and with NoCurrentRecord when there is no current row.
    Field Fields(const std::string& name) const;
    // Where the column is in each of Rows(); fails with ItemNotFound as Fields does.
    std::size_t ColumnIndex(const std::string& name) const;

    const std::vector<std::string>& Columns() const { return columns_; }
    const std::vector<std::vector<Variant>>& Rows() const { return rows_; }

private:
    std::vector<std::string> columns_;
    std::vector<std::vector<Variant>> rows_;
};

} // namespace flagwright
