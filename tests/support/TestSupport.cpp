// Shared helpers of the test programs.
#include "support/TestSupport.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace fendo::test {
namespace fs = std::filesystem;

fs::path sourceDir()
{
    const char* s = std::getenv("FENDO_SOURCE_DIR");
    return s ? fs::path(s) : fs::path(FENDO_SOURCE_DIR_DEFAULT);
}

fs::path binDir()
{
    // The test programs are built into the same folder as fendo.
    const char* s = std::getenv("FENDO_BIN_DIR");
    return s ? fs::path(s) : fs::read_symlink("/proc/self/exe").parent_path();
}

fs::path dataDir() { return sourceDir() / "tests" / "data"; }

namespace {
struct ScratchRoot {
    fs::path root;
    ScratchRoot()
    {
        std::string tmpl = (fs::temp_directory_path() / "fendo-test-XXXXXX").string();
        if (!mkdtemp(tmpl.data())) throw std::runtime_error("cannot make a scratch folder");
        root = tmpl;
    }
    ~ScratchRoot()
    {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
};
}  // namespace

fs::path scratchDir(const std::string& name)
{
    static ScratchRoot root;
    static int counter = 0;
    fs::path dir = root.root / (name + "-" + std::to_string(++counter));
    fs::create_directories(dir);
    return dir;
}

RunResult runProcess(const std::vector<std::string>& args, const std::string& stdinText)
{
    RunResult result;
    const fs::path dir = scratchDir("proc");
    const fs::path in = dir / "stdin.txt";
    const fs::path out = dir / "output.txt";
    writeFile(in, stdinText);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
        result.output = "cannot start " + args[0];
        return result;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.output = readFile(out);
    return result;
}

RunResult runFendo(std::vector<std::string> args, const std::string& script)
{
    args.insert(args.begin(), (binDir() / "fendo").string());
    if (!script.empty()) {
        args.push_back("-s");
        args.push_back("-");
    }
    return runProcess(args, script);
}

bool haveEzdxf()
{
    static const bool have = runProcess({"/usr/bin/python3", "-c", "import ezdxf"}).exitCode == 0;
    return have;
}

RunResult runPython(const std::string& code) { return runProcess({"/usr/bin/python3", "-c", code}); }

std::string readFile(const fs::path& path)
{
    std::ifstream f(path, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

void writeFile(const fs::path& path, const std::string& text)
{
    std::ofstream f(path, std::ios::binary);
    f << text;
}

}  // namespace fendo::test
