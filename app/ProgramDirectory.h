#pragma once

#include <string>

// The directory of the program's own file, with a trailing separator
// ("/usr/lib/vornlight/"), or empty when it cannot be determined. The panel
// keeps its translations, external resources and diagnostic files there.
std::string GetProgramDirectory();
