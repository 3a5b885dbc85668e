// The scene a diagram becomes, its pictures, and `kzr40 draw` and `kzr40 layout` through the built program.

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "diagram/diagram.h"
#include "diagram/scene.h"
#include "diagram/scene_picture.h"
#include "diagram/type_texts.h"
#include "model/relacionamento.h"
#include "model/texto.h"
#include "platform/graphics/cairo_canvas.h"
#include "plugin/catalogo.h"
#include "plugin/geradores.h"
#include "plugin/registros.h"
#include "shapes/text_shape.h"
#include "tests/support/run_host.h"
#include "tests/support/read_file.h"

namespace {

namespace fs = std::filesystem;
using test_support::read_file;

const std::string kVendas = KZR40_SOURCE_DIR "/examples/vendas.json";
const std::string kCliente = KZR40_SOURCE_DIR "/examples/cliente.json";

// Two placed entities, the first left of the surface's origin, joined by a red one-to-many line with a
// caption; a caption below the first box; a free text whose last line is its widest. The start's perc
// 29 reads back as 28 from a connection.
const char* const kPair = R"({
  "version": 2,
  "entities": [
    { "entidade": "Cliente", "tabela": "CLIENTE", "shape": { "left": -40, "top": 60 },
      "caption": { "text": "quem compra" },
      "atributos": [ { "nome": "CODIGO", "tipo": "Integer", "key": true },
                     { "nome": "NOME", "tipo": "String", "tamanho": 60 } ] },
    { "entidade": "Pedido", "tabela": "PEDIDO", "shape": { "left": 300, "top": 80 }, "Modo": "tmEsquema",
      "atributos": [ { "nome": "NUMERO", "tipo": "Integer", "key": true },
                     { "nome": "CLIENTE", "tipo": "Integer", "foreign_key": true, "origem": "Cliente_Pedido" } ] }
  ],
  "relationships": [
    { "name": "Cliente_Pedido", "from": "Cliente", "to": "Pedido", "Relacao": "tr1xn",
      "StartConn": { "perc": 29 }, "EndConn": { "perc": 60 }, "LineColour": 255, "caption": { "text": "faz" } }
  ],
  "texts": [ { "text": "nota\nsobre o pedido", "shape": { "left": 420, "top": 10 } } ]
})";

TPoint on_surface(const TControl& shape, TPoint client) { return {shape.Left() + client.X, shape.Top() + client.Y}; }
TPoint middle(TPoint a, TPoint b) { return {(a.X + b.X) / 2, (a.Y + b.Y) / 2}; }

TEST(DiagramScene, ShapesStandWhereTheFileSaysAndTheForeignKeysOutliveTheScene) {
    Diagram diagram = parse_diagram(kPair, "pair.json");
    {
        DiagramScene scene(diagram);
        EXPECT_EQ(scene.entity(0).BoundsRect().Left, -40);
        EXPECT_EQ(scene.entity(1).BoundsRect().Top, 80);
        EXPECT_GT(scene.entity(1).Width(), scene.entity(0).Width()) << "tmEsquema rows carry their types";
        EXPECT_EQ(scene.relationship(0).GetConnection(1)->Shape(), &scene.entity(0));
        EXPECT_EQ(scene.relationship(0).LineColour, TColor{255});
        EXPECT_EQ(scene.relationship(0).Name(), "Cliente_Pedido") << "the name the foreign keys' origem gives";
        EXPECT_EQ(scene.bounds().Left, -40);
        // The last line of the free text is not cut off: the box is as wide as that line.
        const Ttexto& note = scene.text(0);
        EXPECT_EQ(note.Width(), const_cast<Ttexto&>(note).Canvas().TextWidth("sobre o pedido"));
        // The entity's caption sits centred below its box.
        const tnoxCaption& caption = *scene.entity_caption(0);
        EXPECT_EQ(caption.Top(), scene.entity(0).Top() + scene.entity(0).Height() + 5);
    }
    // Freed while attached, the relationship would have taken CLIENTE out of Pedido.
    EXPECT_EQ(diagram.entities[1].entity->atributos().Count(), 2);
    EXPECT_EQ(diagram.entities[1].entity->Parent(), nullptr);
    DiagramScene again(diagram);  // the entities can stand in a second scene
    EXPECT_EQ(again.entity(0).Left(), -40);
}

