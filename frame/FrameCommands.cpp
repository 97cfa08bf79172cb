// "KVOHelp" and "ABOUTKVO".
#include "frame/FrameCommands.h"

#include "frame/Folders.h"
#include "host/editor/Shell.h"

void cmdHelp()
{
    // The shell's answer is not examined: without a desktop there is nothing to report.
    const std::wstring path = moduleFile(L"Data/HelpQuorin7.1.chm");
    ShellExecuteOpen(path.c_str());
}
