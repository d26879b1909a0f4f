#include "corrections/KindCodeComparison.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace flagwright {

namespace {
// Each code of the table as the server's comparison sees it: upper case, no trailing blanks.
std::string ComparedForm(std::string_view code)
{
    const std::size_t end = code.find_last_not_of(' ');
    std::string form(code.substr(0, end == std::string_view::npos ? 0 : end + 1));
    for (char& c : form)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return form;
}

bool Holds(const Variant& value, int flag)
{
    return value && *value == std::string(1, static_cast<char>('0' + flag));
}

enum class Found { None, Corrected, ToChange };
} // namespace

KindCodeCounts CompareWithCorrections(const Recordset& kindCodeFlags)
{
    std::unordered_map<std::string, const KindCodeCorrection*> byCode;
    for (const KindCodeCorrection& correction : KindCodeCorrections)
        byCode.emplace(ComparedForm(correction.KindCode), &correction);
    std::unordered_map<const KindCodeCorrection*, Found> found;

    const std::size_t codeAt = kindCodeFlags.ColumnIndex("KindCode");
    const std::size_t directAt = kindCodeFlags.ColumnIndex("Direct");
    const std::size_t lineOverheadAt = kindCodeFlags.ColumnIndex("LineOverhead");
    for (const std::vector<Variant>& values : kindCodeFlags.Rows()) {
        const Variant& code = values.at(codeAt);
        if (!code)
            continue;
        const auto correction = byCode.find(ComparedForm(*code));
        if (correction == byCode.end())
            continue;
        const KindCodeCorrection& wanted = *correction->second;
        const bool holds = Holds(values.at(directAt), wanted.Direct) &&
                           Holds(values.at(lineOverheadAt), wanted.LineOverhead);
        Found& state = found[&wanted];
        if (!holds)
            state = Found::ToChange;
        else if (state == Found::None)
            state = Found::Corrected;
    }

    KindCodeCounts counts;
    for (const auto& [correction, state] : found)
        ++(state == Found::Corrected ? counts.corrected : counts.toChange);
    counts.present = counts.corrected + counts.toChange;
    counts.missing = counts.table - counts.present;
    return counts;
}

} // namespace flagwright
