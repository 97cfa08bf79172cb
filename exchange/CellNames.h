// Cell names as spreadsheets write them: column letters ("A", "AB") followed by a 1-based row
// number ("C7"), and the conversions between letters and 0-based column indexes.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace fendo::exchange {

// The largest column a worksheet holds ("XFD") and the largest row.
inline constexpr int kMaxColumns = 16384;
inline constexpr int kMaxRows = 1048576;

// "A" for 0, "Z" for 25, "AA" for 26 ...
std::string columnLetters(int column);
// The 0-based index of column letters in either case; nothing for an empty, non-letter or
// out-of-range name.
std::optional<int> columnIndex(std::string_view letters);

struct CellRef {
    int row = 0;     // 0-based
    int column = 0;  // 0-based
};
// "C7" -> {6, 2}; "$C$7" is accepted too. Nothing for anything else.
std::optional<CellRef> parseCellName(std::string_view name);
// {6, 2} -> "C7".
std::string cellName(int row, int column);

}  // namespace fendo::exchange