TEST(DiagramScene, PictureShowsFramesTheLineInItsColourTheMarkAndTheTexts) {
    Diagram diagram = parse_diagram(kPair, "pair.json");
    DiagramScene scene(diagram);
    const TRect area = picture_area(scene);
    ImageCanvas image(area.Right - area.Left, area.Bottom - area.Top);
    paint_scene(scene, image, area);
    image.WritePng((fs::temp_directory_path() / "kzr40-draw-pair.png").string());
    const auto pixel = [&](TPoint p) { return image.Pixel(p.X - area.Left, p.Y - area.Top); };
    const TEntidade& cliente = scene.entity(0);
    EXPECT_EQ(pixel({cliente.Left() + cliente.Width() / 2, cliente.Top()}), 0x000000u);  // top of the frame
    EXPECT_EQ(pixel({cliente.Left() + cliente.Width() / 2, cliente.Top() - 2}), 0xFFFFFFu);
    const TRelacionamento& line = scene.relationship(0);
    const auto& route = line.Route();
    EXPECT_EQ(pixel(on_surface(line, middle(route[0], route[1]))), 0xFF0000u);  // LineColour $0000FF
    EXPECT_EQ(pixel(on_surface(line, middle(route[2], route[3]))), 0xFF0000u);
    const auto& marks = line.Marks();
    EXPECT_EQ(pixel(on_surface(line, marks[TRelacionamento::kBarStart])), 0xFF0000u);
    EXPECT_EQ(pixel(on_surface(line, marks[TRelacionamento::kFootApex])), 0xFF0000u);
    const auto inked = [&](const TControl& shape) {
        const TRect r = shape.BoundsRect();
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                if (pixel({x, y}) != 0xFFFFFFu) return true;
        return false;
    };
    EXPECT_TRUE(inked(scene.text(0)));
    EXPECT_TRUE(inked(cliente));  // left of the surface's origin, still in the picture
    EXPECT_TRUE(inked(*scene.entity_caption(0)));
    EXPECT_TRUE(inked(*scene.relationship_caption(0)));
}

TEST(DiagramScene, ZoomScalesAndStoreGivesBackTheFileOrWhatMoved) {
    Diagram diagram = parse_diagram(kPair, "pair.json");
    DiagramScene scene(diagram);
    const int width = scene.entity(0).Width();
    scene.zoom(50);
    EXPECT_EQ(scene.entity(0).Left(), -20);
    scene.zoom(200);
    EXPECT_EQ(scene.entity(0).Left(), -80);
    EXPECT_EQ(scene.text(0).Left(), 840);
    EXPECT_NEAR(scene.entity(0).Width(), 2 * width, 4);
    EXPECT_EQ(scene.relationship(0).Escala(), 200);
    scene.entity(1).SetBounds(602, 162, scene.entity(1).Width(), scene.entity(1).Height());
    scene.store();
    EXPECT_EQ(diagram.escala, 200);
    EXPECT_EQ(diagram.entities[0].shape.left, -40);
    EXPECT_EQ(diagram.entities[1].shape.left, 301);  // moved: its place at 100 %
    EXPECT_EQ(diagram.entities[1].shape.top, 81);
    EXPECT_EQ(diagram.entities[1].shape.width, 0) << "a box measured from its content stays so";
    EXPECT_EQ(diagram.relationships[0].start_perc, 29) << "not reread as 28";
    EXPECT_EQ(diagram.texts[0].shape.left, 420);
}

TEST(TypeTexts, TheSelectedGeneratorNamesTheRowTypes) {
    Diagram diagram = parse_diagram(kPair, "pair.json");
    const TEntidade& pedido = *diagram.entities[1].entity;
    const HostString before = RegistroGeradores::Atual();
    select_type_texts(default_type_texts());
    EXPECT_EQ(pedido.TextoLinha(0), "NUMERO :Integer");
    select_type_texts(kSqlTypeTexts);
    EXPECT_EQ(pedido.TextoLinha(0), "NUMERO :" + tipo_clausula_sql(*static_cast<const TAtributo*>(pedido.atributos().Objects(0))));
    EXPECT_NE(pedido.TextoLinha(0), "NUMERO :Integer");
    select_type_texts("kzr40");  // letter case counts
    EXPECT_EQ(pedido.TextoLinha(0), "NUMERO :");
    RegistroGeradores::Atual() = before;
}

// A scratch folder per test.
class DrawCommand : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("kzr40-draw-" + std::to_string(getpid()) + "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder);
    }
    void TearDown() override {
        fs::permissions(folder, fs::perms::owner_all);
        fs::remove_all(folder);
    }
    fs::path write(const std::string& name, const std::string& content) {
        std::ofstream(folder / name, std::ios::binary) << content;
        return folder / name;
    }
    fs::path folder;
};

