#include "tests/support/RecordingWindow.h"

namespace flagwright::testing {

void RecordingWindow::Clear()
{
    calls.push_back("Clear");
    items.clear();
    text.clear();
}

void RecordingWindow::AddItem(const std::string& item)
{
    calls.push_back("AddItem(" + item + ")");
    items.push_back(item);
}

void RecordingWindow::MsgBox(const std::string& prompt, MsgBoxStyle style,
                             const std::optional<std::string>& title)
{
    calls.push_back(MsgBoxCall(prompt, static_cast<int>(style), title.value_or("")));
}

void RecordingWindow::SetScreenPointer(ScreenPointer pointer)
{
    calls.push_back("Pointer(" + std::to_string(static_cast<int>(pointer)) + ")");
}

std::vector<std::string> RecordingWindow::Messages() const
{
    std::vector<std::string> messages;
    for (const std::string& call : calls)
        if (call.rfind("MsgBox(", 0) == 0)
            messages.push_back(call);
    return messages;
}

std::string MsgBoxCall(const std::string& prompt, int style, const std::string& title)
{
    return "MsgBox(" + prompt + "|" + std::to_string(style) + "|" +
           (title.empty() ? "(none)" : title) + ")";
}

} // namespace flagwright::testing
