// Folders the module builds file paths from: its own folder (Data/ lives beside the module)
// and the per-user data folder.
#pragma once
#include <string>
#include "host/core/AcadTypes.h"

// The folder holding the loaded module file, without a trailing separator; empty when the
// module could not be found under its file name.
const std::wstring& moduleFolder();
// Looks the module up among the loaded modules by file name and remembers its folder.
void findModuleFolder(const ACHAR* moduleFileName);
// The per-user data folder + "/KVO/Quorin", created when missing.
std::wstring userDataFolder();
// A path inside the module folder, e.g. moduleFile(L"Data/tl.ini"); relative to the current
// folder when the module folder is unknown.
std::wstring moduleFile(const std::wstring& relative);
