#include "cli/ConsoleWindowServices.h"
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
    std::string text = linePrefix_ + title.value_or(ApplicationTitle) + ": ";
    // CR LF is the run's own line break; a provider's text may also hold a bare LF or CR.
    for (std::size_t i = 0; i < prompt.size(); ++i) {
        if (prompt[i] != '\r' && prompt[i] != '\n') {
            text += prompt[i];
            continue;
        }
        if (prompt[i] == '\r' && i + 1 < prompt.size() && prompt[i + 1] == '\n')
            ++i;
        text += '\n';
        text += linePrefix_;
        text += ContinuationIndent;
    }
    std::ostream& stream = style == MsgBoxStyle::Information ? report_ : errors_;
    // Flushed, so that the line keeps its place among the other stream's lines in a joint log.
    stream << text << std::endl;
}

} // namespace flagwright::cli
