#pragma once

#include "app/form/FormDescription.h"

#include <QFont>
#include <QRect>
#include <QString>

#include <map>
#include <string_view>

class QPaintDevice;
class QWidget;

namespace flagwright {

QString ToQString(std::string_view utf8);

// The font of the description as a QFont, with stand-ins of the same width where the face is
// missing, so every text stays inside its fixed box.
QFont ToQFont(const form::Font& font);

// A rectangle of the description in pixels of the device's logical DPI.
QRect TwipsRect(const QPaintDevice& device, const form::Twips& twips);

// Builds every control of the form description on the window, placed in twips for the
// window's DPI, chained in tab order, with the focus on the first that takes it. The window
// keeps them as its children; the result finds them by name.
std::map<std::string_view, QWidget*> BuildControls(QWidget& window);

} // namespace flagwright
