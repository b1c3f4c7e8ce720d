#pragma once

// Process entry of the panel: everything before the main window exists and
// after it closes. Returns the process exit code.
int RunPanel(int argc, char** argv);
