// The shell's "open" verb on a Linux desktop.
#include "host/editor/Shell.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include "host/db/AcString.h"

extern char** environ;

namespace {
std::wstring& lastPath()
{
    static std::wstring path;
    return path;
}
}  // namespace

const std::wstring& lastShellOpenPath() { return lastPath(); }

long ShellExecuteOpen(const ACHAR* path)
{
    lastPath() = path ? path : L"";
    const std::string file = fendo::toUtf8(lastPath());
    if (!std::filesystem::exists(file)) return 2;
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if ((!display || !*display) && (!wayland || !*wayland)) return 31;
    pid_t pid = 0;
    char* argv[] = {const_cast<char*>("xdg-open"), const_cast<char*>(file.c_str()), nullptr};
    if (posix_spawnp(&pid, "xdg-open", nullptr, nullptr, argv, environ) != 0) return 31;
    return 42;
}
