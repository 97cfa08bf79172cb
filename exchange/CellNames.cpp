// Column letters and cell names.
#include "exchange/CellNames.h"

namespace fendo::exchange {

std::string columnLetters(int column)
{
    std::string letters;
    for (int n = column + 1; n > 0; n = (n - 1) / 26) letters.insert(letters.begin(), char('A' + (n - 1) % 26));
    return letters;
}

std::optional<int> columnIndex(std::string_view letters)
{
    if (letters.empty() || letters.size() > 3) return std::nullopt;
    int n = 0;
    for (char c : letters) {
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
        if (c < 'A' || c > 'Z') return std::nullopt;
        n = n * 26 + (c - 'A' + 1);
    }
    if (n > kMaxColumns) return std::nullopt;
    return n - 1;
}

std::optional<CellRef> parseCellName(std::string_view name)
{
    size_t i = 0;
    if (i < name.size() && name[i] == '$') ++i;
    const size_t lettersStart = i;
    while (i < name.size() && ((name[i] >= 'A' && name[i] <= 'Z') || (name[i] >= 'a' && name[i] <= 'z'))) ++i;
    const auto column = columnIndex(name.substr(lettersStart, i - lettersStart));
    if (!column) return std::nullopt;
    if (i < name.size() && name[i] == '$') ++i;
    if (i == name.size() || name.size() - i > 7) return std::nullopt;
    long row = 0;
    for (; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9') return std::nullopt;
        row = row * 10 + (name[i] - '0');
    }
    if (row < 1 || row > kMaxRows) return std::nullopt;
    return CellRef{static_cast<int>(row - 1), *column};
}

std::string cellName(int row, int column) { return columnLetters(column) + std::to_string(row + 1); }

}  // namespace fendo::exchange
