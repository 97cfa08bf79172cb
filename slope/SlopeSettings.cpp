// Reading, writing and applying the slope-symbol settings file.
#include "slope/SlopeSettings.h"

#include <climits>
#include <cwchar>
#include <fstream>

#include <fmt/xchar.h>

#include "frame/Folders.h"
#include "host/db/AcString.h"
#include "slope/TaluyObj.h"

namespace fendo::slope {

std::wstring settingsPath() { return moduleFile(L"Data/tl.ini"); }
std::wstring settingsPathToRead() { return settingsFileToRead(L"tl.ini"); }
std::wstring settingsPathToWrite() { return settingsFileToWrite(L"tl.ini"); }

SettingsLines readSettings(const std::wstring& path)
{
    SettingsLines lines;
    std::ifstream in(fendo::toUtf8(path), std::ios::binary);
    if (!in) return lines;
    std::string line;
    while (std::getline(in, line)) {
        // The file may come from a platform whose text mode ends lines with CR LF.
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(fendo::fromUtf8(line));
    }
    return lines;
}

bool writeSettings(const SettingsLines& lines, const std::wstring& path)
{
    std::ofstream out(fendo::toUtf8(path), std::ios::binary | std::ios::trunc);
    if (!out) return false;
    for (const std::wstring& line : lines) out << fendo::toUtf8(line) << '\n';
    out.close();
    return !out.fail();
}

const std::wstring& settingsLine(const SettingsLines& lines, SettingsLine line)
{
    static const std::wstring none;
    const auto index = static_cast<std::size_t>(line);
    return index < lines.size() ? lines[index] : none;
}

std::wstring& settingsLine(SettingsLines& lines, SettingsLine line)
{
    const auto index = static_cast<std::size_t>(line);
    if (index >= lines.size()) lines.resize(index + 1);
    return lines[index];
}

int parseInteger(const std::wstring& text)
{
    const long value = std::wcstol(text.c_str(), nullptr, 10);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

double parseReal(const std::wstring& text) { return std::wcstod(text.c_str(), nullptr); }

short toShort(int value)
{
    if (value > SHRT_MAX) return SHRT_MAX;
    if (value < SHRT_MIN) return SHRT_MIN;
    return static_cast<short>(value);
}

void applySettings(const SettingsLines& lines, TaluyObj& symbol)
{
    const auto integer = [&lines](SettingsLine line) { return parseInteger(settingsLine(lines, line)); };
    const auto real = [&lines](SettingsLine line) { return parseReal(settingsLine(lines, line)); };
    symbol.setFlag(TaluyObj::Flag::TickForm, integer(SettingsLine::DisplayForm) == 0);
    symbol.setShortColor(toShort(integer(SettingsLine::ShortColor)));
    symbol.setLongColor(toShort(integer(SettingsLine::LongColor)));
    symbol.setLongLength(real(SettingsLine::LongLength));
    symbol.setShortLength(real(SettingsLine::ShortLength));
    symbol.setToeClearance(real(SettingsLine::ToeClearance));
    symbol.setDivisionLength(real(SettingsLine::DivisionLength));
    symbol.setLongPerTangent(toShort(integer(SettingsLine::LongPerTangent)));
    symbol.setStepsPerDivision(toShort(integer(SettingsLine::StepsPerDivision)));
    symbol.setShortRatio(real(SettingsLine::ShortRatio));
    symbol.setTriangleWidth(real(SettingsLine::TriangleWidth));
    symbol.setFlag(TaluyObj::Flag::ShowLong, integer(SettingsLine::ShowLong) == 1);
}

std::wstring formatInteger(int value) { return std::to_wstring(value); }

std::wstring formatReal(double value, int decimals)
{
    return fmt::format(L"{:.{}f}", value, decimals);
}

}  // namespace fendo::slope
