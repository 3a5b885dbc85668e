// libFuzzer target: the form-text reader on arbitrary bytes. Anything but a clean FormFileError is a
// finding; a text that reads must give the same objects through its binary form and its own text.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/formfile/binary.h"
#include "platform/formfile/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    formfile::ObjectNode node;
    try {
        node = formfile::read_text(input);
    } catch (const formfile::FormFileError&) {
        return 0;
    }
    if (formfile::read_text(formfile::write_text(node)) != node) std::abort();
    std::string stream;
    try {
        stream = formfile::write_stream(node);  // may refuse names over 255 bytes
    } catch (const formfile::FormFileError&) {
        return 0;
    }
    if (formfile::read_stream(stream) != node) std::abort();
    return 0;
}
