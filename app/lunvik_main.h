// The program's entry function, callable in-process by tests.
#pragma once

class CMainFrame;

// Runs the demo until its window closes. Returns 1 after a normal close and
// 2 (after one line on stderr) when the main window cannot be created.
// Command-line arguments make no difference; argv0 names the program.
int LunvikMain(const char* argv0);

// The one main frame object, in static storage.
CMainFrame& MainFrame();
