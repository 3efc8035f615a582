#include "capture/SaveNaming.h"

#include <cstdio>

std::string DefaultSaveName(int year, int month, int day, int utcHour, int minute, int second) {
    char digits[80];
    std::snprintf(digits, sizeof digits, "%d%d%d%d%d%d", year, month, day, utcHour + 8, minute, second);
    return std::string("岚梭截图") + digits;
}

std::string PngPathFor(const std::string& chosenPath) { return chosenPath + ".png"; }

