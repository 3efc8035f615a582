#include "platform/FontQuality.h"

BYTE SystemTextQuality() {
    BOOL smoothing = FALSE;
    if (!::SystemParametersInfoA(SPI_GETFONTSMOOTHING, 0, &smoothing, 0)) return DEFAULT_QUALITY;
    if (!smoothing) return NONANTIALIASED_QUALITY;
    UINT type = 0;
    if (!::SystemParametersInfoA(SPI_GETFONTSMOOTHINGTYPE, 0, &type, 0)) return DEFAULT_QUALITY;
    return type == FE_FONTSMOOTHINGCLEARTYPE ? CLEARTYPE_QUALITY : ANTIALIASED_QUALITY;
}
