// A private copy of the module for tests that read or write its settings files.
#pragma once
#include <filesystem>
#include <string>

namespace fendo::test {

// Copies of the module and its companion libraries beside an empty Data folder; fendo run
// with --module on the copy takes the copy's folder as the module folder, so each test has
// its own settings files and the build's shipped ones stay untouched.
class ModuleFolder {
public:
    explicit ModuleFolder(const std::string& name = "module");
    std::filesystem::path module() const { return m_folder / "Fendo17.arx"; }
    std::filesystem::path dataFile(const std::string& name) const { return m_folder / "Data" / name; }

private:
    std::filesystem::path m_folder;
};

}  // namespace fendo::test
