// The slope-symbol settings file Data/tl.ini: twelve lines, one value each, carrying the
// parameters last used so that the next symbol looks like the previous one.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

class TaluyObj;

namespace fendo::slope {

// The lines of tl.ini, in file order.
enum class SettingsLine : std::size_t {
    DisplayForm = 0,       // combo entry: 0 tick lines, 1 triangles
    ShortColor = 1,        // colour index of short ticks
    LongColor = 2,         // colour index of long ticks
    LongLength = 3,        // long tick length without toe
    ShortLength = 4,       // short tick length without toe
    ToeClearance = 5,      // long ticks stop this far short of the toe
    DivisionLength = 6,    // distance between long ticks
    LongPerTangent = 7,    // long ticks sharing one tangent
    StepsPerDivision = 8,  // short ticks between two long ticks
    ShortRatio = 9,        // short tick length as a fraction of edge-to-toe
    TriangleWidth = 10,    // base width of a triangle tick
    ShowLong = 11,         // 1: long ticks drawn in triangle form
};

// A file with fewer lines than this is not applied.
inline constexpr std::size_t kSettingsLineCount = 12;

using SettingsLines = std::vector<std::wstring>;

// Module folder + "Data/tl.ini".
std::wstring settingsPath();
// The file the settings are read from and written to: settingsPath(), or the user's copy when
// the module's Data/ folder cannot be written (see frame/Folders.h).
std::wstring settingsPathToRead();
std::wstring settingsPathToWrite();

// Reads the file whole, one string per line (empty lines count, a final line without a
// line break counts, a carriage return before the break is dropped). Empty when missing.
SettingsLines readSettings(const std::wstring& path = settingsPathToRead());
// Writes every line followed by a line break, replacing the file. False when it cannot be written.
bool writeSettings(const SettingsLines& lines, const std::wstring& path = settingsPathToWrite());

// The line, or an empty string when the file is shorter.
const std::wstring& settingsLine(const SettingsLines& lines, SettingsLine line);
std::wstring& settingsLine(SettingsLines& lines, SettingsLine line);

// The leading integer or real number of a text, as the C library reads it; 0 when the text
// does not start with a number. Integers beyond the int range are clamped.
int parseInteger(const std::wstring& text);
double parseReal(const std::wstring& text);
// A count filed in 16 bits, clamped to that range.
short toShort(int value);

// Puts lines 0 to 11 into the symbol's fields and flags. The caller checks the line count.
void applySettings(const SettingsLines& lines, TaluyObj& symbol);

// printf-style formatting of one value for a settings line or a dialog field.
std::wstring formatInteger(int value);                        // "%d"
std::wstring formatReal(double value, int decimals);          // "%.<decimals>f"

}  // namespace fendo::slope
