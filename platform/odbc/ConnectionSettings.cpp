#include "ConnectionSettings.h"

#include "Failure.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace flagwright::odbc {

namespace {
bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string Lowered(std::string_view text)
{
    std::string lowered(text);
    std::transform(lowered.begin(), lowered.end(), lowered.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lowered;
}

[[noreturn]] void Malformed()
{
    throw Failure(failure_code::InvalidArguments,
                  "Arguments are of the wrong type, are out of acceptable range, or are in "
                  "conflict with one another.");
}

// Walks the text once; every read is bounded by the text's end.
class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}

    bool AtEnd() const { return pos_ >= text_.size(); }

    void SkipSeparators()
    {
        while (!AtEnd() && (IsBlank(text_[pos_]) || text_[pos_] == ';'))
            ++pos_;
    }

    // The keyword up to its single "=", with "==" read as a literal "=".
    std::string Keyword()
    {
        std::string keyword;
        while (!AtEnd() && text_[pos_] != ';') {
            if (text_[pos_] == '=') {
                if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '=') {
                    keyword += '=';
                    pos_ += 2;
                    continue;
                }
                ++pos_;
                const std::string_view trimmed = Trimmed(keyword);
                if (trimmed.empty())
                    Malformed();
                return std::string(trimmed);
            }
            keyword += text_[pos_++];
        }
        Malformed();
    }

    std::string Value()
    {
        while (!AtEnd() && IsBlank(text_[pos_]))
            ++pos_;
        if (!AtEnd() && (text_[pos_] == '"' || text_[pos_] == '\''))
            return QuotedValue(text_[pos_++]);
        const std::size_t end = std::min(text_.find(';', pos_), text_.size());
        const std::string_view value = Trimmed(text_.substr(pos_, end - pos_));
        pos_ = end;
        return std::string(value);
    }

private:
    std::string QuotedValue(char quote)
    {
        std::string value;
        for (;;) {
            if (AtEnd())
                Malformed();
            const char c = text_[pos_++];
            if (c != quote) {
                value += c;
            } else if (!AtEnd() && text_[pos_] == quote) {
                value += quote;
                ++pos_;
            } else {
                break;
            }
        }
        while (!AtEnd() && IsBlank(text_[pos_]))
            ++pos_;
        if (!AtEnd() && text_[pos_] != ';')
            Malformed();
        return value;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

int TimeoutSeconds(const std::string& value)
{
    int seconds = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), seconds);
    if (error != std::errc() || end != value.data() + value.size() || seconds < 0)
        Malformed();
    return seconds;
}

void Assign(ConnectionSettings& settings, const std::string& keyword, std::string value)
{
    if (keyword == "user id" || keyword == "uid")
        settings.userId = std::move(value);
    else if (keyword == "pwd" || keyword == "password")
        settings.password = std::move(value);
    else if (keyword == "initial catalog" || keyword == "database")
        settings.database = std::move(value);
    else if (keyword == "data source" || keyword == "server" || keyword == "address")
        settings.dataSource = std::move(value);
    else if (keyword == "connect timeout" || keyword == "connection timeout")
        settings.connectTimeoutSeconds = TimeoutSeconds(value);
}
} // namespace

ConnectionSettings ParseConnectionString(std::string_view text)
{
    ConnectionSettings settings;
    Reader reader(text);
    for (reader.SkipSeparators(); !reader.AtEnd(); reader.SkipSeparators()) {
        const std::string keyword = Lowered(reader.Keyword());
        Assign(settings, keyword, reader.Value());
    }
    return settings;
}

} // namespace flagwright::odbc
