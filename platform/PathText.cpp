#include "platform/PathText.h"

#include <cctype>

std::string DirectoryWithBackslash(const std::string& path) {
    const size_t cut = path.find_last_of('\\');
    if (cut == std::string::npos) return std::string();
    return path.substr(0, cut + 1);
}

const char* MimeTypeForPath(const std::string& path) {
    const size_t dot = path.rfind('.');
    std::string ext = dot == std::string::npos ? path : path.substr(dot + 1);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext == "jpg" || ext == "jpeg" || ext == "jpe") return "image/jpeg";
    if (ext == "png") return "image/png";
    if (ext == "bmp") return "image/bmp";
    return nullptr;
}
