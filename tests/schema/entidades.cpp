#include "tests/schema/entidades.h"

#include "platform/clock.h"
#include "plugin/exports.h"

std::vector<std::string> executar(std::int32_t linguagem, const std::vector<const TEntidade*>& entidades,
                                  std::int32_t tipo_banco, bool apagar, std::int32_t moldura) {
    set_fixed_time(0);
    gerar_cabecalho(linguagem);
    for (const TEntidade* e : entidades) gera_fonte(const_cast<TEntidade*>(e), linguagem, tipo_banco, apagar);
    StringList lista;
    montar_listagem(&lista, moldura >= 0 ? moldura : (linguagem == 1 ? 1 : 0));
    finalizar();
    set_fixed_time(std::nullopt);
    return linhas(lista);
}

namespace {
constexpr std::size_t kBannerSql = 9, kBannerUnidade = 16, kMolduraUnidade = 11;
}

std::vector<std::string> corpo_sql(const TEntidade& e, std::int32_t tipo_banco, bool apagar) {
    const auto todas = executar(1, {&e}, tipo_banco, apagar);
    // banner, the empty line, the body, the empty line
    return {todas.begin() + kBannerSql + 1, todas.end() - 1};
}

std::vector<std::string> corpo_unidade(const TEntidade& e, std::int32_t tipo_banco) {
    const auto todas = executar(0, {&e}, tipo_banco);
    // banner, one declaration, frame, six CriarTodas lines, "End;", the empty line, the body, the
    // empty line, "End.  //CriarDBs"
    return {todas.begin() + kBannerUnidade + 1 + kMolduraUnidade + 6 + 2, todas.end() - 2};
}
