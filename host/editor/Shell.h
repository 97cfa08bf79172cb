// The desktop shell's "open" verb: hands a file to the desktop's opener when there is one.
#pragma once
#include <string>
#include "host/core/AcadTypes.h"

// Starts the desktop's opener (xdg-open) for the path when a display is available, without
// waiting. Returns a value above 32 when the opener was started, as the platform's shell
// does, and 2 (file not found) or 31 (no association) otherwise.
long ShellExecuteOpen(const ACHAR* path);
// The path of the last open request, for tests and the command-line log.
const std::wstring& lastShellOpenPath();
