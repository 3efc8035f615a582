#include "platform/PathText.h"

std::string DirectoryWithBackslash(const std::string& path) {
    const size_t cut = path.find_last_of('\\');
    if (cut == std::string::npos) return std::string();
    return path.substr(0, cut + 1);
}
