#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "platform/components/component_reader.h"
#include "platform/components/streaming.h"
#include "platform/formfile/text.h"
#include "plugin/entidade.h"
#include "plugin/registros.h"

namespace {


// Every field of both records set to a distinct value, reserved positions included, listed non-key
// first so that reading must also keep the keys-first order.
std::unique_ptr<TEntidade> entity_with_every_field() {
    auto e = std::make_unique<TEntidade>();
    e->SetName("Pedido");
    e->SetTabela("PEDIDO");
    e->SetEntidade("Pedido");
    e->SetAlturaform(TEntidade::kAlturaformPadrao);  // equal to the declared default: still stored
    e->SetLarguraform(0);
    StringList atributos;
    auto* total = new TAtributo;
    total->titulo = "Total \xE0 vista";
    total->nome = "TOTAL";
    total->reservado_12 = -12;
    total->tipo = 8;
    total->tamanho = 12;
    total->decimais = 2;
    total->componente = 5;
    total->chave = 0xFFFFFFF2u;  // every bit but the key bit, the top one included
    for (int i = 0; i < 12; ++i) total->reservado_36[i] = static_cast<std::uint8_t>(0xF0 + i);
    total->origem = "Cliente_Pedido";
    total->opcoes = kOpcaoAceitaNulo | kOpcaoForaDoFormulario;
    total->reservado_56 = 56;
    total->largura = 120;
    total->rotulo = "Valor";
    atributos.AddObject("TOTAL", total);
    auto* numero = new TAtributo;
    numero->nome = "NUMERO";
    numero->chave = kChavePrimaria;
    atributos.AddObject("NUMERO", numero);
    e->SetAtributos(atributos);
    StringList chaves;
    auto* chave = new TChaveSecundaria;
    chave->campos = "CLIENTE+NUMERO";
    chave->reservado_8 = -8;
    chave->tipo_indice = kIndiceDuplicados | kIndiceDescendente;
    chaves.AddObject("IDX_PEDIDO", chave);
    e->SetChavesSecundarias(chaves);
    return e;
}

void expect_same_records(const TEntidade& a, const TEntidade& b) {
    ASSERT_EQ(a.atributos().Count(), b.atributos().Count());
    for (int i = 0; i < a.atributos().Count(); ++i) {
        SCOPED_TRACE(i);
        const auto& x = *static_cast<const TAtributo*>(a.atributos().Objects(i));
        const auto& y = *static_cast<const TAtributo*>(b.atributos().Objects(i));
        EXPECT_EQ(a.atributos().Text(i), b.atributos().Text(i));
        EXPECT_EQ(x.titulo, y.titulo);
        EXPECT_EQ(x.nome, y.nome);
        EXPECT_EQ(x.reservado_12, y.reservado_12);
        EXPECT_EQ(x.tipo, y.tipo);
        EXPECT_EQ(x.tamanho, y.tamanho);
        EXPECT_EQ(x.decimais, y.decimais);
        EXPECT_EQ(x.componente, y.componente);
        EXPECT_EQ(x.chave, y.chave);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(x.reservado_36), 12),
                  std::string(reinterpret_cast<const char*>(y.reservado_36), 12));
        EXPECT_EQ(x.origem, y.origem);
        EXPECT_EQ(x.opcoes, y.opcoes);
        EXPECT_EQ(x.reservado_56, y.reservado_56);
        EXPECT_EQ(x.largura, y.largura);
        EXPECT_EQ(x.rotulo, y.rotulo);
    }
    ASSERT_EQ(a.ChavesSecundarias().Count(), b.ChavesSecundarias().Count());
    for (int i = 0; i < a.ChavesSecundarias().Count(); ++i) {
        const auto& x = *static_cast<const TChaveSecundaria*>(a.ChavesSecundarias().Objects(i));
        const auto& y = *static_cast<const TChaveSecundaria*>(b.ChavesSecundarias().Objects(i));
        EXPECT_EQ(a.ChavesSecundarias().Text(i), b.ChavesSecundarias().Text(i));
        EXPECT_EQ(x.campos, y.campos);
        EXPECT_EQ(x.reservado_8, y.reservado_8);
        EXPECT_EQ(x.tipo_indice, y.tipo_indice);
    }
}

