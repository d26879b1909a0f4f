#pragma once

#include "platform/ComboBox.h"
#include "platform/WindowServices.h"

#include <string>
#include <vector>

namespace flagwright::testing {

// Stands in for the window in logic tests: a combo box whose text the test sets, and window
// services that log every call, in order, as one line each.
class RecordingWindow : public ComboBox, public WindowServices {
public:
    std::string text;
    std::vector<std::string> items;
    std::vector<std::string> calls;

    std::string Text() const override { return text; }
    void Clear() override;
    void AddItem(const std::string& item) override;
    void MsgBox(const std::string& prompt, MsgBoxStyle style,
                const std::optional<std::string>& title) override;
    void SetScreenPointer(ScreenPointer pointer) override;

    // The logged MsgBox calls only.
    std::vector<std::string> Messages() const;
};

// How RecordingWindow logs a message box: "MsgBox(<prompt>|<style>|<title or (none)>)".
std::string MsgBoxCall(const std::string& prompt, int style, const std::string& title = "");

} // namespace flagwright::testing
