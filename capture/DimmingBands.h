#pragma once
// The dimming's full-screen drawing split into drawings of a band of the
// backdrop image's rows each, so that the imaging library's working copy
// (the size of what one drawing covers) is a band rather than the screen.
//
// The library maps each screen pixel to the image by a matrix made in single
// precision from the drawing's rectangles. A band gives the whole drawing's
// pixels only when its matrix comes out bit for bit the same: its screen rows
// must be the image rows times the scale exactly, and the library's own
// arithmetic on them must give the same numbers. Where the scale does not
// allow that, the whole drawing is the one band.
#include <vector>

struct DimmingBand {
    // The drawing: image rows [imageTop, imageBottom) onto screen rows
    // [screenTop, screenBottom).
    int imageTop, imageBottom, screenTop, screenBottom;
    // Screen rows from here to screenBottom are the band's own and final
    // once drawn; the rows above are a margin that the band above draws
    // again (bilinear sampling may reach the image row above a band's first).
    int ownTop;
};

// The bands for a screen `screenHeight` rows high and an image `imageHeight`
// rows high, of about `imageRowsPerBand` image rows each, lowest first: drawn
// in that order, each band's margin is drawn again by the next.
std::vector<DimmingBand> DimmingBands(int screenHeight, int imageHeight, int imageRowsPerBand);
