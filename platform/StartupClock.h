#pragma once

// Milliseconds since the program's static start-up, for the start-up
// benchmark's "program's own share".
void MarkProgramStart();
double MsSinceProgramStart();
