// Schema generation runs: banner, one gera_fonte per entity, montar_listagem, finalizar; and gera_tab.
// Calls that need a prepared run, or that get no entity, table or list, are refused without output.

#include <memory>

#include "platform/string_list.h"
#include "plugin/entidade.h"
#include "plugin/entity_view.h"
#include "plugin/exports.h"
#include "schema/banners.h"
#include "schema/buffers.h"
#include "schema/gerador_sql.h"
#include "schema/gerador_unidade.h"

namespace {
constexpr std::int32_t kLinguagemSql = 1;

// The view of the entity being generated. Its storage serves every entity of a run and is released
// with the buffers; like them, it is used from the host's thread only.
std::unique_ptr<EntityView>& view_storage() {
    static std::unique_ptr<EntityView> view;
    return view;
}

const EntityView& view_of(const TEntidade& entidade, std::int32_t tipo_banco) {
    std::unique_ptr<EntityView>& view = view_storage();
    if (!view) view = std::make_unique<EntityView>();
    view->read(entidade, tipo_banco);
    return *view;
}
}  // namespace

extern "C" {

void gerar_cabecalho(std::int32_t linguagem) {
    if (linguagem == kLinguagemSql)
        open_sql_run(generation_buffers());
    else
        open_unit_run(generation_buffers());
}

void gerar_cab_sql() { open_sql_run(generation_buffers()); }

void montar_listagem(HostStringList* lista, std::int32_t moldura) {
    const GenerationBuffers& buffers = generation_buffers();
    if (!lista || !buffers.prepared()) return;
    assemble_listing(buffers, *lista, moldura == 0);
}

void finalizar() {
    generation_buffers().release();
    view_storage().reset();
}

void gera_fonte_sql(TEntidade* entidade, std::int32_t /*linguagem*/, std::int32_t tipo_banco, bool apagar) {
    GenerationBuffers& buffers = generation_buffers();
    if (!entidade || !buffers.prepared()) return;
    write_sql_statements(view_of(*entidade, tipo_banco), apagar, buffers);
}

void gera_fonte(TEntidade* entidade, std::int32_t linguagem, std::int32_t tipo_banco, bool apagar) {
    if (linguagem == kLinguagemSql) {
        gera_fonte_sql(entidade, kLinguagemSql, tipo_banco, apagar);
        return;
    }
    GenerationBuffers& buffers = generation_buffers();
    if (!entidade || !buffers.prepared()) return;
    write_unit_procedure(view_of(*entidade, tipo_banco), buffers);
}

void gera_tab(TTable* tabela, TEntidade* entidade, const char* diretorio, std::int32_t tipo_banco, bool substituir) {
    if (!tabela || !entidade) return;
    define_table(*tabela, EntityView(*entidade, tipo_banco), diretorio ? diretorio : "", substituir);
}

}  // extern "C"
