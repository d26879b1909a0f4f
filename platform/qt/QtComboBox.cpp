#include "platform/qt/QtComboBox.h"

#include "platform/Utf16.h"

#include <QComboBox>

namespace flagwright {

namespace {
// Through the program's own converter, not Qt's, so that a name holding a lone surrogate comes
// back as itself (and is refused at the connect) instead of as U+FFFD: another name.
QString ToQString(const std::string& text)
{
    const std::u16string utf16 = Utf8ToUtf16(text);
    return QString::fromUtf16(utf16.data(), static_cast<qsizetype>(utf16.size()));
}
} // namespace

std::string QtComboBox::Text() const
{
    const QString text = box_.currentText();
    return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                           static_cast<std::size_t>(text.size())));
}

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
    box_.addItem(ToQString(item));
    box_.setCurrentIndex(index);
    box_.setEditText(text);
}

} // namespace flagwright
