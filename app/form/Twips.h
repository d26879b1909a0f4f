#pragma once

// Lengths of the form are twips, 1440 to the logical inch: 15 twips to the pixel at 96 DPI.
namespace flagwright::form {

struct Twips {
    int left;
    int top;
    int width;
    int height;
};

struct Pixels {
    int left;
    int top;
    int width;
    int height;
};

// Twips in pixels at the DPI, to the nearest pixel (half a pixel up); lengths are positive.
constexpr int TwipsToPixels(int twips, int dpi) { return (twips * dpi + 720) / 1440; }

// A rectangle in pixels at the horizontal and the vertical DPI, so a window keeps its
// proportions on high-resolution screens. Each length is rounded on its own, so that equal
// widths stay equal wherever they sit.
constexpr Pixels ToPixels(const Twips& twips, int dpiX, int dpiY)
{
    return {TwipsToPixels(twips.left, dpiX), TwipsToPixels(twips.top, dpiY),
            TwipsToPixels(twips.width, dpiX), TwipsToPixels(twips.height, dpiY)};
}
static_assert(TwipsToPixels(15, 96) == 1 && TwipsToPixels(315, 144) == 32);

} // namespace flagwright::form
