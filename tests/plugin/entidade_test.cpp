#include "platform/components/diagram_surface.h"
#include "plugin/entidade.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "plugin/registros.h"
#include "tests/support/entity_builder.h"

namespace {

// Attribute records as the host makes them: new, handed over by the setter.
TAtributo* novo_atributo(const char* nome, bool chave) { return test_support::new_attribute({.nome = nome, .chave = chave}); }

std::vector<std::string> nomes(const StringList& lista) {
    std::vector<std::string> out;
    for (int i = 0; i < lista.Count(); ++i) out.emplace_back(lista.Get(i));
    return out;
}

using Nomes = std::vector<std::string>;

// A record that counts its destruction, to check ownership without relying on the sanitizer alone.
struct Contado : TAtributo {
    explicit Contado(int& mortos) : mortos_(mortos) {}
    ~Contado() override { ++mortos_; }
    int& mortos_;
};

TEST(Entity, StartsWithItsDeclaredInitialState) {
    TEntidade e;
    EXPECT_EQ(e.entidade(), "Entidade...");
    EXPECT_TRUE(e.tabela().empty());
    EXPECT_EQ(e.atributos().Count(), 0);
    EXPECT_EQ(e.descricao().Count(), 0);
    EXPECT_EQ(e.ChavesSecundarias().Count(), 0);
    EXPECT_EQ(e.FonteTitulo().Name(), "Arial");
    EXPECT_EQ(e.FonteAtributos().Name(), "Arial");
    EXPECT_EQ(e.FonteExtrangeiras().Name(), "Arial");
    EXPECT_EQ(e.Modo(), tmodo::tmAtributo);
    EXPECT_EQ(e.Primaria(), 0);
    EXPECT_EQ(e.Tipoform(), 0);
    EXPECT_EQ(e.Alturaform(), 0);  // construction does not apply the declared defaults 300 and 400
    EXPECT_EQ(e.Larguraform(), 0);
    EXPECT_TRUE(e.Tituloform().empty());
    EXPECT_TRUE(e.Menu().empty());
}

TEST(Entity, KeysComeFirstEachGroupInItsFormerOrder) {
    TEntidade e;
    StringList lista;
    lista.AddObject("n1", novo_atributo("n1", false));
    lista.AddObject("k1", novo_atributo("k1", true));
    lista.AddObject("n2", novo_atributo("n2", false));
    lista.AddObject("k2", novo_atributo("k2", true));
    e.SetAtributos(lista);
    EXPECT_EQ(nomes(e.atributos()), (Nomes{"k1", "k2", "n1", "n2"}));
    EXPECT_EQ(static_cast<TAtributo*>(e.atributos().Objects(0))->nome, "k1");
    // The giver's list keeps its own order; the records are shared.
    EXPECT_EQ(nomes(lista), (Nomes{"n1", "k1", "n2", "k2"}));
    EXPECT_EQ(e.atributos().Objects(3), lista.Objects(2));
}

TEST(Entity, ForeignKeyBitAloneDoesNotMoveAnAttribute) {
    TEntidade e;
    StringList lista;
    auto* fk = novo_atributo("fk", false);
    fk->chave = kChaveEstrangeira;
    lista.AddObject("fk", fk);
    lista.AddObject("k", novo_atributo("k", true));
    e.SetAtributos(lista);
    EXPECT_EQ(nomes(e.atributos()), (Nomes{"k", "fk"}));
}

TEST(Entity, ShortListsKeepTheirOrder) {
    TEntidade e;
    StringList vazia;
    e.SetAtributos(vazia);
    EXPECT_EQ(e.atributos().Count(), 0);
    StringList uma;
    uma.AddObject("n", novo_atributo("n", false));
    e.SetAtributos(uma);
    EXPECT_EQ(nomes(e.atributos()), (Nomes{"n"}));
}

TEST(Entity, ReassigningTheSameRecordsFreesNothingAndDroppedRecordsAreFreed) {
    int mortos = 0;
    {
        TEntidade e;
        StringList lista;
        auto* a = new Contado(mortos);
        auto* b = new Contado(mortos);
        lista.AddObject("a", a);
        lista.AddObject("b", b);
        e.SetAtributos(lista);
        e.SetAtributos(e.atributos());  // assigning its own list
        e.SetAtributos(lista);
        EXPECT_EQ(mortos, 0);
        lista.Delete(0);  // the host edits its copy and assigns it back: `a` has no owner left but the entity
        e.SetAtributos(lista);
        EXPECT_EQ(mortos, 1);
        EXPECT_EQ(nomes(e.atributos()), (Nomes{"b"}));
    }
    EXPECT_EQ(mortos, 2);
}

TEST(Entity, FreesSecondaryKeyRecordsAndToleratesEntriesWithoutRecord) {
    TEntidade e;
    StringList chaves;
    auto* k = new TChaveSecundaria;
    k->campos = "NOME+CIDADE";
    k->tipo_indice = kIndiceDuplicados | kIndiceDescendente;
    chaves.AddObject("IDX_NOME", k);
    chaves.Add("SEM_REGISTRO");
    e.SetChavesSecundarias(chaves);
    ASSERT_EQ(e.ChavesSecundarias().Count(), 2);
    EXPECT_EQ(static_cast<TChaveSecundaria*>(e.ChavesSecundarias().Objects(0))->campos, "NOME+CIDADE");

    StringList atributos;
    atributos.Add("sem registro");
    atributos.AddObject("k", novo_atributo("k", true));
    e.SetAtributos(atributos);
    EXPECT_EQ(nomes(e.atributos()), (Nomes{"k", "sem registro"}));
}

TEST(Entity, TipoformAcceptsOnlyTheThreeLayouts) {
    TEntidade e;
    e.SetTipoform(2);
    EXPECT_EQ(e.Tipoform(), 2);
    e.SetTipoform(3);
    EXPECT_EQ(e.Tipoform(), 2);
    e.SetTipoform(-1);
    EXPECT_EQ(e.Tipoform(), 2);
    e.SetTipoform(INT32_MIN);
    EXPECT_EQ(e.Tipoform(), 2);
    e.SetTipoform(0);
    EXPECT_EQ(e.Tipoform(), 0);
}

TEST(Entity, RemeasuresOnListFontAndModeChangesOnly) {
    // Placed on a surface inside a window, the box measures itself; shrunk to 1 x 1 before each
    // assignment, it shows which assignments measured it again.
    TComponent owner{nullptr, TComponentClass()};
    auto* window = new TDiagramSurface(&owner);
    auto* surface = new TDiagramSurface(&owner);
    surface->SetParent(window);
    auto* e = new TEntidade(&owner);
    e->SetParent(surface);
    const auto measured_by = [&](const auto& assign) {
        e->SetBounds(0, 0, 1, 1);
        assign();
        return e->Width() > 1 && e->Height() > 1;
    };
    StringList vazia;
    TFont fonte;
    fonte.SetName("Courier New");
    fonte.SetSize(12);
    EXPECT_FALSE(measured_by([&] { e->SetModo(tmodo::tmAtributo); }));  // the current value
    EXPECT_TRUE(measured_by([&] { e->SetModo(tmodo::tmEsquema); }));
    EXPECT_TRUE(measured_by([&] { e->SetAtributos(vazia); }));
    EXPECT_TRUE(measured_by([&] { e->SetChavesSecundarias(vazia); }));
    EXPECT_TRUE(measured_by([&] { e->SetFonteTitulo(fonte); }));
    EXPECT_TRUE(measured_by([&] { e->SetFonteTitulo(fonte); }));  // an equal font all the same
    EXPECT_FALSE(measured_by([&] { e->SetTabela("CLIENTE"); }));
    EXPECT_FALSE(measured_by([&] { e->SetPrimaria(4); }));
    // Off a placed surface nothing is measured.
    surface->SetParent(nullptr);
    EXPECT_FALSE(measured_by([&] { e->SetModo(tmodo::tmChave); }));
}

TEST(Entity, FontsAreCopiedNotShared) {
    TEntidade e;
    TFont fonte;
    fonte.SetName("Courier New");
    fonte.SetHeight(-16);
    e.SetFonteAtributos(fonte);
    fonte.SetName("Changed");
    EXPECT_EQ(e.FonteAtributos().Name(), "Courier New");
    EXPECT_EQ(e.FonteAtributos().Height(), -16);
    EXPECT_EQ(e.FonteTitulo().Name(), "Arial");
}

TEST(Entity, DescriptionListIsReplacedAndOwned) {
    TEntidade e;
    auto nova = std::make_unique<StringList>();
    nova->Add("Cadastro de clientes");
    StringList* endereco = nova.get();
    e.SetDescricao(std::move(nova));
    EXPECT_EQ(&e.descricao(), endereco);
    EXPECT_STREQ(e.descricao().Get(0), "Cadastro de clientes");
    e.SetDescricao(nullptr);
    EXPECT_EQ(e.descricao().Count(), 0);
}

TEST(Entity, PropertiesStoreWhatIsGiven) {
    TEntidade e;
    e.SetTabela("CLIENTE");
    e.SetEntidade("Cliente");
    e.SetTituloform("Clientes");
    e.SetMenu("Cadastros");
    e.SetAlturaform(TEntidade::kAlturaformPadrao);
    e.SetLarguraform(TEntidade::kLarguraformPadrao);
    e.SetPrimaria(kPrimariaDescendente);
    EXPECT_EQ(e.tabela(), "CLIENTE");
    EXPECT_EQ(e.entidade(), "Cliente");
    EXPECT_EQ(e.Tituloform(), "Clientes");
    EXPECT_EQ(e.Menu(), "Cadastros");
    EXPECT_EQ(e.Alturaform(), 300);
    EXPECT_EQ(e.Larguraform(), 400);
    EXPECT_EQ(e.Primaria(), 4);
}

}  // namespace
