// Making and changing a model in the document of `kzr40 edit`, without a window: entities, attributes,
// keys, relationships with their foreign keys, texts, captions, deletion, and every step undone.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "diagram/diagram_checks.h"
#include "diagram/json_writer.h"
#include "diagram/model_keys.h"
#include "editor/diagram_editor.h"
#include "model/relacionamento.h"
#include "model/texto.h"
#include "platform/components/diagram_surface.h"
#include "plugin/registros.h"
#include "shapes/text_shape.h"
#include "platform/utf8_cp1252.h"
#include "tests/support/read_file.h"

namespace fs = std::filesystem;
using test_support::read_file;

namespace {

const fs::path kVendas = fs::path(KZR40_SOURCE_DIR) / "examples" / "vendas.json";

class ModelEdit : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("kzr40-model-edit-" + std::to_string(getpid()) + "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }
    fs::path folder;
};

AttributeFields attribute(const std::string& nome, int tipo, bool key = false) {
    AttributeFields a;
    a.nome = nome;
    a.tipo = tipo;
    a.key = key;
    return a;
}

// An entity with the attributes given (names), the first one the key.
void fill(DiagramEditor& editor, std::size_t index, const std::string& name, const std::string& table,
          std::vector<std::string> attributes) {
    EntityFields f = editor.entity(index);
    f.entidade = name;
    f.tabela = table;
    f.atributos.clear();
    for (std::size_t i = 0; i < attributes.size(); ++i) f.atributos.push_back(attribute(attributes[i], 1, i == 0));
    editor.set_entity(index, f);
}

std::vector<std::string> names(const EntityFields& f) {
    std::vector<std::string> out;
    for (const AttributeFields& a : f.atributos) out.push_back(a.nome + (a.origem.empty() ? "" : "<" + a.origem));
    return out;
}

std::string text_of(const DiagramEditor& editor) { return diagram_to_json(editor.diagram(), "x.json"); }

TEST_F(ModelEdit, AMissingFileOpensEmptyAndAModelMadeFromNothingSavesThereAndReadsBack) {
    const fs::path file = folder / "new.json";
    EXPECT_THROW(DiagramEditor{file}, DiagramError);  // only the editor's window asks for a new diagram
    DiagramEditor editor(file, DiagramEditor::Missing::empty);
    EXPECT_TRUE(editor.diagram().entities.empty());
    EXPECT_FALSE(editor.dirty());
    EXPECT_FALSE(editor.can_undo());

    const std::size_t a = editor.add_entity({40, 40});
    const std::size_t b = editor.add_entity({400, 40});
    EXPECT_EQ(editor.diagram().entities[b].shape.left, 400);
    EXPECT_EQ(editor.entity(a).entidade, "Entidade 1");
    EXPECT_EQ(editor.entity(b).tabela, "ENTIDADE2");
    EXPECT_EQ(editor.selected_entities(), std::vector<std::size_t>{b});  // what was added is selected
    fill(editor, a, "Cliente", "CLIENTE", {"CODIGO", "NOME", "CIDADE"});
    fill(editor, b, "Pedido", "PEDIDO", {"NUMERO", "DATA", "VALOR"});
    const std::size_t r = editor.add_relationship(a, b);
    const std::size_t self = editor.add_relationship(b, b);
    EXPECT_EQ(editor.relationship(r).name, "Cliente_Pedido");
    EXPECT_EQ(editor.relationship(self).name, "Pedido_Pedido");
    EXPECT_EQ(names(editor.entity(b)),
              (std::vector<std::string>{"NUMERO", "DATA", "VALOR", "CODIGO<Cliente_Pedido", "NUMERO_2<Pedido_Pedido"}));
    EntityFields pedido = editor.entity(b);
    SecondaryKeyFields index;
    index.nome = "PorData";
    index.campos = "DATA+NUMERO";
    index.descending = true;
    pedido.chaves.push_back(index);
    editor.set_entity(b, pedido);
    EXPECT_TRUE(editor.dirty());
    editor.save();

    const Diagram saved = load_diagram(file);  // JSON, by the name
    EXPECT_NO_THROW(check_diagram(saved, file.string()));
    const ModelKeys keys = model_keys(saved);
    ASSERT_EQ(keys.foreign_keys.size(), 2u);
    for (const ModelForeignKey& fk : keys.foreign_keys) EXPECT_TRUE(fk.complete());
    EXPECT_TRUE(keys.stray_origins.empty());
    EXPECT_EQ(saved.entities[1].entity->ChavesSecundarias().Count(), 1);
    const auto* fk = static_cast<const TAtributo*>(saved.entities[1].entity->atributos().Objects(3));
    EXPECT_EQ(fk->chave, kChaveEstrangeira);
    EXPECT_EQ(fk->tipo, 1);  // the type of the key it refers to
    EXPECT_FALSE(editor.dirty());

    // A name without ".json" is written as `store` writes: a stored diagram.
    editor.save_as(folder / "new.kzd");
    EXPECT_EQ(read_file(folder / "new.kzd").substr(0, 4), "TPF0");
    EXPECT_EQ(editor.file(), folder / "new.kzd");
    EXPECT_EQ(load_diagram(folder / "new.kzd").entities.size(), 2u);

    // File ▸ New over a file that exists: empty, and the file stays until a save that is asked for.
    const std::string stored = read_file(folder / "new.kzd");
    DiagramEditor anew(folder / "new.kzd", DiagramEditor::Missing::replace);
    EXPECT_TRUE(anew.diagram().entities.empty());
    anew.add_entity({10, 10});
    EXPECT_THROW(anew.save(), FileChangedError);
    EXPECT_EQ(read_file(folder / "new.kzd"), stored);
    anew.save(true);
    EXPECT_EQ(load_diagram(folder / "new.kzd").entities.size(), 1u);
    // A new diagram's path in a folder that does not exist is refused as every command refuses it.
    EXPECT_THROW(DiagramEditor(folder / "no-such-folder" / "x.json", DiagramEditor::Missing::empty), DiagramError);
}

TEST_F(ModelEdit, EntityValuesAreCheckedAsTheReaderChecksThemAndARefusalChangesNothing) {
    const fs::path file = folder / "vendas.json";
    fs::copy_file(kVendas, file);
    DiagramEditor editor(file);
    const std::string before = text_of(editor);
    const EntityFields cliente = editor.entity(0);

    auto refused = [&](const EntityFields& f) {
        try {
            editor.set_entity(0, f);
        } catch (const DiagramError& e) {
            EXPECT_EQ(text_of(editor), before);
            EXPECT_FALSE(editor.can_undo());
            return std::string(e.what());
        }
        ADD_FAILURE() << "accepted";
        return std::string();
    };
    EntityFields f = cliente;
    f.atributos[1].nome = "";
    EXPECT_EQ(refused(f), file.string() + ": entity \"Cliente\" (#1), attribute #2: \"nome\" must not be empty");
    f = cliente;
    f.atributos[2].nome = "codigo";  // the same column as CODIGO once generated
    EXPECT_NE(refused(f).find("attribute \"codigo\" (#3): \"nome\" gives the column"), std::string::npos);
    f = cliente;
    f.tabela = "pedido";  // another entity's table
    EXPECT_NE(refused(f).find("\"tabela\""), std::string::npos);
    f = cliente;
    f.atributos[0].tipo = 20;  // the catalogue has twenty
    EXPECT_NE(refused(f).find("\"tipo\""), std::string::npos);
    f = cliente;
    f.atributos[0].componente = 0;
    EXPECT_NE(refused(f).find("\"componente\""), std::string::npos);
    f = cliente;
    f.tituloform = "\u20ac ok, \u4e2d no";  // the euro sign has a Windows-1252 byte, the other does not
    EXPECT_EQ(refused(f), file.string() + ": entity \"Cliente\" (#1): \"Tituloform\" holds U+4E2D '\u4e2d', which Windows-1252 does not have");
    f = cliente;
    f.chaves.push_back({});
    f.chaves.back().nome = "Vazia";
    EXPECT_NE(refused(f).find("\"campos\""), std::string::npos);

    // Accepted: a key put last moves first, the other attributes keep their order; names and fonts stay.
    f = cliente;
    f.entidade = "Cliente \u00e9";
    f.atributos.push_back(attribute("RG", 0, true));
    f.fonte_titulo.bold = !f.fonte_titulo.bold;
    f.tipoform = 2;
    editor.set_entity(0, f);
    const EntityFields now = editor.entity(0);
    EXPECT_EQ(now.entidade, "Cliente \u00e9");
    EXPECT_EQ(now.tipoform, 2);
    EXPECT_EQ(now.fonte_titulo.bold, f.fonte_titulo.bold);
    ASSERT_EQ(now.atributos.size(), cliente.atributos.size() + 1);
    EXPECT_EQ(now.atributos[1].nome, "RG");
    EXPECT_EQ(now.atributos[2].nome, cliente.atributos[1].nome);
    EXPECT_TRUE(editor.can_undo());
    editor.undo();
    EXPECT_EQ(text_of(editor), before);
}

TEST_F(ModelEdit, RelationshipsBringTheirKeysUnderFreeNamesAndTakeExactlyThoseAwayAgain) {
    const fs::path file = folder / "vendas.json";
    fs::copy_file(kVendas, file);
    DiagramEditor editor(file);
    const std::string before = text_of(editor);
    const std::size_t entities = editor.diagram().entities.size();
    // Cliente (#0) to Pedido (#1) exists in the example: a second one takes a name of its own.
    const std::size_t first = editor.add_relationship(0, 1, trelacao::tr0xn);
    const std::size_t second = editor.add_relationship(0, 1);
    const RelationshipFields one = editor.relationship(first), two = editor.relationship(second);
    EXPECT_NE(one.name, two.name);
    EXPECT_EQ(one.relacao, trelacao::tr0xn);
    const ModelKeys keys = model_keys(editor.diagram());
    EXPECT_TRUE(keys.foreign_keys[first].complete());
    EXPECT_TRUE(keys.foreign_keys[second].complete());
    EXPECT_NE(keys.foreign_keys[first].columns[0].child_attribute, keys.foreign_keys[second].columns[0].child_attribute);

    // Renaming carries the attributes along; a name taken or not an identifier is refused.
    RelationshipFields renamed = one;
    renamed.name = "Pedido_do_cliente";
    renamed.caption = "compra";
    editor.set_relationship(first, renamed);
    EXPECT_TRUE(model_keys(editor.diagram()).foreign_keys[first].complete());
    EXPECT_EQ(editor.diagram().relationships[first].caption->text, "compra");
    renamed.name = two.name;
    EXPECT_THROW(editor.set_relationship(first, renamed), DiagramError);
    renamed.name = "has blank";
    EXPECT_THROW(editor.set_relationship(first, renamed), DiagramError);

    const std::size_t attributes = editor.entity(1).atributos.size();
    editor.delete_relationship(first);
    EXPECT_EQ(editor.entity(1).atributos.size(), attributes - 1);
    EXPECT_TRUE(model_keys(editor.diagram()).foreign_keys.back().complete());  // the second keeps its own
    EXPECT_TRUE(model_keys(editor.diagram()).stray_origins.empty());
    EXPECT_EQ(editor.diagram().entities.size(), entities);

    for (int i = 0; i < 4; ++i) editor.undo();
    EXPECT_FALSE(editor.can_undo());
    EXPECT_EQ(text_of(editor), before);

    // Cliente_Pedido brings CLIENTE into Pedido outside its key: deleting it leaves Pedido's key, and
    // so the PEDIDO that Pedido_Itens brought into the items, as they are.
    editor.delete_relationship(0);
    EXPECT_EQ(names(editor.entity(2)), (std::vector<std::string>{"NUMERO", "DATA", "TOTAL", "OBS"}));
    const ModelKeys after = model_keys(editor.diagram());
    for (const ModelForeignKey& fk : after.foreign_keys) EXPECT_TRUE(fk.complete());
    // Pedido_Itens brings PEDIDO into the items' key: deleting Pedido takes it, and the model's removal
    // passes the changed key on (the items start no relationship, so nothing further goes).
    editor.undo();
    editor.delete_entity(2);
    EXPECT_TRUE(model_keys(editor.diagram()).stray_origins.empty());
    for (const ModelForeignKey& fk : model_keys(editor.diagram()).foreign_keys) EXPECT_TRUE(fk.complete());
}

TEST_F(ModelEdit, DeletingAnEntityTakesItsRelationshipsTheirKeysAndItsCaptionAndUndoingAllGivesTheFileBack) {
    const fs::path file = folder / "vendas.json";
    fs::copy_file(kVendas, file);
    const std::string opened = read_file(file);
    DiagramEditor editor(file);
    const Diagram& d = editor.diagram();
    const std::size_t entities = d.entities.size(), relationships = d.relationships.size();

    editor.set_entity_caption(0, std::string("quem compra"));
    EXPECT_EQ(d.entities[0].caption->text, "quem compra");
    const std::size_t self = editor.add_relationship(0, 0);
    EXPECT_TRUE(model_keys(d).foreign_keys[self].complete());
    const std::size_t text = editor.add_text({500, 500}, "nota\nsegunda linha");
    editor.set_text(text, "nota", FontFields{});
    EXPECT_EQ(d.texts.back().text, "nota");

    // Pedido (#1): the relationships it starts or ends, with the keys they brought elsewhere.
    std::size_t touching = 0;
    std::vector<std::size_t> children;
    for (const DiagramRelationship& r : d.relationships) {
        if (r.from == 1 || r.to == 1) ++touching;
        if (r.from == 1 && r.to != 1) children.push_back(r.to);
    }
    ASSERT_FALSE(children.empty());
    editor.delete_entity(1);
    EXPECT_EQ(d.entities.size(), entities - 1);
    EXPECT_EQ(d.relationships.size(), relationships + 1 - touching);
    const ModelKeys keys = model_keys(d);
    EXPECT_TRUE(keys.stray_origins.empty());  // no attribute names a relationship that went
    for (const ModelForeignKey& fk : keys.foreign_keys) EXPECT_TRUE(fk.complete());
    EXPECT_NO_THROW(check_diagram(d, "x"));

    // The selection: the entity with its caption, and a free text, go in one step.
    editor.clear_selection();
    EXPECT_FALSE(editor.delete_selection());
    ASSERT_TRUE(editor.find_entity("cliente"));
    EXPECT_EQ(editor.selected_entities(), std::vector<std::size_t>{0});
    editor.scene();  // the texts are selected through their shapes
    EXPECT_FALSE(editor.find_entity("no such entity"));
    EXPECT_TRUE(editor.delete_selection());
    EXPECT_EQ(d.entities.size(), entities - 2);
    EXPECT_NO_THROW(check_diagram(d, "x"));

    while (editor.can_undo()) editor.undo();
    editor.save();
    EXPECT_EQ(read_file(file), opened);
    EXPECT_FALSE(editor.dirty());
    editor.redo();
    EXPECT_EQ(d.entities[0].caption->text, "quem compra");
}

TEST_F(ModelEdit, FindWalksOnFromTheSelectionAndHitsTellTheShapes) {
    const fs::path file = folder / "vendas.json";
    fs::copy_file(kVendas, file);
    DiagramEditor editor(file);
    std::vector<std::size_t> found;
    for (int i = 0; i < 4; ++i) found.push_back(*editor.find_entity("E"));  // every name or table holds an "e"
    EXPECT_EQ(found[0], 0u);
    EXPECT_NE(found[1], found[0]);
    EXPECT_EQ(editor.selected_entities().size(), 1u);
    const TEntidade& e = editor.scene().entity(2);
    EXPECT_EQ(editor.entity_at({e.Left() + 3, e.Top() + 3}), std::optional<std::size_t>(2));
    EXPECT_FALSE(editor.entity_at({-5, -5}));
    const TRelacionamento& r = editor.scene().relationship(0);
    const TPoint mid = r.Route()[1];
    EXPECT_EQ(editor.relationship_at({r.Left() + mid.X, r.Top() + mid.Y}), std::optional<std::size_t>(0));
}

void drag(DiagramEditor& editor, TPoint from, TPoint to) {
    TDiagramSurface& s = editor.surface();
    s.DispatchMouseMove(0, from.X, from.Y);
    s.DispatchMouseDown(TMouseButton::mbLeft, 0, from.X, from.Y);
    for (int i = 1; i <= 4; ++i) s.DispatchMouseMove(0, from.X + (to.X - from.X) * i / 4, from.Y + (to.Y - from.Y) * i / 4);
    s.DispatchMouseUp(TMouseButton::mbLeft, 0, to.X, to.Y);
}

TEST_F(ModelEdit, ASelfRelationshipIsALoopFromTheRightSideIntoTheBottomWithDraggableSegments) {
    const fs::path file = folder / "vendas.json";
    fs::copy_file(kVendas, file);
    DiagramEditor editor(file);
    const std::size_t r = editor.add_relationship(0, 0, trelacao::tr1xn);
    const auto loop = [&] {
        const TRelacionamento& line = editor.scene().relationship(r);
        std::array<TPoint, 5> points = line.LoopRoute();
        for (TPoint& p : points) p = {p.X + line.Left(), p.Y + line.Top()};
        return points;
    };
    const TEntidade& e = editor.scene().entity(0);
    ASSERT_TRUE(editor.scene().relationship(r).IsLoop());
    EXPECT_FALSE(editor.scene().relationship(0).IsLoop());
    std::array<TPoint, 5> p = loop();
    const int right = e.Left() + e.Width() - 1, bottom = e.Top() + e.Height() - 1;
    EXPECT_EQ(p[0], (TPoint{right, e.Top() + e.Height() / 2}));   // out of the right side at 50 %
    EXPECT_EQ(p[4], (TPoint{e.Left() + e.Width() / 2, bottom}));  // back into the bottom side
    EXPECT_EQ(p[2], (TPoint{right + 42, bottom + 42}));           // meioperc 50: 12 + 30 pixels out
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(p[i].X == p[i + 1].X || p[i].Y == p[i + 1].Y) << "segment " << i;
    // The mark stands below the bottom side, where the line comes in.
    const TRelacionamento& line = editor.scene().relationship(r);
    EXPECT_GT(line.Top() + line.MarkCentre().Y, bottom);
    EXPECT_EQ(line.Left() + line.MarkCentre().X, p[4].X);

    // The outer right segment takes the loop farther out; the first one moves its end down the side.
    drag(editor, {p[1].X, (p[1].Y + p[2].Y) / 2}, {p[1].X + 20, (p[1].Y + p[2].Y) / 2});
    ASSERT_TRUE(editor.commit());
    EXPECT_GT(editor.diagram().relationships[r].meioperc, 50);
    EXPECT_GT(loop()[2].X, p[2].X + 15);
    p = loop();
    drag(editor, {(p[0].X + p[1].X) / 2, p[0].Y}, {(p[0].X + p[1].X) / 2, p[0].Y + 12});
    ASSERT_TRUE(editor.commit());
    EXPECT_GT(editor.diagram().relationships[r].start_perc, 50);
    EXPECT_EQ(loop()[0].X, right);  // still on the right side
    // At another zoom the loop keeps its shape, scaled.
    editor.set_zoom(200);
    p = loop();
    const TEntidade& big = editor.scene().entity(0);
    EXPECT_EQ(p[0].X, big.Left() + big.Width() - 1);
    EXPECT_EQ(p[4].Y, big.Top() + big.Height() - 1);
}

}  // namespace

