#pragma once

#include <QMessageBox>
#include <QTimer>

#include <optional>
#include <vector>

namespace flagwright::testing {

// What a real message box showed when it came up.
struct ShownBox {
    QString title;
    QString text;
    QMessageBox::Icon icon;
    int buttons;
    std::optional<Qt::CursorShape> pointer; // the override cursor while the box was up
};

// Answers every modal message box that comes up while it lives by pressing OK, and records
// what each one showed, so a test that triggers a box does not hang in its event loop.
class MessageBoxWatcher {
public:
    MessageBoxWatcher();

    std::vector<ShownBox> seen;

private:
    void AnswerOpenBox();

    QTimer poll_;
};

} // namespace flagwright::testing
