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

QRect TwipsRect(const QPaintDevice& device, const form::Twips& twips)
{
    const int dpiX = device.logicalDpiX();
    const int dpiY = device.logicalDpiY();
    return QRect(ToPixels(twips.left, dpiX), ToPixels(twips.top, dpiY), ToPixels(twips.width, dpiX),
                 ToPixels(twips.height, dpiY));
}

} // namespace flagwright