namespace {

// What the dialogs hand back when OK is pressed without a change: every value as it was shown.
void ok_everything_unchanged(DiagramEditor& editor) {
    for (std::size_t i = 0; i < editor.diagram().entities.size(); ++i) editor.set_entity(i, editor.entity(i));
    for (std::size_t i = 0; i < editor.diagram().relationships.size(); ++i) editor.set_relationship(i, editor.relationship(i));
    for (std::size_t i = 0; i < editor.diagram().entities.size(); ++i) {
        const auto& caption = editor.diagram().entities[i].caption;
        if (!caption) continue;
        const FontFields font = font_fields(*caption->font);
        editor.set_entity_caption(i, cp1252_to_utf8(caption->text), &font);
    }
}

}  // namespace

// The fonts the files name ("Arial", "Times New Roman", a bold caption in "Courier New" of 11 pixels)
// come back from the editors' values as they are, so OK without an edit leaves the file's bytes alone,
// and a font picked is kept in the name the file gives it.
TEST_F(ModelEdit, OkWithoutAnEditChangesNoByteAndFontsKeepTheirOwnNames) {
    const fs::path file = folder / "fonts.json";
    {
        DiagramEditor maker(kVendas);
        EntityFields f = maker.entity(0);
        f.fonte_titulo.name = "Times New Roman";
        f.fonte_titulo.size = 11;
        f.fonte_atributos.color = 0x80000008;  // a system colour
        maker.set_entity(0, f);
        FontFields courier;
        courier.name = "Courier New";
        courier.bold = true;
        courier.size = 9;
        maker.set_entity_caption(1, std::string("pedido do cliente"), &courier);
        RelationshipFields r = maker.relationship(0);
        r.caption = "faz";
        r.caption_font.italic = true;
        r.caption_font.color = 0x0000FF;
        r.line_colour = 0x00FF00;
        maker.set_relationship(0, r);
        maker.save_as(file);
    }
    for (const fs::path& source : {kVendas, fs::path(KZR40_SOURCE_DIR) / "examples" / "cliente.json", file}) {
        const fs::path copy = folder / ("copy-" + source.filename().string());
        fs::copy_file(source, copy, fs::copy_options::overwrite_existing);
        DiagramEditor editor(copy);
        ok_everything_unchanged(editor);
        EXPECT_FALSE(editor.dirty()) << source;
        editor.save();
        EXPECT_EQ(read_file(copy), read_file(source)) << source;
    }

    const Diagram saved = load_diagram(file);
    EXPECT_EQ(saved.entities[0].entity->FonteTitulo().Name(), "Times New Roman");
    EXPECT_EQ(saved.entities[0].entity->FonteTitulo().Size(), 11);
    EXPECT_EQ(saved.entities[0].entity->FonteAtributos().Color(), static_cast<TColor>(0x80000008));
    const TFont& caption = *saved.entities[1].caption->font;
    EXPECT_EQ(caption.Name(), "Courier New");
    EXPECT_TRUE(caption.Style().contains(TFontStyle::fsBold));
    EXPECT_EQ(caption.Size(), 9);
    const DiagramRelationship& r = saved.relationships[0];
    EXPECT_EQ(r.line_colour, 0x00FF00);
    ASSERT_TRUE(r.caption);
    EXPECT_TRUE(r.caption->font->Style().contains(TFontStyle::fsItalic));
    EXPECT_EQ(r.caption->font->Color(), 0x0000FF);
    EXPECT_EQ(r.caption->font->Name(), "Arial");  // what a new caption gets
}

