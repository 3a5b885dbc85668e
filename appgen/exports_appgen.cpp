// The application generators' entry points.

#include <new>
#include <stdexcept>

#include "appgen/formulario_manutencao.h"
#include "appgen/projeto_principal.h"
#include "platform/components/component.h"
#include "platform/string_list.h"
#include "platform/table.h"
#include "platform/text_file.h"
#include "plugin/entidade.h"
#include "plugin/exports.h"

namespace {

// The host expects the target's two error classes and nothing else from these entry points; any other
// failure inside arrives as EComponentError with its text.
template <typename Geracao>
void na_fronteira(Geracao&& geracao) {
    try {
        geracao();
    } catch (const EInOutError&) {
        throw;
    } catch (const EComponentError&) {
        throw;
    } catch (const std::bad_alloc&) {
        throw EComponentError("Mem\xF3ria insuficiente");
    } catch (const std::exception& e) {
        throw EComponentError(e.what());
    } catch (...) {
        throw EComponentError("Erro interno");
    }
}

}  // namespace

extern "C" {

void gerarform(TTable* tabela, TEntidade* entidade, const char* diretorio, std::int32_t tipo_banco,
               std::uint8_t /*sinal*/) {
    if (!tabela || !entidade) return;
    na_fronteira([&] { gerar_formulario_manutencao(*tabela, *entidade, diretorio ? diretorio : "", tipo_banco); });
}

void gerarmain(HostStringList* entradas, const char* diretorio, std::int32_t tipo_banco, std::int32_t /*reservado*/,
               const char* titulo) {
    const StringList vazia;
    na_fronteira([&] {
        gerar_projeto_principal(entradas ? static_cast<const HostStringList&>(*entradas) : vazia,
                                diretorio ? diretorio : "", tipo_banco, titulo ? titulo : "");
    });
}

}  // extern "C"
