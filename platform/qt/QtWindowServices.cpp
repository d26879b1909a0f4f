#include "platform/qt/QtWindowServices.h"
#include "platform/Product.h"

#include <QApplication>
#include <QMessageBox>

namespace flagwright {

namespace {
QMessageBox::Icon IconFor(MsgBoxStyle style)
{
    switch (style) {
    case MsgBoxStyle::Exclamation:
        return QMessageBox::Warning;
    case MsgBoxStyle::Information:
        return QMessageBox::Information;
    case MsgBoxStyle::OkOnly:
        break;
    }
    return QMessageBox::NoIcon;
}
} // namespace

QtWindowServices::~QtWindowServices() { SetScreenPointer(ScreenPointer::Default); }

void QtWindowServices::MsgBox(const std::string& prompt, MsgBoxStyle style,
                              const std::optional<std::string>& title)
{
    QString text = QString::fromStdString(prompt);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(IconFor(style), QString::fromStdString(title.value_or(ApplicationTitle)), text,
                    QMessageBox::Ok, owner_);
    box.setTextFormat(Qt::PlainText);
    // The box takes the operator's answer, so it shows the arrow even while the hourglass is up.
    if (overriding_)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    box.exec();
    if (overriding_)
        QApplication::restoreOverrideCursor();
}

void QtWindowServices::SetScreenPointer(ScreenPointer pointer)
{
    if (pointer == ScreenPointer::Hourglass) {
        if (overriding_)
            QApplication::changeOverrideCursor(Qt::WaitCursor);
        else
            QApplication::setOverrideCursor(Qt::WaitCursor);
        overriding_ = true;
    } else if (overriding_) {
        QApplication::restoreOverrideCursor();
        overriding_ = false;
    }
}

} // namespace flagwright
