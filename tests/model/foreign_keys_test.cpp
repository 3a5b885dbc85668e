#include <cctype>
#include <string>
#include <vector>

#include "model/foreign_keys.h"
#include "plugin/registros.h"
#include "tests/model/model_fixture.h"

namespace {

using Names = std::vector<std::string>;

// An attribute record that notes its name when it is freed, so that tests see what went and in which
// order.
struct NotedAttribute : TAtributo {
    NotedAttribute(Names& freed, const std::string& name, std::uint32_t key_bits, const std::string& origin)
        : freed_(freed) {
        nome = name;
        chave = key_bits;
        origem = origin;
    }
    ~NotedAttribute() override { freed_.push_back(nome.str()); }
    Names& freed_;
};

struct Attr {
    std::string name;
    std::uint32_t key_bits = 0;
    std::string origin = {};
};

Names entries(const TEntidade* e) {
    Names out;
    for (int i = 0; i < e->atributos().Count(); ++i) out.emplace_back(e->atributos().Get(i));
    return out;
}

// Entities A, B and C, with R1 from A to B and R2 from B to C.
struct ForeignKeys : ModelSurface {
    Names freed;
    TEntidade* a = entity(10, 10, 100, 50);
    TEntidade* b = entity(200, 10, 100, 50);
    TEntidade* c = entity(200, 150, 100, 50);
    TRelacionamento* r1 = relate(a, b);
    TRelacionamento* r2 = relate(b, c);

    // The records note their names in `freed`, which must outlive them.
    ~ForeignKeys() override { delete window; }

    void give(TEntidade* e, const std::vector<Attr>& attributes) {
        StringList list;
        for (const Attr& x : attributes) list.AddObject(x.name, new NotedAttribute(freed, x.name, x.key_bits, x.origin));
        e->SetAtributos(list);
    }
    // B brings its key into C through R2; A brings its key into B through R1 when `a_has_key`.
    void fill(bool a_has_key) {
        give(a, {{a_has_key ? "id_a" : "nome_a", a_has_key ? kChavePrimaria : 0}});
        give(b, {{"id_b", kChavePrimaria}, {"id_a", kChaveEstrangeira, r1->Name()}, {"nome_b"}});
        std::string other_case = r2->Name();
        for (char& ch : other_case) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        give(c, {{"id_b", kChaveEstrangeira, r2->Name()}, {"id_b2", kChaveEstrangeira, other_case}, {"nome_c"}});
        freed.clear();
    }
};

TEST_F(ForeignKeys, DestroyingARelationshipCascadesToTheEntitiesDownstreamFirst) {
    fill(true);
    b->SetBounds(200, 10, 1, 1);
    c->SetBounds(200, 150, 1, 1);
    delete r1;
    EXPECT_EQ(freed, (Names{"id_b", "id_a"}));  // C's key from B first, then B's key from A
    EXPECT_EQ(entries(b), (Names{"id_b", "nome_b"}));
    EXPECT_EQ(entries(c), (Names{"id_b2", "nome_c"}));  // the name is compared with its letter case
    EXPECT_GT(b->Width(), 1);
    EXPECT_GT(c->Width(), 1);
    EXPECT_EQ(r2->GetConnection(1)->Shape(), b);  // R2 stays
}

TEST_F(ForeignKeys, OriginWithoutKeyRemovesNothingButTheCascadeRuns) {
    fill(false);
    delete r1;
    EXPECT_EQ(freed, (Names{"id_b"}));
    EXPECT_EQ(entries(b), (Names{"id_b", "id_a", "nome_b"}));
}

TEST_F(ForeignKeys, EntitiesBeingDeletedOrLoadedAreLeftAloneCascadeIncluded) {
    fill(true);
    b->SetModo(tmodo::tmdelete);
    delete r1;
    EXPECT_TRUE(freed.empty());
    c->SetModo(tmodo::tmload);
    RemoverEstrangeiras(*c, *b, r2->Name());
    EXPECT_TRUE(freed.empty());
}

TEST_F(ForeignKeys, ACycleOfRelationshipsEnds) {
    fill(true);
    TRelacionamento* back = relate(c, a);  // A -> B -> C -> A
    give(a, {{"id_a", kChavePrimaria}, {"id_c", kChaveEstrangeira, back->Name()}});
    give(c, {{"id_c", kChavePrimaria}, {"id_b", kChaveEstrangeira, r2->Name()}});
    freed.clear();
    delete r1;
    // C, then A (reached from C); the way back to B stops there.
    EXPECT_EQ(freed, (Names{"id_c", "id_b", "id_a"}));
}

TEST_F(ForeignKeys, DetachedEndRemovesNothingAndPaintsNothing) {
    fill(true);
    auto* elsewhere = new TDiagramSurface(&owner);
    a->SetParent(elsewhere);
    delete a;  // not on R1's parent: R1 only lets go of it
    ASSERT_EQ(r1->GetConnection(1)->Shape(), nullptr);
    r1->LineColour = 0x808000;
    RecordingCanvas canvas(400, 300);
    surface->PaintTo(canvas);
    const Strokes s = strokes_in(canvas, r1->LineColour, {});
    EXPECT_TRUE(s.lines.empty());
    EXPECT_TRUE(s.ellipses.empty());
    freed.clear();
    delete r1;
    EXPECT_TRUE(freed.empty());
    EXPECT_EQ(entries(b), (Names{"id_b", "id_a", "nome_b"}));
}

// A whole diagram that goes frees each entity's records with the entity, in teardown order (C, B, A):
// no relationship takes its keys out first, whether the surface goes or the owner of the shapes.
TEST_F(ForeignKeys, FreeingTheWholeDiagramLeavesEveryKeyToItsEntity) {
    fill(true);
    delete window;
    window = nullptr;
    EXPECT_EQ(freed, (Names{"id_b", "id_b2", "nome_c", "id_b", "id_a", "nome_b", "id_a"}));
}

TEST_F(ForeignKeys, FreeingTheOwnerOfEveryShapeLeavesEveryKeyToItsEntity) {
    auto* diagram = new TComponent(nullptr, TComponentClass());
    auto* x = new TEntidade(diagram);
    auto* y = new TEntidade(diagram);
    for (TEntidade* e : {x, y}) e->SetParent(surface);
    auto* line = new TRelacionamento(diagram);
    line->SetParent(surface);
    TnoxConnection start, end;
    start.SetShape(x);
    end.SetShape(y);
    line->Connect(&start, &end);
    give(x, {{"id_x", kChavePrimaria}});
    give(y, {{"id_y", kChavePrimaria}, {"id_x", kChaveEstrangeira, line->Name()}});
    freed.clear();
    delete diagram;  // the surface stays
    EXPECT_EQ(freed, (Names{"id_y", "id_x", "id_x"}));
}

}  // namespace
