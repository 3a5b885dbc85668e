#pragma once

#include <string>
#include <string_view>

namespace formfile {

// Bytes of a file shown in a message: printable ASCII as it is, every other byte as #nnn (the form
// text's notation), so that control bytes of hostile input never reach the terminal.
std::string printable(std::string_view bytes);

}  // namespace formfile
