// `kzr40 dfm2txt` and `kzr40 txt2dfm`: form files converted between the binary and the text format.

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "host/commands.h"
#include "host/output.h"
#include "platform/formfile/binary.h"
#include "platform/formfile/text.h"

namespace {

struct ConvertArguments {
    std::string input;
    std::string output;
    bool lf = false;
    bool bare = false;
};

std::string read_whole_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error(path + ": cannot read: " + std::strerror(errno));
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad()) throw std::runtime_error(path + ": cannot read: " + std::strerror(errno));
    return std::move(content).str();
}

void deliver(const ConvertArguments& arguments, const std::string& content) {
    write_output(arguments.output, content);
}

// Converter errors carry the position; the file name goes in front.
template <class Convert>
std::string convert(const std::string& path, Convert&& conversion) {
    const std::string content = read_whole_file(path);
    try {
        return conversion(content);
    } catch (const formfile::FormFileError& e) {
        throw std::runtime_error(path + ": " + e.what());
    }
}

void dfm_to_text(const ConvertArguments& arguments) {
    deliver(arguments, convert(arguments.input, [&](const std::string& content) {
                if (!formfile::looks_binary(content))
                    throw formfile::FormFileError(
                        "byte offset 0: not a binary form file (neither a resource header nor TPF0)");
                return formfile::write_text(formfile::read_form_file(content), !arguments.lf);
            }));
}

void text_to_dfm(const ConvertArguments& arguments) {
    deliver(arguments, convert(arguments.input, [&](const std::string& content) {
                const formfile::ObjectNode root = formfile::read_text(content);
                return arguments.bare ? formfile::write_stream(root) : formfile::write_form_file(root);
            }));
}

}  // namespace

void register_form_commands(CLI::App& app) {
    auto dfm2txt_args = std::make_shared<ConvertArguments>();
    CLI::App* dfm2txt = app.add_subcommand(
        "dfm2txt", "Convert a binary form file (.dfm, with or without its resource header) to form text");
    dfm2txt->add_option("IN", dfm2txt_args->input, "Binary form file")->required();
    dfm2txt->add_option("-o,--output", dfm2txt_args->output, "Write the form text here; standard output when absent or -");
    dfm2txt->add_flag("--lf", dfm2txt_args->lf, "End lines with LF instead of CR LF");
    dfm2txt->callback([dfm2txt_args] { dfm_to_text(*dfm2txt_args); });

    auto txt2dfm_args = std::make_shared<ConvertArguments>();
    CLI::App* txt2dfm = app.add_subcommand(
        "txt2dfm", "Convert form text to a binary form file (resource header named after the root class)");
    txt2dfm->add_option("IN", txt2dfm_args->input, "Form text file")->required();
    txt2dfm->add_option("-o,--output", txt2dfm_args->output,
                        "Write the binary form file here; standard output when absent or -");
    txt2dfm->add_flag("--bare", txt2dfm_args->bare, "Write the component stream (TPF0) without the resource header");
    txt2dfm->callback([txt2dfm_args] { text_to_dfm(*txt2dfm_args); });
}
