// The document of `kzr40 edit` without a window: gestures through the surface, commands, history,
// saving.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "editor/diagram_editor.h"
#include "diagram/json_writer.h"
#include "diagram/stored_diagram.h"
#include "model/relacionamento.h"
#include "model/texto.h"
#include "platform/components/diagram_surface.h"
#include "tests/support/read_file.h"

namespace fs = std::filesystem;
using test_support::read_file;

namespace {

const fs::path kVendas = fs::path(KZR40_SOURCE_DIR) / "examples" / "vendas.json";

void drag(DiagramEditor& editor, TPoint from, TPoint to, TShiftState modifiers = 0) {
    TDiagramSurface& s = editor.surface();
    s.DispatchMouseMove(modifiers, from.X, from.Y);  // a handle is picked by the move onto it
    s.DispatchMouseDown(TMouseButton::mbLeft, modifiers, from.X, from.Y);
    s.DispatchMouseMove(modifiers, (from.X + to.X) / 2, (from.Y + to.Y) / 2);
    s.DispatchMouseMove(modifiers, to.X, to.Y);
    s.DispatchMouseUp(TMouseButton::mbLeft, modifiers, to.X, to.Y);
}

void click(DiagramEditor& editor, TPoint at) { drag(editor, at, at); }

class Editor : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("kzr40-editor-" + std::to_string(getpid()) + "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder);
        file = folder / "vendas.json";
        fs::copy_file(kVendas, file);
    }
    void TearDown() override { fs::remove_all(folder); }
    fs::path folder;
    fs::path file;
};

TEST_F(Editor, DragIsOneChangeMarkedInTheTitleAndSaveWritesTheNewPlaceOnly) {
    DiagramEditor editor(file);
    EXPECT_EQ(editor.title(), "vendas.json \u2014 KZR40");
    EXPECT_FALSE(editor.dirty());
    EXPECT_FALSE(editor.commit());  // nothing moved
    drag(editor, {60, 65}, {110, 95});  // Cliente stands at (40, 40)
    EXPECT_TRUE(editor.commit());
    EXPECT_FALSE(editor.commit());
    EXPECT_TRUE(editor.dirty());
    EXPECT_EQ(editor.title(), "*vendas.json \u2014 KZR40");
    editor.save();
    EXPECT_FALSE(editor.dirty());

    const Diagram saved = load_diagram(file);
    Diagram expected = load_diagram(kVendas);
    expected.entities[0].shape.left = 90;
    expected.entities[0].shape.top = 70;
    EXPECT_EQ(diagram_to_json(saved, "saved"), diagram_to_json(expected, "expected"));
}

TEST_F(Editor, StoredDiagramsAreSavedInTheirOwnFormBinaryOrTextWithTheirLineEnds) {
    const Diagram original = load_diagram(kVendas);
    struct Case {
        const char* name;
        std::string bytes;
        DiagramFileKind kind;
    } cases[] = {{"vendas.kzd", stored_diagram_bytes(original, "x"), DiagramFileKind::StoredBinary},
                 {"crlf.txt", stored_diagram_text(original, "x"), DiagramFileKind::StoredText},
                 {"lf.txt", stored_diagram_text(original, "x", true), DiagramFileKind::StoredText}};
    for (const Case& c : cases) {
        const fs::path stored = folder / c.name;
        std::ofstream(stored, std::ios::binary) << c.bytes;
        DiagramEditor editor(stored);
        drag(editor, {60, 65}, {110, 95});
        editor.save();
        const std::string written = read_file(stored);
        EXPECT_EQ(diagram_file_kind(written), c.kind) << c.name;
        EXPECT_EQ(written.find("\r\n") != std::string::npos, c.bytes.find("\r\n") != std::string::npos) << c.name;
        Diagram expected = load_diagram(kVendas);
        expected.entities[0].shape.left = 90;
        expected.entities[0].shape.top = 70;
        EXPECT_EQ(diagram_to_json(load_diagram(stored), "x"), diagram_to_json(expected, "x")) << c.name;
    }
}

