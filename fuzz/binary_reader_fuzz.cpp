// libFuzzer target: the binary form-file reader on arbitrary bytes. Anything but a clean FormFileError
// is a finding (sanitizer reports, crashes, hangs); what reads must also survive a write and a read.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/formfile/binary.h"
#include "platform/formfile/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    formfile::ObjectNode node;
    try {
        node = formfile::read_form_file(input);
    } catch (const formfile::FormFileError&) {
        return 0;
    }
    // Written again (when the writer does not refuse it), the same objects come back.
    std::string file;
    try {
        file = formfile::write_form_file(node);
    } catch (const formfile::FormFileError&) {
        return 0;
    }
    if (formfile::read_form_file(file) != node) std::abort();
    // Its text, when it has one, reads back without error.
    std::string text;
    try {
        text = formfile::write_text(node);
    } catch (const formfile::FormFileError&) {
        return 0;
    }
    try {
        formfile::read_text(text);
    } catch (const formfile::FormFileError&) {
        std::abort();
    }
    return 0;
}
