// fendo --pattern FILE.pat NAME OUT.png|OUT.svg [--scale S] [--size WxH]: a swatch of one pattern,
// drawn without a drawing.
#pragma once
#include <string>
#include <vector>

namespace fendo::app {

// `args` holds FILE, NAME and OUT; `size` is "WxH" or empty for 256x256. Returns the exit status; a
// bad file, name, size or picture is reported on stderr.
int drawPatternSwatch(const std::vector<std::string>& args, double scale, const std::string& size);

}  // namespace fendo::app
