#include "app/CommandLine.h"

#include <cstring>

bool ContainsNoStart(const char* commandLine) {
    return commandLine != nullptr && std::strstr(commandLine, kNoStartWord) != nullptr;
}

std::string DeskBandLibraryPath(const std::string& exePath) {
    const size_t cut = exePath.find_last_of('\\');
    if (cut == std::string::npos) return std::string();
    return exePath.substr(0, cut) + "\\Trellow.dll";
}

std::string DeskBandCommandLine(const std::string& libraryPath) {
    return "rundll32.exe \"" + libraryPath + "\",ShowDeskband";
}

std::string DeskBandCommandFor(const std::string& exePath) {
    const std::string library = DeskBandLibraryPath(exePath);
    if (library.empty()) return std::string();
    // The command line holds the library path and more, so it is the first
    // to outgrow its buffer.
    std::string command = DeskBandCommandLine(library);
    if (command.size() >= kLauncherBufferSize) return std::string();
    return command;
}

std::string RelaunchCommandLine(const std::string& exePath) { return "\"" + exePath + "\""; }