// A caption selected without its owner is deleted alone, in one step; with its owner it goes with it.
TEST_F(ModelEdit, ACaptionSelectedAloneIsDeletedAloneInOneUndoStep) {
    const fs::path file = folder / "vendas.json";
    fs::copy_file(kVendas, file);
    DiagramEditor editor(file);
    const Diagram& d = editor.diagram();
    editor.set_entity_caption(0, std::string("quem compra"));
    RelationshipFields r = editor.relationship(1);
    r.caption = "tem";
    editor.set_relationship(1, r);
    const std::string with_captions = text_of(editor);
    const std::size_t entities = d.entities.size(), relationships = d.relationships.size();

    editor.clear_selection();
    ASSERT_NE(editor.scene().entity_caption(0), nullptr);
    editor.scene().entity_caption(0)->SetSelected(true);
    editor.scene().relationship_caption(1)->SetSelected(true);
    EXPECT_EQ(editor.selected_entity_captions(), std::vector<std::size_t>{0});
    EXPECT_EQ(editor.selected_relationship_captions(), std::vector<std::size_t>{1});
    const TRect box = editor.scene().entity_caption(0)->BoundsRect();
    EXPECT_EQ(editor.entity_caption_at({box.Left + 2, box.Top + 2}), std::optional<std::size_t>(0));
    EXPECT_TRUE(editor.delete_selection());
    EXPECT_FALSE(d.entities[0].caption);
    EXPECT_FALSE(d.relationships[1].caption);
    EXPECT_EQ(d.entities.size(), entities);
    EXPECT_EQ(d.relationships.size(), relationships);
    EXPECT_EQ(editor.entity_caption_at({box.Left + 2, box.Top + 2}), std::nullopt);
    editor.undo();
    EXPECT_EQ(text_of(editor), with_captions);

    // The caption and its entity together: the entity goes, and its caption with it.
    editor.clear_selection();
    editor.scene().entity(0).SetSelected(true);
    editor.scene().entity_caption(0)->SetSelected(true);
    EXPECT_TRUE(editor.delete_selection());
    EXPECT_EQ(d.entities.size(), entities - 1);
    EXPECT_NO_THROW(check_diagram(d, "x"));
}

