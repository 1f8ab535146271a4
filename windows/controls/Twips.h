#pragma once

#include <QRect>

// The windows are designed in twips; 15 twips make one device-independent pixel, so Qt's high-DPI
// scaling keeps the designed physical size.
constexpr QRect fromTwips(int left, int top, int width, int height)
{
    return { left / 15, top / 15, width / 15, height / 15 };
}
