#pragma once

#include "platform/WindowServices.h"

#include <iosfwd>
#include <string>

namespace flagwright::cli {

// The window services of the console program. A message box is printed at once as one line,
// "TITLE: TEXT" (ApplicationTitle where the run gives no title); each line break inside the
// text continues the message on an indented line, so every message starts at the left margin.
// There is no pointer to set. Nothing is read: the program runs unattended.
class ConsoleWindowServices : public WindowServices {
public:
    // The run's one information box, its success, goes to report; every other message (the
    // refusals and failures) goes to errors. Each line of a message begins with linePrefix.
    ConsoleWindowServices(std::ostream& report, std::ostream& errors, std::string linePrefix = {});

    void MsgBox(const std::string& prompt, MsgBoxStyle style,
                const std::optional<std::string>& title = std::nullopt) override;
    void SetScreenPointer(ScreenPointer) override {}

private:
    std::ostream& report_;
    std::ostream& errors_;
    std::string linePrefix_;
};

} // namespace flagwright::cli
