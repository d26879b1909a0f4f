#include "cli/ConsoleProgram.h"
#include "cli/Reporter.h"
#include "corrections/KindCodeCorrections.h"
#include "platform/TextForms.h"

#include <cstdio>
#include <ostream>

namespace flagwright::cli {

namespace {
// The outcome's text with its blanks filled in: "would be updated (14.01.03): 392 of 791 to
// change, 397 already corrected, 2 missing".
std::string Filled(const Told& told)
{
    std::string filled(told.outcome.text);
    const auto fill = [&](std::string_view blank, const std::string& with) {
        if (const auto at = filled.find(blank); at != std::string::npos)
            filled.replace(at, blank.size(), with);
    };
    fill("{reason}", told.reason);
    if (!told.check)
        return filled;
    fill("{version}", Displayed(told.check->version.value_or("")));
    if (const auto& counts = told.check->kindCodes)
        fill("{counts}", std::to_string(counts->toChange) + " of " + std::to_string(counts->table) +
                             " to change, " + std::to_string(counts->corrected) +
                             " already corrected, " + std::to_string(counts->missing) + " missing");
    return filled;
}

// Where a run that had begun to write stopped, which the window's message does not tell.
std::string Stopped(const RunReport& run)
{
    const std::string count = std::to_string(KindCodeCorrectionCount);
    const auto at = StoppedAt(run);
    if (!at)
        return "after all " + count + " corrections, as it stamped the version.";
    return "at correction " + std::to_string(*at + 1) + " of " + count + " (kind code " +
           std::string(KindCodeCorrections[*at].KindCode) + "); the " + std::to_string(*at) +
           " before it stayed applied.";
}

class Text : public Reporter {
public:
    Text(std::ostream& out, std::ostream& err, bool exactNames)
        : out_(out), err_(err), exactNames_(exactNames)
    {}

    // Every line flushed, so that in a joint log it keeps its place among the other stream's.
    void Tell(const Told& told) override
    {
        if (&told.outcome == &Offered()) {
            if (exactNames_)
                out_ << told.name << '\0';
            else
                out_ << Displayed(told.name) << '\n';
            return;
        }
        const std::string prefix = Displayed(told.name) + ": ";
        if (const RunReport* run = told.run) {
            // The run's message, on out for its success, then how long it took; of update
            // --all, on err, led by the name, and its outcome on out.
            const std::string lead = told.ofAll ? prefix : std::string();
            std::ostream& report = told.ofAll ? err_ : out_;
            Message(told.window->style == MsgBoxStyle::Information ? report : err_, lead,
                    *told.window);
            char took[48];
            std::snprintf(took, sizeof took, "Took %.2f s.", told.seconds);
            if (run->outcome == RunOutcome::Updated)
                report << lead << took << std::endl;
            if (run->failure && run->writing) // as the message's own lines go on
                err_ << lead << "  The run stopped " << Stopped(*run)
                     << " The version was not changed.\n"
                     << lead << "  Running update again is safe: it applies the whole table."
                     << std::endl;
            if (!told.ofAll)
                return;
        } else if (told.check && told.check->outcome == CheckOutcome::Failed) {
            Message(err_, prefix, *told.window); // what an update would show
        }
        out_ << prefix << Filled(told) << std::endl;
    }

    void NotListed(std::string_view, const Failure& failure) override
    {
        err_ << ProgramName
             << ": the databases could not be listed: " << Displayed(failure.Description())
             << std::endl;
    }

    void Summary(const Tally& tally) override
    {
        std::string line;
        for (const SummaryCount& count : SummaryCounts(tally.command))
            line.append(line.empty() ? "" : ", ")
                .append(std::to_string(tally.Count(count.key)) + " ")
                .append(count.words);
        out_ << line << std::endl;
    }

private:
    // "TITLE: TEXT", each line break of TEXT (the run's CR LF, or a provider's bare LF or CR)
    // going on in an indented line; each line shown as names are, as the server's and the
    // driver's texts carry the database's name, and every line led by the prefix.
    static void Message(std::ostream& stream, const std::string& prefix, const RunMessages& box)
    {
        std::string lines = prefix + Displayed(box.title) + ": ";
        const std::string& text = box.text;
        for (std::size_t start = 0, i = 0; i <= text.size(); ++i) {
            if (i < text.size() && text[i] != '\r' && text[i] != '\n')
                continue;
            lines += Displayed(std::string_view(text).substr(start, i - start));
            if (i < text.size()) {
                i += text.compare(i, 2, "\r\n") == 0 ? 1 : 0;
                start = i + 1;
                lines += "\n" + prefix + "  ";
            }
        }
        stream << lines << std::endl;
    }

    std::ostream& out_;
    std::ostream& err_;
    bool exactNames_;
};
} // namespace

std::unique_ptr<Reporter> TextReporter(std::ostream& out, std::ostream& err, bool exactNames)
{
    return std::make_unique<Text>(out, err, exactNames);
}

} // namespace flagwright::cli
