#pragma once
// The file-type filter of a file dialog, written as "name|pattern|...||":
// pairs of a display name and a pattern, up to the first empty name.
#include <string>
#include <utility>
#include <vector>

std::vector<std::pair<std::string, std::string>> ParseFileFilter(const std::string& filter);
