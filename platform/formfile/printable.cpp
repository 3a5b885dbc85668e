#include "platform/formfile/printable.h"

namespace formfile {

std::string printable(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 32 && byte < 127) out += c;
        else out += '#' + std::to_string(byte);
    }
    return out;
}

}  // namespace formfile
