#include "Twips.h"

#include <QPaintDevice>

namespace flagwright {

QRect TwipsRect(const QPaintDevice& device, const form::Twips& twips)
{
    const int dpiX = device.logicalDpiX();
    const int dpiY = device.logicalDpiY();
    return QRect(form::TwipsToPixels(twips.left, dpiX), form::TwipsToPixels(twips.top, dpiY),
                 form::TwipsToPixels(twips.width, dpiX), form::TwipsToPixels(twips.height, dpiY));
}

} // namespace flagwright
