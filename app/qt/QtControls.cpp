#include "app/qt/QtControls.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPaintDevice>
#include <QPushButton>

namespace flagwright {

namespace {
// A label that wraps its text inside a box of fixed size.
QLabel* FixedLabel(const form::Control& control, QWidget* parent)
{
    auto* label = new QLabel(ToQString(control.text), parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(
        (control.alignment == form::Alignment::Centre ? Qt::AlignHCenter : Qt::AlignLeft) |
        Qt::AlignTop);
    label->setWordWrap(true);
    return label;
}

// An editable list that keeps what is typed as typed: Enter adds nothing, nothing completes.
QComboBox* EditableList(QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setDuplicatesEnabled(true);
    combo->setCompleter(nullptr);
    return combo;
}

// Neither the default button nor pressed by Enter while it has the focus.
QPushButton* PushButton(const form::Control& control, QWidget* parent)
{
    auto* button = new QPushButton(ToQString(control.text), parent);
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

QWidget* NewWidget(const form::Control& control, QWidget* parent)
{
    switch (control.kind) {
    case form::Kind::Frame:
        return new QGroupBox(ToQString(control.text), parent);
    case form::Kind::Label:
        return FixedLabel(control, parent);
    case form::Kind::ComboBox:
        return EditableList(parent);
    case form::Kind::PushButton:
        return PushButton(control, parent);
    }
    return nullptr;
}
} // namespace

QString ToQString(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QFont ToQFont(const form::Font& font)
{
    QFont result;
    result.setFamilies({ToQString(font.face), "Microsoft Sans Serif", "Liberation Sans", "Arimo",
                        "Nimbus Sans", "Arial", "Helvetica"});
    result.setStyleHint(QFont::SansSerif);
    result.setPointSizeF(font.points);
    result.setWeight(static_cast<QFont::Weight>(font.weight));
    return result;
}

QRect TwipsRect(const QPaintDevice& device, const form::Twips& twips)
{
    const form::Pixels at = form::ToPixels(twips, device.logicalDpiX(), device.logicalDpiY());
    return QRect(at.left, at.top, at.width, at.height);
}

std::map<std::string_view, QWidget*> BuildControls(QWidget& window)
{
    std::map<std::string_view, QWidget*> built{{form::frmMain, &window}};
    for (const form::Control& control : form::Controls) {
        QWidget* widget = NewWidget(control, built.at(control.container));
        widget->setObjectName(ToQString(control.name));
        if (control.font != form::TextFont::WindowDefault)
            widget->setFont(ToQFont(form::FontOf(control.font)));
        widget->setGeometry(TwipsRect(*widget, control.place));
        built.emplace(control.name, widget);
    }
    built.erase(form::frmMain);

    QWidget* previous = nullptr;
    for (const form::Control& control : form::InTabOrder()) {
        if (!form::TakesFocus(control.kind))
            continue;
        QWidget* widget = built.at(control.name);
        if (previous)
            QWidget::setTabOrder(previous, widget);
        else
            widget->setFocus();
        previous = widget;
    }
    return built;
}

} // namespace flagwright
