// The small settings files commands keep between runs: one value per line, UTF-8.
#pragma once
#include <string>
#include <vector>

// The file's lines (a carriage return before a line feed is dropped); none when it cannot
// be read.
std::vector<std::wstring> readSettingsLines(const std::wstring& path);
// Writes each value followed by a line feed; false when the file cannot be written.
bool writeSettingsLines(const std::wstring& path, const std::vector<std::wstring>& lines);
