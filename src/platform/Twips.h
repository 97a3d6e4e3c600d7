#pragma once
#include <QRect>
#include <cmath>

// Design positions are in twips; the screen has 15 twips per pixel.
namespace platform {

inline constexpr int kTwipsPerPixel = 15;

inline int px(int twips) { return static_cast<int>(std::lround(twips / double(kTwipsPerPixel))); }
inline int twips(int pixels) { return pixels * kTwipsPerPixel; }
inline QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(px(left), px(top), px(width), px(height));
}

} // namespace platform