TEST(EntityStoredForm, EveryRecordFieldReadsBackOnItsEntryInBothForms) {
    const std::unique_ptr<TEntidade> e = entity_with_every_field();
    const std::string text = formfile::write_text(stream_component(*e), false);
    // Published order, then the records; a stored 300 is not left out.
    const auto at = [&](const char* what) { return text.find(what); };
    EXPECT_LT(at("  entidade = "), at("  atributos.Strings = (\n    'NUMERO'\n    'TOTAL')")) << text;
    EXPECT_LT(at("  atributos.Strings"), at("  FonteTitulo."));
    EXPECT_LT(at("  FonteExtrangeiras.Style"), at("  ChavesSecundarias.Strings = (\n    'IDX_PEDIDO')"));
    EXPECT_LT(at("  Alturaform = 300\n  Larguraform = 0\n"), at("  AttributeRecords = <\n    item\n      nome = 'NUMERO'"));
    EXPECT_LT(at("  AttributeRecords"), at("  SecondaryKeyRecords = <"));
    EXPECT_NE(at("      chave = 4294967282\n"), std::string::npos) << text;

    const std::unique_ptr<TComponent> from_text = read_component_text(text);
    const auto* read = dynamic_cast<const TEntidade*>(from_text.get());
    ASSERT_NE(read, nullptr);
    expect_same_records(*e, *read);
    EXPECT_EQ(read->Alturaform(), 300);
    EXPECT_EQ(read->Larguraform(), 0);

    const std::string bytes = form_file_bytes(*e);
    const std::unique_ptr<TComponent> from_binary = read_component_file(bytes);
    expect_same_records(*e, dynamic_cast<const TEntidade&>(*from_binary));
    EXPECT_EQ(form_file_bytes(*from_binary), bytes);
}

TEST(EntityStoredForm, StreamListedOutOfOrderGetsKeysFirst) {
    const std::unique_ptr<TComponent> read = read_component_text(
        "object E: TEntidade\n"
        "  AttributeRecords = <\n    item\n      nome = 'A'\n    end\n    item\n      nome = 'K'\n      chave = 1\n    end>\n"
        "  atributos.Strings = (\n    'A'\n    'K')\n"
        "end\n");
    const auto& e = dynamic_cast<const TEntidade&>(*read);
    ASSERT_EQ(e.atributos().Count(), 2);
    EXPECT_EQ(e.atributos().Text(0), "K");
    EXPECT_EQ(static_cast<const TAtributo*>(e.atributos().Objects(1))->nome, "A");
}

TEST(EntityStoredForm, MalformedRecordsAreRefusedNamingObjectAndPropertyAndLeaveNothing) {
    const auto error = [](const std::string& body) -> std::string {
        TComponent owner(nullptr, TComponentClass());
        try {
            read_component_text("object E: TEntidade\n" + body + "end\n", &owner);
        } catch (const EComponentError& e) {
            EXPECT_EQ(owner.ComponentCount(), 0) << body;
            return e.what();
        }
        return "no error";
    };
    const std::string one_record = "  AttributeRecords = <\n    item\n      nome = 'A'\n    end>\n";
    EXPECT_NE(error(one_record).find("E.atributos: 0 entradas para 1 registros"), std::string::npos);
    EXPECT_NE(error("  atributos.Strings = (\n    'A'\n    'B')\n" + one_record).find("E.atributos: 2 entradas"),
              std::string::npos);
    EXPECT_NE(error("  ChavesSecundarias.Strings = (\n    'I')\n").find("E.ChavesSecundarias"), std::string::npos);
    EXPECT_NE(error("  AttributeRecords = <\n    item\n      tipo = 5000000000\n    end>\n")
                  .find("E.AttributeRecords[0].tipo"),
              std::string::npos);
    EXPECT_NE(error("  AttributeRecords = <\n    item\n      chave = -1\n    end>\n").find("[0].chave"), std::string::npos);
    EXPECT_NE(error("  AttributeRecords = <\n    item\n      reservado_36 = {\n        010203}\n    end>\n")
                  .find("[0].reservado_36"),
              std::string::npos);
    EXPECT_NE(error("  SecondaryKeyRecords = <\n    item\n      campo = 'A'\n    end>\n").find("[0].campo"),
              std::string::npos);
    EXPECT_NE(error("  SecondaryKeyRecords = <\n    item\n      campos = 1\n    end>\n").find("[0].campos"),
              std::string::npos);
    EXPECT_NE(error("  AttributeRecords = 'x'\n").find("E.AttributeRecords"), std::string::npos);
    EXPECT_NE(error("  Alturaform = 4294967296\n").find("E.Alturaform"), std::string::npos);
    EXPECT_NE(error("  Modo = tmNenhum\n").find("E.Modo"), std::string::npos);
    EXPECT_EQ(error("  atributos.Strings = (\n    'A')\n" + one_record), "no error");
}

TEST(EntityStoredForm, EntriesCannotBeSetWithoutTheirRecords) {
    TEntidade e;
    EXPECT_THROW(e.SetProperty("atributos", Lines{{"A"}}), EComponentError);
    EXPECT_EQ(e.atributos().Count(), 0);
}

}  // namespace
