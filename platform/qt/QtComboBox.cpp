#include "platform/qt/QtComboBox.h"

#include <QComboBox>

namespace flagwright {

std::string QtComboBox::Text() const { return box_.currentText().toStdString(); }

void QtComboBox::Clear()
{
    box_.clear();
    box_.clearEditText();
}

void QtComboBox::AddItem(const std::string& item)
{
    // QComboBox selects the first item added to an empty list; the operator's text must stay.
    const QString text = box_.currentText();
    const int index = box_.currentIndex();
    box_.addItem(QString::fromStdString(item));
    box_.setCurrentIndex(index);
    box_.setEditText(text);
}

} // namespace flagwright
