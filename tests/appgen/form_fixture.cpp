#include "tests/appgen/form_fixture.h"

#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include <gtest/gtest.h>

#include "platform/formfile/binary.h"
#include "platform/string_list.h"

namespace fixture {

std::unique_ptr<TEntidade> entity(const std::string& tabela, const std::vector<Attribute>& attributes,
                                  std::int32_t tipoform, const std::string& entidade) {
    auto e = std::make_unique<TEntidade>();
    e->SetTabela(tabela);
    e->SetEntidade(entidade.empty() ? tabela : entidade);
    e->SetTipoform(tipoform);
    StringList list;
    for (const Attribute& a : attributes) {
        auto* record = new TAtributo;
        record->nome = a.nome;
        record->titulo = a.titulo.empty() ? a.nome : a.titulo;
        record->rotulo = a.rotulo;
        record->tipo = a.tipo;
        record->tamanho = a.tamanho;
        record->componente = a.componente;
        record->chave = a.chave ? kChavePrimaria : 0;
        record->opcoes = a.opcoes;
        record->largura = a.largura;
        list.AddObject(a.nome, record);
    }
    e->SetAtributos(list);
    return e;
}

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

std::string read(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + file.string());
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
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
    formfile::ObjectNode root = formfile::read_form_file(read(file), &header);
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
