#pragma once

#include "FormDescription.h"

#include <QRect>

class QPaintDevice;

namespace flagwright {

// A rectangle given in twips, in pixels of the device's logical DPI, so a window keeps its
// proportions on high-resolution screens.
QRect TwipsRect(const QPaintDevice& device, const form::Twips& twips);

} // namespace flagwright
