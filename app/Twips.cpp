#include "Twips.h"

#include <QPaintDevice>

#include <cmath>

namespace flagwright {

namespace {
int ToPixels(int twips, int logicalDpi)
{
    return static_cast<int>(std::lround(twips * logicalDpi / 1440.0));
}
} // namespace

QRect TwipsRect(const QPaintDevice& device, int left, int top, int width, int height)
{
    const int dpiX = device.logicalDpiX();
    const int dpiY = device.logicalDpiY();
    return QRect(ToPixels(left, dpiX), ToPixels(top, dpiY), ToPixels(width, dpiX),
                 ToPixels(height, dpiY));
}

} // namespace flagwright
