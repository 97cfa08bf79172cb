// Reading and writing settings files line by line.
#include "frame/SettingsLines.h"

#include <fstream>
#include "host/db/AcString.h"

std::vector<std::wstring> readSettingsLines(const std::wstring& path)
{
    std::ifstream file(fendo::toUtf8(path), std::ios::binary);
    std::vector<std::wstring> lines;
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(fendo::fromUtf8(line));
    }
    return lines;
}

bool writeSettingsLines(const std::wstring& path, const std::vector<std::wstring>& lines)
{
    std::ofstream file(fendo::toUtf8(path), std::ios::binary | std::ios::trunc);
    for (const auto& line : lines) file << fendo::toUtf8(line) << '\n';
    file.close();
    return static_cast<bool>(file);
}