// The dialogs bring the user to the field a refusal names: the entity's own field, or the cell of an
// attribute or a secondary key, by the numbers the document's messages give.
TEST_F(ModelEdit, ARefusalNamesTheFieldTheEditorPointsAt) {
    const fs::path file = folder / "vendas.json";
    fs::copy_file(kVendas, file);
    DiagramEditor editor(file);
    const EntityFields pedido = editor.entity(2);
    ASSERT_EQ(pedido.entidade, "Pedido");
    auto field_of_refusal = [&](const EntityFields& f) {
        try {
            editor.set_entity(2, f);
        } catch (const DiagramError& e) {
            return field_in_message(e.what());
        }
        ADD_FAILURE() << "accepted";
        return std::optional<FieldInMessage>();
    };
    using Part = FieldInMessage::Part;
    const auto is = [](const std::optional<FieldInMessage>& f, Part part, std::size_t row, const std::string& key) {
        return f && f->part == part && f->row == row && f->key == key;
    };
    EntityFields f = pedido;
    f.atributos[2].nome = "";
    EXPECT_TRUE(is(field_of_refusal(f), Part::attribute, 2, "nome"));
    f = pedido;
    f.atributos[3].nome = "numero";  // a column the key has
    EXPECT_TRUE(is(field_of_refusal(f), Part::attribute, 3, "nome"));
    f = pedido;
    f.atributos[4].titulo = "\u4e2d";
    EXPECT_TRUE(is(field_of_refusal(f), Part::attribute, 4, "titulo"));
    f = pedido;
    f.tabela = "cliente";
    EXPECT_TRUE(is(field_of_refusal(f), Part::entity, 0, "tabela"));
    f = pedido;
    f.entidade = "Pedido: \"x\", attribute #2";  // a name that looks like part of a place
    f.menu = "\u4e2d";
    EXPECT_TRUE(is(field_of_refusal(f), Part::entity, 0, "Menu"));
    f = pedido;
    f.chaves[1].campos = "";
    EXPECT_TRUE(is(field_of_refusal(f), Part::secondary_key, 1, "campos"));
    f = pedido;
    f.fonte_extrangeiras.name = "Arial\x01";
    EXPECT_TRUE(is(field_of_refusal(f), Part::entity, 0, "FonteExtrangeiras.name"));
    EXPECT_FALSE(field_in_message("x.json: cannot read"));
}

