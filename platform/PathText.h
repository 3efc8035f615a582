#pragma once
#include <string>

// The directory part of a Windows path, up to and including its last
// backslash; empty when the path has none.
std::string DirectoryWithBackslash(const std::string& path);
