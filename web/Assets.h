// The page's files (HTML, script, style), built into the program from web/assets.
#pragma once
#include <string_view>

namespace fendo::web {

struct Asset {
    std::string_view name;  // file name, as "fendo.js"
    std::string_view body;
};

// Null when there is no such file.
const Asset* findAsset(std::string_view name);
// The content type for a file name's extension.
const char* contentTypeFor(std::string_view name);

}  // namespace fendo::web
