#pragma once

#include <QRect>

class QPaintDevice;

namespace flagwright {

// A rectangle given in twips (1440 to the logical inch), in pixels of the device's logical DPI,
// so a window keeps its proportions on high-resolution screens.
QRect TwipsRect(const QPaintDevice& device, int left, int top, int width, int height);

} // namespace flagwright