TEST_F(Editor, UndoAndRedoWalkEveryChangeAndANewChangeDropsTheRedo) {
    DiagramEditor editor(file);
    const std::string original = diagram_to_json(editor.diagram(), "x");
    drag(editor, {60, 65}, {110, 95});
    editor.commit();
    editor.zoom_by(1);
    EXPECT_EQ(editor.zoom(), 110);
    EXPECT_EQ(editor.scene().entity(0).Left(), 99);  // 90 at 110 %

    editor.undo();
    EXPECT_EQ(editor.zoom(), 100);
    EXPECT_EQ(editor.scene().entity(0).Left(), 90);
    editor.undo();
    EXPECT_FALSE(editor.can_undo());
    EXPECT_FALSE(editor.dirty());
    EXPECT_EQ(editor.scene().entity(0).Left(), 40);
    EXPECT_EQ(diagram_to_json(editor.diagram(), "x"), original);
    editor.redo();
    editor.redo();
    EXPECT_FALSE(editor.can_redo());
    EXPECT_EQ(editor.zoom(), 110);
    EXPECT_EQ(editor.scene().entity(0).Left(), 99);

    editor.undo();
    editor.lay_out();
    EXPECT_FALSE(editor.can_redo());
    EXPECT_NE(editor.diagram().entities[0].shape.left, 90);
    editor.undo();
    EXPECT_EQ(editor.diagram().entities[0].shape.left, 90);
    // The shapes answer the mouse after a rebuild: the surface is the new scene's.
    drag(editor, {110, 95}, {120, 95});
    EXPECT_TRUE(editor.commit());
    EXPECT_EQ(editor.diagram().entities[0].shape.left, 100);
}

TEST_F(Editor, ZoomStepsThroughItsStopsWithinTheLimitsAndSavesPlacesAt100) {
    DiagramEditor editor(file);
    editor.set_zoom(5);
    EXPECT_EQ(editor.zoom(), 10);
    editor.zoom_by(-1);
    EXPECT_EQ(editor.zoom(), 10);
    for (std::size_t i = 0; i < editor.scene().entity_count(); ++i) EXPECT_EQ(editor.scene().entity(i).Escala(), 10);
    EXPECT_EQ(editor.scene().text(0).Escala(), 10);
    editor.set_zoom(1000);
    editor.zoom_by(3);
    EXPECT_EQ(editor.zoom(), 1000);
    editor.set_zoom(100);
    editor.zoom_by(2);
    EXPECT_EQ(editor.zoom(), 125);
    editor.zoom_by(-3);
    EXPECT_EQ(editor.zoom(), 90);
    editor.set_zoom(125);
    editor.save();
    const Diagram saved = load_diagram(file);
    EXPECT_EQ(saved.escala, 125);
    EXPECT_EQ(saved.entities[1].shape.left, 40);
    EXPECT_EQ(saved.entities[1].shape.top, 320);
    EXPECT_EQ(saved.texts[0].shape.left, 680);
}

TEST_F(Editor, DisplayModeOfAllOrOfTheSelectedEntitiesOnly) {
    DiagramEditor editor(file);
    EXPECT_FALSE(editor.set_mode(tmodo::tmEntidade, true));  // nothing selected
    EXPECT_FALSE(editor.dirty());
    const int height = editor.scene().entity(1).Height();
    click(editor, {60, 330});  // Produto
    ASSERT_TRUE(editor.scene().entity(1).Selected());
    EXPECT_TRUE(editor.set_mode(tmodo::tmEntidade, true));
    EXPECT_EQ(editor.scene().entity(1).Modo(), tmodo::tmEntidade);
    EXPECT_LT(editor.scene().entity(1).Height(), height);  // the name alone
    EXPECT_TRUE(editor.scene().entity(1).Selected());
    EXPECT_EQ(editor.scene().entity(0).Modo(), tmodo::tmAtributo);
    EXPECT_TRUE(editor.set_mode(tmodo::tmChave, false));
    for (std::size_t i = 0; i < editor.scene().entity_count(); ++i) EXPECT_EQ(editor.scene().entity(i).Modo(), tmodo::tmChave);
    editor.undo();
    EXPECT_EQ(editor.scene().entity(0).Modo(), tmodo::tmAtributo);
    EXPECT_EQ(editor.scene().entity(1).Modo(), tmodo::tmEntidade);
    editor.save();
    EXPECT_EQ(load_diagram(file).entities[1].entity->Modo(), tmodo::tmEntidade);
}