// Width and height from a PNG's header.
std::pair<int, int> png_size(const std::string& png) {
    const auto be32 = [&](std::size_t at) {
        return (static_cast<unsigned char>(png[at]) << 24) | (static_cast<unsigned char>(png[at + 1]) << 16) |
               (static_cast<unsigned char>(png[at + 2]) << 8) | static_cast<unsigned char>(png[at + 3]);
    };
    return {be32(16), be32(20)};
}

TEST_F(DrawCommand, BothExamplesInEveryFormat) {
    for (const std::string& example : {kVendas, kCliente}) {
        const std::string stem = fs::path(example).stem().string();
        for (const std::string extension : {".png", ".svg", ".PDF"}) {
            const fs::path out = folder / (stem + extension);
            const HostRun run = run_host({"draw", example, "-o", out.string()});
            ASSERT_EQ(run.status, 0) << run.err;
            const std::string bytes = read_file(out);
            if (extension == ".png") {
                EXPECT_EQ(bytes.substr(0, 4), "\x89PNG");
            } else if (extension == ".PDF") {
                EXPECT_EQ(bytes.substr(0, 5), "%PDF-");
                EXPECT_NE(bytes.rfind("%%EOF"), std::string::npos);
            }
            if (extension == ".svg" && !std::string(KZR40_XMLLINT).empty()) {
                const std::string command = std::string(KZR40_XMLLINT) + " --noout '" + out.string() + "'";
                const int status = std::system(command.c_str());
                EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << command;
            }
        }
    }
    // The same diagram gives the same bytes.
    ASSERT_EQ(run_host({"draw", kVendas, "-o", (folder / "again.png").string()}).status, 0);
    EXPECT_EQ(read_file(folder / "again.png"), read_file(folder / "vendas.png"));
}

TEST_F(DrawCommand, ModeAndZoomChangeWhatIsDrawn) {
    const auto draw = [&](std::vector<std::string> options) {
        const fs::path out = folder / "picture.png";
        std::vector<std::string> arguments = {"draw", kCliente, "-o", out.string()};
        arguments.insert(arguments.end(), options.begin(), options.end());
        const HostRun run = run_host(arguments);
        EXPECT_EQ(run.status, 0) << run.err;
        return png_size(read_file(out));
    };
    const auto [width, height] = draw({});
    const auto [width_200, height_200] = draw({"--zoom", "200"});
    // The shapes scale, the margin of 10 pixels a side does not; rounding moves a pixel or two.
    EXPECT_NEAR(width_200 - 20, 2 * (width - 20), 4);
    EXPECT_NEAR(height_200 - 20, 2 * (height - 20), 4);
    const auto [width_title, height_title] = draw({"--mode", "tmEntidade"});
    EXPECT_LT(height_title, height) << "title-only boxes are lower";
    const auto [width_schema, height_schema] = draw({"--mode", "tmEsquema"});
    EXPECT_GT(width_schema, width) << "rows with their types are wider";
    EXPECT_EQ(run_host({"draw", kVendas, "-o", (folder / "p.png").string(), "--mode", "tmNada"}).status, 2);
    EXPECT_EQ(run_host({"draw", kVendas, "-o", (folder / "p.png").string(), "--zoom", "5"}).status, 2);
}

