#include "capture/DimmingBands.h"

#include <algorithm>
#include <numeric>

namespace {
// Image rows above a band that its drawing also covers: bilinear sampling of
// a band's first screen row may reach the image row above it, by the way the
// library places pixel centres.
constexpr int kMarginImageRows = 2;

// Whether drawing image rows [imageTop, imageBottom) onto screen rows
// [screenTop, screenBottom) makes the whole drawing's vertical scale and
// offset in the library's single-precision arithmetic: the scale as the
// division of the two heights, the offset as the top less the scaled image
// top (the whole drawing's offset is zero).
bool SameMatrix(int screenTop, int screenBottom, int imageTop, int imageBottom, float wholeScale) {
    const float screenHeight = static_cast<float>(screenBottom) - static_cast<float>(screenTop);
    const float scale = screenHeight / static_cast<float>(imageBottom - imageTop);
    const float scaledTop = scale * static_cast<float>(imageTop);
    const float offset = static_cast<float>(screenTop) - scaledTop;
    return scale == wholeScale && offset == 0.0f;
}
}  // namespace

std::vector<DimmingBand> DimmingBands(int screenHeight, int imageHeight, int imageRowsPerBand) {
    const DimmingBand whole{0, imageHeight, 0, screenHeight, 0};
    if (screenHeight <= 0 || imageHeight <= 0 || imageRowsPerBand <= 0) return {whole};
    // Band edges fall on image rows whose screen row is a whole number.
    const long long divisor = std::gcd(static_cast<long long>(screenHeight), static_cast<long long>(imageHeight));
    const int grain = static_cast<int>(imageHeight / divisor);
    const auto screenRow = [&](int imageRow) {
        return static_cast<int>(static_cast<long long>(imageRow) * screenHeight / imageHeight);
    };
    const int margin = (kMarginImageRows + grain - 1) / grain * grain;
    const int step = std::max(grain, (imageRowsPerBand + grain - 1) / grain * grain);
    const float wholeScale = static_cast<float>(screenHeight) / static_cast<float>(imageHeight);
    std::vector<DimmingBand> bands;
    for (int top = 0; top < imageHeight; top += step) {
        const int bottom = std::min(imageHeight, top + step);
        const int drawnTop = std::max(0, top - margin);
        // A margin reaching the image's top leaves nothing to gain.
        if (top > 0 && drawnTop == 0) return {whole};
        bands.insert(bands.begin(),
                     DimmingBand{drawnTop, bottom, screenRow(drawnTop), screenRow(bottom), screenRow(top)});
        if (!SameMatrix(screenRow(drawnTop), screenRow(bottom), drawnTop, bottom, wholeScale)) return {whole};
    }
    return bands;
}
