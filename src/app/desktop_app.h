#pragma once
// Start-up and life of the desktop program.

namespace trimlet {

// Starts the window, runs until it closes; the program's exit status.
int RunDesktop(int argc, char** argv);

}  // namespace trimlet
