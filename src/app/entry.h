// The whole life of the process: start-up, switches, one job, tear-down.
#pragma once

#include <windows.h>

#include "app/switches.h"

extern bool SilentMode;
extern HICON ProgramIcon;
extern HFONT DialogBoldFont;
extern char ProgramGroupFolder[1024];

// Runs the program for the argument text (the command line without the
// program's name); returns the exit code, always 0.
int RunProgram(HINSTANCE instance, const char* arguments);

// Shows the message that asks the user to delete the program by hand.
void ShowHandDeletionMessage();
