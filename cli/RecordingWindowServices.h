#pragma once

#include "platform/Product.h"
#include "platform/WindowServices.h"

#include <string>

namespace flagwright::cli {

// The window services under --json: the run's message is kept for its JSON line, not printed.
class RecordingWindowServices : public WindowServices {
public:
    void MsgBox(const std::string& prompt, MsgBoxStyle,
                const std::optional<std::string>& title = std::nullopt) override
    {
        title_ = title.value_or(ApplicationTitle);
        text_ = prompt;
    }
    void SetScreenPointer(ScreenPointer) override {}

    const std::string& Title() const { return title_; }
    const std::string& Text() const { return text_; }

private:
    std::string title_;
    std::string text_;
};

} // namespace flagwright::cli
