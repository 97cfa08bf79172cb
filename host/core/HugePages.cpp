#include "host/core/HugePages.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace fendo::host {
namespace {
constexpr const char* kTunables = "GLIBC_TUNABLES";
constexpr const char* kHugeTunable = "glibc.malloc.hugetlb=1";
// Set across the restart: the value GLIBC_TUNABLES had before it ("-" when it had none), which also
// marks the restarted process so that it never restarts again.
constexpr const char* kRestartedFrom = "FENDO_TUNABLES_BEFORE";
bool restarted = false;

bool hugePagesOnRequest()
{
    // "always" gives huge pages without asking, "never" refuses them: only "madvise" needs the tunable.
    std::ifstream in("/sys/kernel/mm/transparent_hugepage/enabled");
    std::string line;
    return std::getline(in, line) && line.find("[madvise]") != std::string::npos;
}

bool underValgrind()
{
    // Valgrind does not follow exec by default: the restarted program would escape the tool.
    const char* preload = std::getenv("LD_PRELOAD");
    return preload != nullptr && std::strstr(preload, "vgpreload") != nullptr;
}

bool builtWithSanitizer()
{
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    return true;  // the sanitizers bring their own allocator
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
    return true;
#else
    return false;
#endif
#else
    return false;
#endif
}
}  // namespace

bool usingHugePages()
{
    const char* tunables = std::getenv(kTunables);
    return restarted || (tunables != nullptr && std::strstr(tunables, kHugeTunable) != nullptr);
}

void restartWithHugePages(char** argv)
{
    if (const char* before = std::getenv(kRestartedFrom)) {
        if (std::strcmp(before, "-") == 0)
            unsetenv(kTunables);
        else
            setenv(kTunables, before, 1);
        unsetenv(kRestartedFrom);
        restarted = true;
        return;
    }
    const char* off = std::getenv("FENDO_HUGE_PAGES");
    if (off != nullptr && std::strcmp(off, "0") == 0) return;
    const char* tunables = std::getenv(kTunables);
    if (tunables != nullptr && std::strstr(tunables, "glibc.malloc.hugetlb") != nullptr) return;
    if (builtWithSanitizer() || underValgrind() || !hugePagesOnRequest()) return;

    const std::string before = tunables != nullptr ? tunables : "-";
    const std::string with = tunables != nullptr && *tunables ? std::string(tunables) + ":" + kHugeTunable
                                                              : std::string(kHugeTunable);
    setenv(kRestartedFrom, before.c_str(), 1);
    setenv(kTunables, with.c_str(), 1);
    execv("/proc/self/exe", argv);
    // Could not start again: go on as we are, with the environment as it was.
    if (tunables != nullptr)
        setenv(kTunables, before.c_str(), 1);
    else
        unsetenv(kTunables);
    unsetenv(kRestartedFrom);
}

}  // namespace fendo::host
