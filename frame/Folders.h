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

// Settings files kept in the module's Data/ folder ("tl.ini", "offset.cfg"). When that folder
// cannot be written (a system-wide install), each user's copy lives in userDataFolder() instead:
// it is written there and read from there first. A writable Data/ folder is used as it is.
bool moduleDataWritable();
std::wstring settingsFileToRead(const std::wstring& name);
std::wstring settingsFileToWrite(const std::wstring& name);
