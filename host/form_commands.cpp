// `kzr40 dfm2txt` and `kzr40 txt2dfm`: form files converted between the binary and the text format.

#include <cstring>
#include <stdexcept>
#include <string>

#include "host/commands.h"
#include "platform/files/output.h"
#include "platform/files/whole_file.h"
#include "platform/formfile/binary.h"
#include "platform/formfile/reader_limits.h"
#include "platform/formfile/text.h"

namespace {

struct ConvertArguments {
    std::string input;
    std::string output;
    bool lf = false;
    bool bare = false;
};

// The whole input, refused beyond the readers' size limit before it is read: by its size when it is a
// regular file, and by stopping at the limit for anything else (a pipe, /dev/zero).
std::string read_form_input(const std::string& input) {
    const std::string path = input_name(input);
    try {
        return read_whole_input(input, formfile::kMaxFormFileSize);
    } catch (const WholeFileError& e) {
        if (e.reason() != WholeFileError::Reason::TooLarge)
            throw std::runtime_error(path + ": cannot read: " + std::strerror(e.error()));
        if (e.size()) throw std::runtime_error(path + ": " + formfile::too_large_message(static_cast<std::size_t>(*e.size())));
        throw std::runtime_error(path + ": more than the " + std::to_string(formfile::kMaxFormFileSize) +
                                 " bytes (64 MiB) that a form file may have; reading stopped there");
    }
}

void deliver(const ConvertArguments& arguments, const std::string& content) {
    write_output(arguments.output, content);
}

// Converter errors carry the position; the file name goes in front.
template <class Step>
auto in_file(const std::string& input, Step&& step) {
    try {
        return step();
    } catch (const formfile::FormFileError& e) {
        throw std::runtime_error(input_name(input) + ": " + e.what());
    }
}

// The input is released once its objects stand, and the text goes out in pieces as it is made, so that
// a large form is held once, as objects.
void dfm_to_text(const ConvertArguments& arguments) {
    const formfile::ObjectNode root = [&] {
        const std::string content = read_form_input(arguments.input);
        return in_file(arguments.input, [&] {
            if (!formfile::looks_binary(content))
                throw formfile::FormFileError("byte offset 0: not a binary form file (neither a resource header nor TPF0)");
            return formfile::read_form_file(content);
        });
    }();
    const bool crlf = !arguments.lf;
    const auto produce = [&](ByteSink& sink) {
        formfile::write_text(root, crlf, [&sink](std::string_view piece) { sink.write(piece); });
    };
    in_file(arguments.input, [&] {
        if (!arguments.output.empty() && arguments.output != "-") return write_file_atomically(arguments.output, produce);
        // What reached standard output cannot be taken back: the whole text is made once without
        // output, so that a value without a text form fails before any of it goes out.
        formfile::write_text(root, crlf, [](std::string_view) {});
        write_stdout(produce);
    });
}

void text_to_dfm(const ConvertArguments& arguments) {
    const formfile::ObjectNode root = [&] {
        const std::string content = read_form_input(arguments.input);
        return in_file(arguments.input, [&] { return formfile::read_text(content); });
    }();
    deliver(arguments, in_file(arguments.input, [&] {
                return arguments.bare ? formfile::write_stream(root) : formfile::write_form_file(root);
            }));
}

}  // namespace

void register_form_commands(CLI::App& app) {
    auto dfm2txt_args = std::make_shared<ConvertArguments>();
    CLI::App* dfm2txt = app.add_subcommand(
        "dfm2txt", "Convert a binary form file (.dfm, with or without its resource header) to form text");
    dfm2txt->add_option("IN", dfm2txt_args->input, "Binary form file; - reads standard input")->required();
    dfm2txt->add_option("-o,--output", dfm2txt_args->output, "Write the form text here; standard output when absent or -");
    dfm2txt->add_flag("--lf", dfm2txt_args->lf, "End lines with LF instead of CR LF");
    dfm2txt->callback([dfm2txt_args] { dfm_to_text(*dfm2txt_args); });

    auto txt2dfm_args = std::make_shared<ConvertArguments>();
    CLI::App* txt2dfm = app.add_subcommand(
        "txt2dfm", "Convert form text to a binary form file (resource header named after the root class)");
    txt2dfm->add_option("IN", txt2dfm_args->input, "Form text file; - reads standard input")->required();
    txt2dfm->add_option("-o,--output", txt2dfm_args->output,
                        "Write the binary form file here; standard output when absent or -");
    txt2dfm->add_flag("--bare", txt2dfm_args->bare, "Write the component stream (TPF0) without the resource header");
    txt2dfm->callback([txt2dfm_args] { text_to_dfm(*txt2dfm_args); });
}