TEST_F(Editor, ResizedFreeTextAndDraggedMiddleSegmentAreSavedAndSurviveZoom) {
    DiagramEditor editor(file);
    Ttexto& text = editor.scene().text(0);
    const TRect before = text.BoundsRect();
    click(editor, {before.Left + 5, before.Top + 5});
    ASSERT_TRUE(text.Selected());
    const TPoint handle{before.Right - 2, before.Bottom - 2};  // handle 7, 5 pixels square
    editor.surface().DispatchMouseMove(0, handle.X, handle.Y);
    EXPECT_EQ(editor.surface().ShownCursor(), crSizeNWSE);
    drag(editor, handle, {handle.X + 40, handle.Y + 20});
    editor.commit();
    EXPECT_EQ(editor.diagram().texts[0].shape.width, RectWidth(before) + 40);
    EXPECT_EQ(editor.diagram().texts[0].shape.height, RectHeight(before) + 20);

    TRelacionamento& line = editor.scene().relationship(0);  // Cliente_Pedido
    const auto& route = line.Route();
    const TPoint middle{line.Left() + (route[1].X + route[2].X) / 2, line.Top() + (route[1].Y + route[2].Y) / 2};
    drag(editor, middle, {middle.X + 30, middle.Y + 30});
    editor.commit();
    const int meioperc = editor.diagram().relationships[0].meioperc;
    EXPECT_NE(meioperc, 50);
    EXPECT_EQ(meioperc, editor.scene().relationship(0).meioperc());

    editor.set_zoom(200);
    editor.set_zoom(100);
    editor.save();
    const Diagram saved = load_diagram(file);
    EXPECT_EQ(saved.texts[0].shape.width, RectWidth(before) + 40);
    EXPECT_EQ(saved.texts[0].shape.height, RectHeight(before) + 20);
    EXPECT_EQ(saved.relationships[0].meioperc, meioperc);
    EXPECT_EQ(editor.scene().text(0).Width(), RectWidth(before) + 40);
}

TEST_F(Editor, SaveAsksBeforeOverwritingAFileChangedOrDeletedOnDisk) {
    DiagramEditor editor(file);
    drag(editor, {60, 65}, {110, 95});
    editor.commit();
    std::ofstream(file, std::ios::app) << "\n";  // someone else's edit
    const std::string theirs = read_file(file);
    EXPECT_THROW(editor.save(), FileChangedError);
    EXPECT_EQ(read_file(file), theirs);
    EXPECT_TRUE(editor.dirty());
    editor.save(true);
    EXPECT_EQ(load_diagram(file).entities[0].shape.left, 90);
    drag(editor, {110, 95}, {120, 95});
    editor.save();  // our own last save is no change by someone else

    fs::remove(file);
    try {
        editor.save();
        FAIL() << "saved over a deleted file without asking";
    } catch (const FileChangedError& e) {
        EXPECT_NE(std::string(e.what()).find("vendas.json: the file was deleted"), std::string::npos) << e.what();
    }
    editor.save(true);
    EXPECT_EQ(load_diagram(file).entities[0].shape.left, 100);
}

TEST_F(Editor, FailuresNameTheFileAndKeepTheDiagramInMemory) {
    DiagramEditor editor(file);
    drag(editor, {60, 65}, {110, 95});
    editor.commit();
    fs::remove_all(folder);  // the folder went: nothing can be written there
    EXPECT_THROW(editor.save(), FileChangedError);
    try {
        editor.save(true);
        FAIL() << "saved into a folder that is gone";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find(file.string()), std::string::npos) << e.what();
    }
    EXPECT_TRUE(editor.dirty());
    EXPECT_EQ(editor.diagram().entities[0].shape.left, 90);
    fs::create_directories(folder);
    editor.save(true);
    EXPECT_EQ(load_diagram(file).entities[0].shape.left, 90);

    EXPECT_THROW(editor.export_picture(folder / "picture.txt"), std::runtime_error);
    editor.export_picture(folder / "picture.png");
    EXPECT_EQ(read_file(folder / "picture.png").substr(0, 8), "\x89PNG\r\n\x1a\n");

    std::ofstream(folder / "notes.json") << "this is not a diagram";
    try {
        DiagramEditor other(folder / "notes.json");
        FAIL() << "opened a file that is not a diagram";
    } catch (const DiagramError& e) {
        EXPECT_NE(std::string(e.what()).find("notes.json"), std::string::npos) << e.what();
    }
}

}  // namespace

namespace {

// View > Style: one change that undo takes back, saved in the diagram, and the exported picture
// drawn in it (the dark ground in its corner).
TEST_F(Editor, StyleIsAChangeSavedInTheDiagramAndDrawnByTheExport) {
    DiagramEditor editor(file);
    editor.set_style(DiagramStyle::modern, DiagramTheme::dark);
    EXPECT_TRUE(editor.dirty());
    const fs::path picture = folder / "v.png";
    editor.export_picture(picture);
    const std::string png = read_file(picture);
    ASSERT_GT(png.size(), 8u);
    editor.save();
    const Diagram saved = load_diagram(file);
    EXPECT_EQ(saved.style, DiagramStyle::modern);
    EXPECT_EQ(saved.theme, DiagramTheme::dark);
    editor.undo();
    EXPECT_EQ(editor.diagram().style, DiagramStyle::faithful);
    const fs::path faithful = folder / "f.png";
    editor.export_picture(faithful);
    EXPECT_NE(read_file(faithful), png);
    EXPECT_EQ(read_file(faithful), read_file(fs::path(KZR40_SOURCE_DIR) / "docs" / "vendas.png"));
}

}  // namespace
