#pragma once

#include "cli/Outcomes.h"
#include "platform/Product.h"
#include "platform/WindowServices.h"

#include <iosfwd>
#include <memory>
#include <string>

namespace flagwright::cli {

// The window of one run or check, which the program runs unattended: the message that every
// run ends in is kept for the report; there is no pointer to set.
struct RunMessages : WindowServices {
    void MsgBox(const std::string& prompt, MsgBoxStyle boxStyle,
                const std::optional<std::string>& boxTitle = std::nullopt) override
    {
        title = boxTitle.value_or(ApplicationTitle);
        text = prompt;
        style = boxStyle;
    }
    void SetScreenPointer(ScreenPointer) override {}

    std::string title;
    std::string text;
    MsgBoxStyle style = MsgBoxStyle::OkOnly;
};

// What a command tells of one database: its outcome, and what that rests on.
struct Told {
    Told(std::string databaseName, const Outcome& what, const RunMessages* box = nullptr)
        : name(std::move(databaseName)), outcome(what), window(box)
    {}

    std::string name;
    const Outcome& outcome;
    const RunMessages* window;          // the message the check or run ended in
    std::string reason;                 // why --all skipped it
    const CheckReport* check = nullptr; // what check found
    const RunReport* run = nullptr;     // what update's run did, in `seconds`; ofAll: of
    double seconds = 0;                 // update --all
    bool ofAll = false;
};

// Where a command tells its outcomes, as text or as JSON Lines: chosen once, from the command
// line. A command says what happened; the reporter says it in its format.
class Reporter {
public:
    virtual ~Reporter() = default;
    virtual void Tell(const Told& told) = 0;
    virtual void NotListed(std::string_view command, const Failure& failure) = 0;
    virtual void Summary(const Tally& tally) = 0;
};

// Text: each database's line on out, its name shown as TextForms.h says (-0: list's names
// exactly, each followed by a NUL); the runs' messages and what went wrong on err.
std::unique_ptr<Reporter> TextReporter(std::ostream& out, std::ostream& err, bool exactNames);
// JSON Lines, on out only.
std::unique_ptr<Reporter> JsonReporter(std::ostream& out);

} // namespace flagwright::cli
