#include "platform/Recordset.h"

#include "platform/Failure.h"
#include "platform/Text.h"

#include <algorithm>

namespace flagwright {

std::string RequiredText(const Variant& value)
{
    if (!value)
        throw Failure(failure_code::InvalidUseOfNull, "Invalid use of Null");
    return *value;
}

Recordset::Recordset(std::vector<std::string> columns, std::vector<std::vector<Variant>> rows)
    : columns_(std::move(columns)), rows_(std::move(rows))
{}

std::size_t Recordset::ColumnIndex(const std::string& name) const
{
    const auto column = std::find_if(columns_.begin(), columns_.end(),
                                     [&](const std::string& c) { return SameName(c, name); });
    if (column == columns_.end())
        throw Failure(failure_code::ItemNotFound,
                      "Item cannot be found in the collection corresponding to the requested "
                      "name or ordinal.");
    return static_cast<std::size_t>(column - columns_.begin());
}

Field Recordset::Fields(const std::string& name) const
{
    const std::size_t column = ColumnIndex(name);
    if (rows_.empty())
        throw Failure(failure_code::NoCurrentRecord,
                      "Either BOF or EOF is True, or the current record has been deleted. "
                      "Requested operation requires a current record.");
    return Field(rows_.front()[column]);
}

} // namespace flagwright