namespace {

// Where every shape stands, as one text to compare.
std::string geometry(DiagramEditor& editor) {
    DiagramScene& scene = editor.scene();
    std::string out;
    const auto put = [&](const char* what, std::size_t i, const TControl* shape) {
        if (!shape) return;
        const TRect r = shape->BoundsRect();
        out += std::string(what) + std::to_string(i) + " " + std::to_string(r.Left) + "," + std::to_string(r.Top) + "," +
               std::to_string(r.Right) + "," + std::to_string(r.Bottom) + "\n";
    };
    for (std::size_t i = 0; i < scene.entity_count(); ++i) {
        put("entity ", i, &scene.entity(i));
        put("entity caption ", i, scene.entity_caption(i));
    }
    for (std::size_t i = 0; i < scene.relationship_count(); ++i) {
        put("relationship ", i, &scene.relationship(i));
        put("relationship caption ", i, scene.relationship_caption(i));
    }
    for (std::size_t i = 0; i < scene.text_count(); ++i) put("text ", i, &scene.text(i));
    return out;
}

}  // namespace

// Edits that change the shapes in place and keep only what they touched, mixed at random with
// dialogs, drags, zooms, undos and redos: after every step the diagram is the one its history says,
// and its shapes stand where a window opening the saved file would put them.
TEST_F(ModelEdit, RandomEditsUndosAndRedosAgreeWithTheFileReopenedAndUndoingAllGivesItBack) {
    const fs::path file = folder / "vendas.json";
    fs::copy_file(kVendas, file);
    const std::string opened = read_file(file);
    for (unsigned seed = 1; seed <= 4; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        DiagramEditor editor(file);
        std::mt19937 random(seed);
        const auto pick = [&](std::size_t count) { return std::uniform_int_distribution<std::size_t>(0, count - 1)(random); };
        std::vector<std::string> states{text_of(editor)};
        std::size_t at = 0;
        const auto changed = [&] {
            states.resize(at + 1);
            states.push_back(text_of(editor));
            ++at;
        };
        for (int step = 0; step < 60; ++step) {
            const Diagram& d = editor.diagram();
            const std::size_t entities = d.entities.size(), relationships = d.relationships.size();
            std::string did;
            switch (pick(10)) {
                case 0:
                case 1:
                    if (entities == 0) break;
                    did = "add relationship";
                    editor.add_relationship(pick(entities), pick(entities), static_cast<trelacao>(pick(4)));
                    changed();
                    break;
                case 2:
                    if (entities < 3) break;
                    did = "delete entity";
                    editor.delete_entity(pick(entities));
                    changed();
                    break;
                case 3:
                    if (relationships == 0) break;
                    did = "delete relationship";
                    editor.delete_relationship(pick(relationships));
                    changed();
                    break;
                case 4: {
                    // A foreign key taken into its entity's key: removing its relationship walks on below.
                    if (entities == 0) break;
                    const std::size_t e = pick(entities);
                    EntityFields f = editor.entity(e);
                    auto fk = std::find_if(f.atributos.begin(), f.atributos.end(),
                                           [](const AttributeFields& a) { return !a.origem.empty() && !a.key; });
                    if (fk == f.atributos.end()) {
                        // Or a caption given, to be deleted alone later.
                        did = "caption";
                        editor.set_entity_caption(e, "nota " + std::to_string(step));
                    } else {
                        did = "identifying key";
                        fk->key = true;
                        editor.set_entity(e, f);
                    }
                    changed();
                    break;
                }
                case 5: {
                    std::optional<std::size_t> owner;
                    for (std::size_t e = 0; e < entities && !owner; ++e)
                        if (editor.scene().entity_caption(e)) owner = e;
                    if (!owner) break;
                    did = "delete caption";
                    editor.clear_selection();
                    editor.scene().entity_caption(*owner)->SetSelected(true);
                    ASSERT_TRUE(editor.delete_selection());
                    changed();
                    break;
                }
                case 6: {
                    if (entities == 0) break;
                    // Whatever the pointer takes there (the box, or a line's middle lying over it). At
                    // 100 %, where a place the pointer gives is the place stored.
                    if (editor.zoom() != 100) break;
                    did = "drag";
                    const TEntidade& e = editor.scene().entity(pick(entities));
                    const int x = e.Left() + e.Width() / 2, y = e.Top() + 4;
                    TDiagramSurface& surface = editor.surface();
                    surface.DispatchMouseMove(0, x, y);
                    surface.DispatchMouseDown(TMouseButton::mbLeft, 0, x, y);
                    surface.DispatchMouseMove(0, x + 8, y + 5);
                    surface.DispatchMouseMove(0, x + 15, y + 10);
                    surface.DispatchMouseUp(TMouseButton::mbLeft, 0, x + 15, y + 10);
                    if (editor.commit()) changed();
                    break;
                }
                case 7:
                    did = "zoom";
                    editor.set_zoom(editor.zoom() == 100 ? 150 : 100);
                    changed();
                    break;
                case 8:
                    if (at == 0) break;
                    did = "undo";
                    editor.undo();
                    --at;
                    break;
                case 9:
                    if (at + 1 == states.size()) break;
                    did = "redo";
                    editor.redo();
                    ++at;
                    break;
            }
            if (did.empty()) continue;
            SCOPED_TRACE("step " + std::to_string(step) + ": " + did);
            const std::string now = text_of(editor);
            ASSERT_EQ(now, states[at]);
            EXPECT_NO_THROW(check_diagram(editor.diagram(), "x"));
            const fs::path copy = folder / "reopened.json";
            std::ofstream(copy, std::ios::binary) << now;
            DiagramEditor reopened(copy);
            ASSERT_EQ(text_of(reopened), now);
            ASSERT_EQ(geometry(editor), geometry(reopened));
        }
        while (editor.can_undo()) editor.undo();
        editor.save();
        EXPECT_EQ(read_file(file), opened);
    }
}
