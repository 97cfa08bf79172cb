#pragma once
// Big drawings are hundreds of megabytes of small objects. Touched 4 KB page by page, the kernel's
// page faults take about a quarter of a load. glibc's allocator asks the kernel for transparent huge
// pages when its "glibc.malloc.hugetlb" tunable is set, but tunables are read only as a process starts:
// a program that opens drawings calls this first thing in main, and it starts itself again, once, with
// the tunable added (on a kernel that gives huge pages when asked; FENDO_HUGE_PAGES=0 turns it off).
// Returns only when the program goes on in this process; the tunable is then taken out of the
// environment again, so programs started from here see the environment they were given.
namespace fendo::host {

void restartWithHugePages(char** argv);

// Whether the allocator of this process asks for huge pages.
bool usingHugePages();

}  // namespace fendo::host
