// Twips of the window model to device pixels and back.
#pragma once

#include <cmath>

namespace lumatone {

inline float TwipsPerPixel(int dotsPerInch) {
    return dotsPerInch > 0 ? 1440.0f / static_cast<float>(dotsPerInch) : 15.0f;
}

// Edges are converted, not sizes, so that controls that touch in twips touch
// in pixels too.
inline int ToPixels(int twips, float twipsPerPixel) {
    return static_cast<int>(std::lround(static_cast<float>(twips) / twipsPerPixel));
}

inline float ToTwips(int pixels, float twipsPerPixel) {
    return static_cast<float>(pixels) * twipsPerPixel;
}

struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

// A rectangle given in window twips, in pixels relative to a parent whose
// own origin lies at (originLeft, originTop) window twips.
inline PixelRect ToPixelRect(int left, int top, int width, int height, int originLeft,
                             int originTop, float twipsPerPixel) {
    const int ox = ToPixels(originLeft, twipsPerPixel);
    const int oy = ToPixels(originTop, twipsPerPixel);
    return {ToPixels(left, twipsPerPixel) - ox, ToPixels(top, twipsPerPixel) - oy,
            ToPixels(left + width, twipsPerPixel) - ox, ToPixels(top + height, twipsPerPixel) - oy};
}

struct PixelLine {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

// A line's ends given in window twips, in pixels relative to a parent as above.
inline PixelLine ToPixelLine(int x1, int y1, int x2, int y2, int originLeft, int originTop,
                             float twipsPerPixel) {
    const int ox = ToPixels(originLeft, twipsPerPixel);
    const int oy = ToPixels(originTop, twipsPerPixel);
    return {ToPixels(x1 + originLeft, twipsPerPixel) - ox,
            ToPixels(y1 + originTop, twipsPerPixel) - oy,
            ToPixels(x2 + originLeft, twipsPerPixel) - ox,
            ToPixels(y2 + originTop, twipsPerPixel) - oy};
}

} // namespace lumatone
