#pragma once
#include <string>

// The directory part of a Windows path, up to and including its last
// backslash; empty when the path has none.
std::string DirectoryWithBackslash(const std::string& path);

// The image type for a path's extension (the text after its last '.', or the
// whole path without one), compared without regard to case: "image/jpeg",
// "image/png", "image/bmp", or null for any other.
const char* MimeTypeForPath(const std::string& path);
