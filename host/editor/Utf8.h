// UTF-8 <-> wide string conversion for the editor's terminal and script text.
// Independent of the C locale so that output is UTF-8 whatever LANG says.
#pragma once
#include <string>
#include <string_view>

namespace fendo::editor {

// Encodes wide text (UTF-32 on this platform; lone surrogates become U+FFFD) as UTF-8.
std::string toUtf8(std::wstring_view text);

// Decodes UTF-8; every malformed byte becomes U+FFFD so a bad script line never aborts a run.
std::wstring fromUtf8(std::string_view text);

}  // namespace fendo::editor
