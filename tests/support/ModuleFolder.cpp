// Private module folders for the tests.
#include "support/ModuleFolder.h"

#include "support/TestSupport.h"

namespace fendo::test {

ModuleFolder::ModuleFolder(const std::string& name) : m_folder(scratchDir(name))
{
    for (const char* file : {"Fendo17.arx", "KVOObjects17.dbx", "Pelmar17.dbx"})
        std::filesystem::copy_file(binDir() / file, m_folder / file);
    std::filesystem::create_directories(m_folder / "Data");
}

}  // namespace fendo::test