TEST_F(DrawCommand, BadInputIsRefusedAndLeavesNoFile) {
    HostRun run = run_host({"draw", kVendas, "-o", (folder / "vendas.bmp").string()});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find(".png, .svg or .pdf"), std::string::npos) << run.err;

    const fs::path broken = write("broken.json", R"({"entities": [{"entidade": "A", "tabela": "A"}],
        "relationships": [{"name": "R", "from": "A", "to": "Nada"}]})");
    run = run_host({"draw", broken.string(), "-o", (folder / "broken.png").string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("broken.json"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("Nada"), std::string::npos) << run.err;

    const fs::path fonts = write("fonts.json", R"({"entities": [{"entidade": "A", "tabela": "A",
        "FonteTitulo": {"name": "Tahoma"}}]})");
    run = run_host({"draw", fonts.string(), "-o", (folder / "fonts.png").string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("fonts.json: entity \"A\" (#1): \"FonteTitulo\": font \"Tahoma\""), std::string::npos) << run.err;
    // Fonts only drawn, never measured while the scene is built, are checked all the same.
    write("fonts.json", R"({"entities": [{"entidade": "A", "tabela": "A", "FonteExtrangeiras": {"name": "Tahoma"},
        "atributos": [{"nome": "B", "tipo": 1, "foreign_key": true}]}]})");
    run = run_host({"draw", fonts.string(), "-o", (folder / "fonts.png").string()});
    EXPECT_NE(run.err.find("fonts.json: entity \"A\" (#1): \"FonteExtrangeiras\": font \"Tahoma\""), std::string::npos) << run.err;
    write("fonts.json", R"({"version": 2, "entities": [], "texts": [{"text": "t", "font": {"name": "Tahoma"}, "autosize": false}]})");
    run = run_host({"draw", fonts.string(), "-o", (folder / "fonts.png").string()});
    EXPECT_NE(run.err.find("fonts.json: free text (#1): \"font\": font \"Tahoma\""), std::string::npos) << run.err;

    // Colours the canvas cannot draw are refused before any painting, naming the item and key.
    const fs::path colours = write("colours.json", R"({"version": 2, "entities": [{"entidade": "A", "tabela": "A"}],
        "relationships": [{"name": "R", "from": "A", "to": "A", "LineColour": 1073741828}],
        "texts": [{"text": "t", "font": {"color": 2147483903}}]})");
    run = run_host({"draw", colours.string(), "-o", (folder / "colours.png").string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("colours.json: free text (#1): \"font.color\": colour $800000FF cannot be drawn: no such system colour"),
              std::string::npos)
        << run.err;
    write("colours.json", R"({"version": 2, "entities": [{"entidade": "A", "tabela": "A"}],
        "relationships": [{"name": "R", "from": "A", "to": "A", "LineColour": 1073741828}]})");
    run = run_host({"draw", colours.string(), "-o", (folder / "colours.png").string()});
    EXPECT_NE(run.err.find("relationship \"R\" (#1): \"LineColour\": colour $40000004 cannot be drawn"), std::string::npos)
        << run.err;

    // A box that reaches the end of the 32-bit coordinates (220,000 rows of 10,000 pixels at 1000 %)
    // is too large to draw; the area around it must not wrap round (the sanitizers would stop here).
    std::string rows;
    for (int i = 0; i < 220'000; ++i) rows += (i ? R"(,{"nome": "A)" : R"({"nome": "A)") + std::to_string(i) + R"(", "tipo": 1})";
    const fs::path tall = write("tall.json", R"({"version": 2, "Escala": 1000, "entities": [{"entidade": "E", "tabela": "E",
        "FonteAtributos": {"height": -1000}, "atributos": [)" + rows + "]}]}");
    run = run_host({"draw", tall.string(), "-o", (folder / "tall.svg").string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("x 2147483"), std::string::npos) << run.err;

    fs::create_directory(folder / "locked");
    fs::permissions(folder / "locked", fs::perms::owner_read | fs::perms::owner_exec);
    if (::geteuid() != 0) {
        run = run_host({"draw", kVendas, "-o", (folder / "locked" / "vendas.svg").string()});
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find("vendas.svg"), std::string::npos) << run.err;
        EXPECT_TRUE(fs::is_empty(folder / "locked"));
    }
    run = run_host({"draw", kVendas, "-o", (folder / "missing" / "vendas.pdf").string()});
    EXPECT_EQ(run.status, 1);
    fs::permissions(folder / "locked", fs::perms::owner_all);
    fs::remove(folder / "locked");
    for (const auto& item : fs::directory_iterator(folder))
        EXPECT_EQ(item.path().extension(), ".json") << item.path();
}

TEST_F(DrawCommand, LayoutPlacesEveryEntityAndTheFileReadsBack) {
    const HostRun run = run_host({"layout", kVendas});
    ASSERT_EQ(run.status, 0) << run.err;
    const Diagram original = load_diagram(kVendas);
    const Diagram laid_out = parse_diagram(run.out, "layout output");
    ASSERT_EQ(laid_out.entities.size(), original.entities.size());
    for (std::size_t i = 0; i < laid_out.entities.size(); ++i) {
        EXPECT_GE(laid_out.entities[i].shape.left, 20);
        EXPECT_GE(laid_out.entities[i].shape.top, 20);
        EXPECT_EQ(laid_out.entities[i].entity->atributos().Count(), original.entities[i].entity->atributos().Count());
    }
    // dot ranks a relationship's start above its end.
    for (const DiagramRelationship& r : laid_out.relationships)
        EXPECT_LT(laid_out.entities[r.from].shape.top, laid_out.entities[r.to].shape.top) << r.name;
    EXPECT_EQ(laid_out.texts[0].shape.left, original.texts[0].shape.left) << "a placed free text stays";
    // Laying out what is laid out changes nothing.
    const fs::path once = write("once.json", run.out);
    const HostRun twice = run_host({"layout", once.string()});
    EXPECT_EQ(twice.out, run.out);
}

}  // namespace
