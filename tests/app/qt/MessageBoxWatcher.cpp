#include "tests/app/qt/MessageBoxWatcher.h"

#include <QAbstractButton>
#include <QApplication>

namespace flagwright::testing {

MessageBoxWatcher::MessageBoxWatcher()
{
    poll_.setInterval(10);
    QObject::connect(&poll_, &QTimer::timeout, [this] { AnswerOpenBox(); });
    poll_.start();
}

void MessageBoxWatcher::AnswerOpenBox()
{
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible())
        return;
    const QCursor* cursor = QApplication::overrideCursor();
    seen.push_back({box->windowTitle(), box->text(), box->icon(),
                    static_cast<int>(box->buttons().size()),
                    cursor ? std::optional(cursor->shape()) : std::nullopt});
    if (QAbstractButton* ok = box->button(QMessageBox::Ok))
        ok->click();
    else
        box->reject();
}

} // namespace flagwright::testing
