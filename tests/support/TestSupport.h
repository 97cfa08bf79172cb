// Shared helpers of the test programs: where the sources and the built program are, scratch
// folders, and running fendo or python as a child process.
#pragma once
#include <filesystem>
#include <string>
#include <vector>

namespace fendo::test {

std::filesystem::path sourceDir();
std::filesystem::path binDir();
// tests/data in the source tree.
std::filesystem::path dataDir();
// A new empty folder under the system's temporary folder, removed when the process exits.
std::filesystem::path scratchDir(const std::string& name);

struct RunResult {
    int exitCode = -1;
    std::string output;  // standard output and standard error together
};

// Runs a program with arguments, feeding stdinText, and waits for it.
RunResult runProcess(const std::vector<std::string>& args, const std::string& stdinText = {});
// Runs the built fendo program with the arguments; the script, if any, is passed on stdin with "-s -".
RunResult runFendo(std::vector<std::string> args, const std::string& script = {});
// The Debian python with ezdxf, for checking drawings with an independent reader.
bool haveEzdxf();
RunResult runPython(const std::string& code);

std::string readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, const std::string& text);

}  // namespace fendo::test
