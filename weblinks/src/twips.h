// Window sizes are designed in twips (1/1440 inch); Qt places widgets in device-independent pixels.
#pragma once

#include <QRect>

namespace augurlex {

inline int Twips(int twips) {
    return (twips * 96 + 720) / 1440;
}

inline QRect TwipsRect(int left, int top, int width, int height) {
    return {Twips(left), Twips(top), Twips(width), Twips(height)};
}

} // namespace augurlex
