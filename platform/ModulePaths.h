#pragma once
#include <string>

// The executable's full path (ANSI), however long; false when it cannot be
// read whole.
bool ExecutablePath(std::string* path);

// Makes the executable's directory the working directory, so the skin is found
// beside the program. Nothing changes when the path cannot be read whole.
void SetWorkingDirectoryToExecutable();
