#pragma once
// Names the save path proposes and writes; no window system.
#include <string>

// The proposed file name "岚梭截图" followed by year, month, day, hour,
// minute and second as plain decimal numbers. The hour is the UTC hour plus
// 8, without a carry into the day (China's time, as the program has always
// named its pictures).
std::string DefaultSaveName(int year, int month, int day, int utcHour, int minute, int second);

// The path written for a chosen path: ".png" is always appended, whatever the
// name already ends with.
std::string PngPathFor(const std::string& chosenPath);

