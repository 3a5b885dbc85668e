#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/formfile/value.h"
#include "plugin/entidade.h"
#include "plugin/registros.h"
#include "tests/support/entity_builder.h"
#include "tests/support/read_file.h"

// Builds entities as the host does and reads back what the application generators wrote.
namespace fixture {

using test_support::Attribute;

// An entity named after its table unless `entidade` is given.
inline std::unique_ptr<TEntidade> entity(const std::string& tabela, const std::vector<Attribute>& attributes,
                                         std::int32_t tipoform = 0, const std::string& entidade = "") {
    return test_support::make_entity(entidade.empty() ? tabela : entidade, tabela, attributes, {}, tipoform);
}

// A fresh, empty directory under the system's temporary directory, removed with its contents.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    const std::filesystem::path& path() const { return path_; }
    // The directory with a final separator, as the plug-in takes it.
    std::string prefix() const { return path_.string() + "/"; }
    std::vector<std::string> files() const;  // names of the files inside, sorted

private:
    std::filesystem::path path_;
};

// Names of the entries of a directory (hidden ones too), sorted.
std::vector<std::string> files_in(const std::filesystem::path& directory);
using test_support::read_file;
std::vector<std::string> lines(const std::string& crlf_text);  // split at CR LF; fails on a bare LF
formfile::ObjectNode read_form(const std::filesystem::path& file, std::string* resource_name = nullptr);

// Property helpers on a streamed object.
std::int64_t integer(const formfile::ObjectNode& node, std::string_view property);
std::string text(const formfile::ObjectNode& node, std::string_view property);
bool has(const formfile::ObjectNode& node, std::string_view property);

}  // namespace fixture
