// Screen lengths of the window designs are in twips: 15 twips to a pixel at 96 dots per inch.
#pragma once

namespace ui {

inline constexpr float kTwipsPerPixel = 15.0f;

constexpr int twipsToPixels(float twips) {
    const float pixels = twips / kTwipsPerPixel;
    return static_cast<int>(pixels < 0 ? pixels - 0.5f : pixels + 0.5f);
}

} // namespace ui
