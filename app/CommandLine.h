#pragma once
#include <cstddef>

// The one word the program reads from its command line. The search is a plain,
// case-sensitive byte search over the whole line, executable path included.
inline constexpr const char kNoStartWord[] = "nostart";

bool ContainsNoStart(const char* commandLine);

#include <string>

// The command that hands over to the desk-band component beside the
// executable: rundll32, the library path in double quotes, then the entry
// point after a comma. Empty when the executable path has no directory.
std::string DeskBandLibraryPath(const std::string& exePath);
std::string DeskBandCommandLine(const std::string& libraryPath);
