#include "tests/appgen/form_fixture.h"

#include <unistd.h>

#include <algorithm>
#include <stdexcept>

#include <gtest/gtest.h>

#include "platform/formfile/binary.h"

namespace fixture {

ScratchDir::ScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kzr40-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot create a scratch directory");
    path_ = pattern;
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::vector<std::string> ScratchDir::files() const { return files_in(path_); }

std::vector<std::string> files_in(const std::filesystem::path& directory) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            ADD_FAILURE() << "text does not end with CR LF";
            out.push_back(text.substr(start));
            break;
        }
        const std::string line = text.substr(start, end - start);
        EXPECT_EQ(line.find('\n'), std::string::npos) << "bare line feed in: " << line;
        out.push_back(line);
        start = end + 2;
    }
    return out;
}

formfile::ObjectNode read_form(const std::filesystem::path& file, std::string* resource_name) {
    formfile::ResourceHeader header;
    formfile::ObjectNode root = formfile::read_form_file(read_file(file), &header);
    if (resource_name) *resource_name = header.name;
    return root;
}

std::int64_t integer(const formfile::ObjectNode& node, std::string_view property) {
    const formfile::PropertyEntry* entry = node.find(property);
    if (!entry) throw std::runtime_error(node.name + " has no stored " + std::string(property));
    if (!entry->value.is_integer()) throw std::runtime_error(node.name + "." + std::string(property) + " is no integer");
    return entry->value.integer();
}

std::string text(const formfile::ObjectNode& node, std::string_view property) {
    const formfile::PropertyEntry* entry = node.find(property);
    if (!entry) throw std::runtime_error(node.name + " has no stored " + std::string(property));
    return entry->value.is_ident() ? entry->value.ident_name() : std::string(entry->value.bytes());
}

bool has(const formfile::ObjectNode& node, std::string_view property) { return node.find(property) != nullptr; }

}  // namespace fixture
