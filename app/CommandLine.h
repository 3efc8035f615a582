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

// The launcher's command line must fit its 260-byte buffer with the
// terminator; a longer one is not run at all rather than run cut short, when
// it would name another file. Empty then, and when the executable path has
// no directory.
inline constexpr size_t kLauncherBufferSize = 260;
std::string DeskBandCommandFor(const std::string& exePath);

// The command line that starts the executable again without arguments. The
// path is quoted: unquoted, a path with a blank (C:\Program Files\...) would
// first be tried as C:\Program.exe, someone else's program.
std::string RelaunchCommandLine(const std::string& exePath);
