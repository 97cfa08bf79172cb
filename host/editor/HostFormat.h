// printf-style formatting with the host's wide conventions: in a wide format "%s" and "%c"
// take WIDE arguments, "%hs"/"%S" and "%hc"/"%C" narrow ones ("%ls"/"%lc" wide as well),
// and "%I64d" is a 64-bit integer. The module is written for that convention, which differs
// from the C library's wide printf on this platform.
#pragma once
#include <cstdarg>
#include <string>

namespace fendo::editor {

std::wstring formatHost(const wchar_t* format, va_list args);
std::wstring formatHostV(const wchar_t* format, ...);

}  // namespace fendo::editor
