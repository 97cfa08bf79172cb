// Comparing texts the way a user reads them: letter case ignored (Vietnamese letters too) and
// composed and decomposed accents taken as the same letter.
#pragma once
#include <string>
#include <string_view>

namespace fendo::exchange {

// The text composed (accents joined to their letters) and in small letters.
std::wstring foldedText(std::wstring_view text);
// True when both texts read the same ignoring letter case.
bool sameTextIgnoringCase(std::wstring_view a, std::wstring_view b);

}  // namespace fendo::exchange
