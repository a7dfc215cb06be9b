#pragma once

// Starts the program's services, creates the main window and runs the message loop
// until it is closed. Returns the exit code.
int RunProgram();
