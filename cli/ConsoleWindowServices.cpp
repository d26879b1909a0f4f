#include "cli/ConsoleWindowServices.h"

#include "cli/DisplayedText.h"
#include "platform/Product.h"

#include <ostream>

namespace flagwright::cli {

namespace {
constexpr const char* ContinuationIndent = "  ";
} // namespace

ConsoleWindowServices::ConsoleWindowServices(std::ostream& report, std::ostream& errors,
                                             std::string linePrefix)
    : report_(report), errors_(errors), linePrefix_(std::move(linePrefix))
{}

void ConsoleWindowServices::MsgBox(const std::string& prompt, MsgBoxStyle style,
                                   const std::optional<std::string>& title)
{
    std::string text = linePrefix_ + Displayed(title.value_or(ApplicationTitle)) + ": ";
    // CR LF is the run's own line break; a provider's text may also hold a bare LF or CR. Each
    // line is shown as names are: the server's and the driver's texts carry the database's name,
    // and no control character in it may reach the terminal or the log.
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i <= prompt.size(); ++i) {
        if (i < prompt.size() && prompt[i] != '\r' && prompt[i] != '\n')
            continue;
        text += Displayed(std::string_view(prompt).substr(lineStart, i - lineStart));
        if (i == prompt.size())
            break;
        if (prompt[i] == '\r' && i + 1 < prompt.size() && prompt[i + 1] == '\n')
            ++i;
        lineStart = i + 1;
        text += '\n';
        text += linePrefix_;
        text += ContinuationIndent;
    }
    std::ostream& stream = style == MsgBoxStyle::Information ? report_ : errors_;
    // Flushed, so that the line keeps its place among the other stream's lines in a joint log.
    stream << text << std::endl;
}

} // namespace flagwright::cli
