#include "platform/odbc/SqlText.h"

#include "platform/Utf16.h"

namespace flagwright::odbc {

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "the driver manager must use UTF-16");

std::vector<SQLWCHAR> ToSqlText(std::string_view utf8)
{
    const std::u16string utf16 = Utf8ToUtf16(utf8);
    std::vector<SQLWCHAR> text(utf16.begin(), utf16.end());
    text.push_back(0);
    return text;
}

std::string FromSqlText(const SQLWCHAR* text, std::size_t length)
{
    return Utf16ToUtf8(std::u16string(text, text + length));
}

} // namespace flagwright::odbc
