// Our form-file converters against Free Pascal's, over a corpus of forms: the stored designs, forms
// built with the component model, a form with every value type and forms written elsewhere.

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "appgen/fproj_design.h"
#include "host/application_run.h"
#include "diagram/diagram.h"
#include "diagram/stored_diagram.h"
#include "appgen/resultform_design.h"
#include "platform/components/component_reader.h"
#include "platform/components/dbgrids.h"
#include "platform/components/diagram_surface.h"
#include "platform/components/library.h"
#include "platform/components/menus.h"
#include "platform/components/stdctrls.h"
#include "platform/components/streaming.h"
#include "platform/formfile/binary.h"
#include "platform/formfile/text.h"
#include "plugin/registros.h"
#include "shapes/connector.h"
#include "shapes/text_shape.h"
#include "tests/support/read_file.h"

namespace fs = std::filesystem;
using namespace formfile;

namespace {

using test_support::read_file;

// Runs the Free Pascal converter in `mode` on `input`; the converted bytes, or a failure naming why.
struct Converted {
    bool ok = false;
    std::string bytes;
    std::string error;
};
Converted free_pascal(const std::string& mode, const std::string& input) {
    static int counter = 0;
    const fs::path dir = fs::temp_directory_path() / ("kzr40-oracle-" + std::to_string(getpid()) + "-" +
                                                      std::to_string(counter++));
    fs::create_directories(dir);
    const fs::path in = dir / "in", out = dir / "out", err = dir / "err";
    std::ofstream(in, std::ios::binary) << input;
    const pid_t child = fork();
    if (child == 0) {
        if (!std::freopen(err.c_str(), "wb", stderr)) _exit(127);
        execl(KZR40_FORMCONV, KZR40_FORMCONV, mode.c_str(), in.c_str(), out.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    Converted result;
    result.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    result.bytes = read_file(out);
    result.error = read_file(err);
    fs::remove_all(dir);
    return result;
}

#define REQUIRE_FREE_PASCAL()                                                                           \
    if (std::string(KZR40_FORMCONV).empty())                                                            \
    GTEST_SKIP() << "fpc (Debian package fp-compiler) is not installed: Free Pascal oracle not built; " \
                    "run scripts/setup.sh"

// Free Pascal 3.2.2 reads #128..#255 as wide characters, the target as bytes of a one-byte string.
// For Free Pascal, each literal that holds no code above 255 is rewritten with those bytes raw inside
// the quotes (its "+" continuations joined), which both readings take as the same one-byte string.
std::string raw_bytes_variant(const std::string& text) {
    std::string out;
    std::size_t i = 0;
    const auto literal_at = [&](std::size_t p) { return p < text.size() && (text[p] == '\'' || text[p] == '#'); };
    while (i < text.size()) {
        if (!literal_at(i)) {
            out += text[i++];
            continue;
        }
        const std::size_t start = i;
        std::vector<unsigned> units;
        for (;;) {
            while (literal_at(i)) {
                if (text[i] == '\'') {
                    for (++i; i < text.size(); ++i) {
                        if (text[i] == '\'' && (i + 1 >= text.size() || text[i + 1] != '\'')) break;
                        if (text[i] == '\'') ++i;
                        units.push_back(static_cast<unsigned char>(text[i]));
                    }
                    ++i;
                } else {
                    unsigned code = 0;
                    for (++i; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
                        code = code * 10 + static_cast<unsigned>(text[i] - '0');
                    units.push_back(code);
                }
            }
            // A "+" continuation joins the next literal.
            std::size_t j = i;
            while (j < text.size() && (text[j] == ' ' || text[j] == '\r' || text[j] == '\n')) ++j;
            if (j < text.size() && text[j] == '+') {
                std::size_t k = j + 1;
                while (k < text.size() && (text[k] == ' ' || text[k] == '\r' || text[k] == '\n')) ++k;
                if (literal_at(k)) {
                    i = k;
                    continue;
                }
            }
            break;
        }
        bool wide = false;
        for (unsigned u : units) wide = wide || u > 255;
        if (wide) {
            out.append(text, start, i - start);
            continue;
        }
        std::string rewritten;
        bool quoted = false;
        for (unsigned u : units) {
            if (u < 32 || u == 127) {
                if (quoted) rewritten += '\'';
                quoted = false;
                rewritten += '#' + std::to_string(u);
            } else {
                if (!quoted) rewritten += '\'';
                quoted = true;
                rewritten += static_cast<char>(u);
                if (u == '\'') rewritten += '\'';
            }
        }
        if (quoted) rewritten += '\'';
        out += rewritten.empty() ? "''" : rewritten;
    }
    return out;
}

std::string text_of(const std::string& form_file) { return write_text(read_form_file(form_file)); }
std::string file_of(const std::string& text) { return write_form_file(read_text(text)); }

// The comparisons for one form whose original binary form file is `original`.
void check_against_free_pascal(const std::string& what, const std::string& original) {
    SCOPED_TRACE(what);
    // Our binary-to-text output, read back by us, gives the original bytes.
    const std::string our_text = text_of(original);
    EXPECT_EQ(file_of(our_text), original);
    // Free Pascal's text of our binary, read back by us, gives the original bytes.
    const Converted fpc_text = free_pascal("res2txt", original);
    ASSERT_TRUE(fpc_text.ok) << fpc_text.error;
    EXPECT_EQ(file_of(fpc_text.bytes), original) << fpc_text.bytes;
    // Our text, read back by Free Pascal, gives the original bytes.
    const Converted fpc_file = free_pascal("txt2res", raw_bytes_variant(our_text));
    ASSERT_TRUE(fpc_file.ok) << fpc_file.error << "\n" << our_text;
    EXPECT_EQ(fpc_file.bytes, original) << our_text;
    // Our text-to-binary output equals Free Pascal's for the same text (with and without the header).
    const Converted fpc_bare = free_pascal("txt2bin", raw_bytes_variant(our_text));
    ASSERT_TRUE(fpc_bare.ok) << fpc_bare.error;
    EXPECT_EQ(write_stream(read_text(our_text)), fpc_bare.bytes);
}

std::vector<std::string> corpus_texts() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(fs::path(KZR40_SOURCE_DIR) / "tests/platform/formfile/oracle/corpus"))
        if (entry.path().extension() == ".txt") names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(FreePascalOracle, CorpusTextsConvertToTheSameBytesBothWays) {
    REQUIRE_FREE_PASCAL();
    const std::vector<std::string> names = corpus_texts();
    ASSERT_GE(names.size(), 4u);
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const std::string text = read_file(fs::path(KZR40_SOURCE_DIR) / "tests/platform/formfile/oracle/corpus" / name);
        // Our text-to-binary output equals Free Pascal's, byte for byte; the one-byte strings that carry
        // #128..#255 are compared on the text with those bytes raw.
        const Converted fpc = free_pascal("txt2res", raw_bytes_variant(text));
        ASSERT_TRUE(fpc.ok) << fpc.error;
        const std::string ours = file_of(text);
        EXPECT_EQ(ours, fpc.bytes);
        EXPECT_EQ(file_of(raw_bytes_variant(text)), fpc.bytes);
        check_against_free_pascal(name, ours);
    }
}

TEST(FreePascalOracle, StoredDesignsAndBuiltFormsRoundTrip) {
    REQUIRE_FREE_PASCAL();
    std::unique_ptr<TCustomForm> scratch(create_result_form(nullptr));
    check_against_free_pascal("scratch form", form_file_bytes(*scratch));
    std::unique_ptr<TCustomForm> main_form(create_fproj_form(nullptr));
    check_against_free_pascal("template main form", form_file_bytes(*main_form));

    // A maintenance form as the generators build it: default caption with accents, labels, every
    // editor class, a grid with columns, a menu tree.
    scratch->SetCaption("Manuten\xE7\xE3o da tabela CLIENTE (Cliente)");
    auto* scroll_box = dynamic_cast<TWinControl*>(scratch->FindComponent("ScrollBox1"));
    ASSERT_NE(scroll_box, nullptr);
    int top = 10;
    for (const char* editor : {"TDBEdit", "TDBCheckBox", "TDBMemo", "TDBLookupListBox", "TDBLookupComboBox",
                               "TDBComboBox", "TDBListBox", "TDBRadioGroup", "TDBText", "TDBImage"}) {
        auto* label = create<TLabel>("TLabel", scratch.get());
        label->SetParent(scroll_box);
        label->SetName("Label" + std::to_string(top));
        label->SetCaption("Descri\xE7\xE3o " + std::string(editor));
        label->SetBounds(10, top, 130, 16);
        auto* control = create<TControl>(editor, scratch.get());
        control->SetParent(scroll_box);
        control->SetName(std::string(editor) + "CAMPO_" + std::to_string(top));
        control->SetBounds(150, top, 341, 24);
        control->SetProperty("DataField", std::string("CAMPO " + std::to_string(top)));
        control->SetReference("DataSource", scratch->FindComponent("DataSource1"));
        top += 34;
    }
    auto* grid = create<TDBGrid>("TDBGrid", scratch.get());
    grid->SetParent(scroll_box);
    grid->SetName("Grid1");
    grid->SetAlign(TAlign::alClient);
    grid->AddColumn().SetProperty("FieldName", std::string("DATA_NASC"));
    grid->Columns().Items(0)->SetProperty("Title.Caption", std::string("Nascimento"));
    grid->AddColumn().SetProperty("Visible", false);
    scratch->SetClientHeight(600);
    check_against_free_pascal("built maintenance form", form_file_bytes(*scratch));

    auto* group = create<TMenuItem>("TMenuItem", main_form.get());
    group->SetName("MMMCLIENTE");
    group->SetCaption("&Tabelas");
    dynamic_cast<TMainMenu*>(main_form->FindComponent("MMain"))->Items().Add(group);
    auto* item = create<TMenuItem>("TMenuItem", main_form.get());
    item->SetName("MMCLIENTE");
    item->SetCaption("Clientes \x96 cadastro");
    group->Add(item);
    main_form->SetCaption("Controle de Estoque");
    check_against_free_pascal("built main form", form_file_bytes(*main_form));
}

// A stored diagram: shapes with captions, a zoomed text with accents, a connector with its caption.
// Free Pascal reads it both ways, and it reads back into shapes that store the same bytes again.
TEST(FreePascalOracle, StoredShapesRoundTrip) {
    REQUIRE_FREE_PASCAL();
    TDiagramSurface diagram(nullptr);
    diagram.SetName("Diagrama");
    diagram.SetBounds(0, 0, 640, 480);
    auto* note = new TnoxTextShape(&diagram);
    note->SetParent(&diagram);
    note->SetText("Cadastro de cliente\nl\xEDnha dois");
    note->SetBounds(20, 300, 10, 10);
    auto* left = new TnoxSizeableShape(&diagram);
    left->SetParent(&diagram);
    left->SetBounds(40, 40, 120, 60);
    auto* right = new TnoxSizeableShape(&diagram);
    right->SetParent(&diagram);
    right->SetBounds(400, 60, 100, 80);
    auto* left_caption = new tnoxCaption(&diagram);
    left_caption->SetText("Cliente");
    left->SetCaption(left_caption);
    auto* connector = new TnoxConnector(&diagram);
    connector->SetParent(&diagram);
    TnoxConnection from, to;
    from.SetShape(left);
    from.SetPerc(29);
    to.SetShape(right);
    to.SetPerc(75);
    connector->Connect(&from, &to);
    auto* line_caption = new tnoxCaption(&diagram);
    line_caption->SetText("compra");
    connector->SetCaption(line_caption);
    note->SetEscala(150);
    note->FitText();  // as a free text does after a zoom; reading refits to the stored scale too

    const std::string bytes = form_file_bytes(diagram);
    check_against_free_pascal("stored shapes", bytes);
    std::unique_ptr<TComponent> read = read_component_file(bytes);
    EXPECT_EQ(form_file_bytes(*read), bytes);
    auto* read_left = dynamic_cast<TnoxSizeableShape*>(read->FindComponent(left->Name()));
    ASSERT_NE(read_left, nullptr);
    ASSERT_NE(read_left->Caption(), nullptr);
    EXPECT_EQ(read_left->Caption()->Text(), "Cliente");
    EXPECT_EQ(read_left->Caption()->BoundsRect(), left_caption->BoundsRect());
    const std::unique_ptr<TComponent> from_text = read_component_text(text_of(bytes));
    EXPECT_EQ(form_file_bytes(*from_text), bytes);
}

// A stored diagram is a bare component stream: entities with their records (the host's reserved
// positions included), relationships with captions and free texts. Free Pascal converts it both ways
// to the same bytes and text as ours, and its text reads back as the same diagram.
TEST(FreePascalOracle, StoredDiagramsConvertToTheSameBytesBothWays) {
    REQUIRE_FREE_PASCAL();
    Diagram vendas = load_diagram(fs::path(KZR40_SOURCE_DIR) / "examples" / "vendas.json");
    const std::string plain = stored_diagram_bytes(vendas, "vendas.kzd");
    auto& record = *static_cast<TAtributo*>(vendas.entities[0].entity->atributos().Objects(0));
    record.reservado_12 = -1;
    for (int i = 0; i < 12; ++i) record.reservado_36[i] = static_cast<std::uint8_t>(i * 21);
    static_cast<TChaveSecundaria*>(vendas.entities[0].entity->ChavesSecundarias().Objects(0))->reservado_8 = 8;
    vendas.relationships[0].start_perc = 29;  // one that a connection would read back as 28
    vendas.relationships[0].caption = DiagramCaption{"faz\ncompra", {10, 20, 0, 0}, std::make_unique<TFont>(), false};
    vendas.entities[1].caption = DiagramCaption{"Produto", {}, std::make_unique<TFont>(), true};
    for (const std::string& stream : {plain, stored_diagram_bytes(vendas, "vendas.kzd")}) {
        ASSERT_EQ(stream.rfind("TPF0", 0), 0u);
        const std::string our_text = write_text(read_stream(stream));
        EXPECT_EQ(write_stream(read_text(our_text)), stream);
        const Converted fpc_text = free_pascal("bin2txt", stream);
        ASSERT_TRUE(fpc_text.ok) << fpc_text.error;
        EXPECT_EQ(write_stream(read_text(fpc_text.bytes)), stream) << fpc_text.bytes;
        const Converted fpc_stream = free_pascal("txt2bin", raw_bytes_variant(our_text));
        ASSERT_TRUE(fpc_stream.ok) << fpc_stream.error << "\n" << our_text;
        EXPECT_EQ(fpc_stream.bytes, stream) << our_text;
        EXPECT_EQ(stored_diagram_bytes(parse_stored_diagram(fpc_text.bytes, "fpc.txt"), "again.kzd"),
                  stored_diagram_bytes(parse_stored_diagram(stream, "ours.kzd"), "again.kzd"));
    }
}

// Every form file that the application generators write for the example diagrams.
TEST(FreePascalOracle, GeneratedExampleFormsRoundTrip) {
    REQUIRE_FREE_PASCAL();
    for (const char* example : {"cliente.json", "vendas.json"}) {
        const fs::path dir = fs::temp_directory_path() / ("kzr40-oracle-app-" + std::to_string(getpid()));
        fs::create_directories(dir);
        const Diagram diagram = load_diagram(fs::path(KZR40_SOURCE_DIR) / "examples" / example);
        for (const FormOutcome& outcome : generate_forms(diagram, dir, 0)) ASSERT_EQ(outcome.error, "") << outcome.entity;
        generate_main_project(diagram, dir, 0, default_title(diagram));
        int forms = 0;
        for (const auto& entry : fs::directory_iterator(dir)) {
            if (entry.path().extension() != ".dfm") continue;
            ++forms;
            check_against_free_pascal(std::string(example) + ": " + entry.path().filename().string(), read_file(entry.path()));
        }
        EXPECT_EQ(forms, static_cast<int>(diagram.entities.size()) + 1) << example;
        fs::remove_all(dir);
    }
}

TEST(FreePascalOracle, ScratchFormReadsBackAsItsStoredDesign) {
    REQUIRE_FREE_PASCAL();
    std::unique_ptr<TCustomForm> scratch(create_result_form(nullptr));
    const Converted text = free_pascal("res2txt", form_file_bytes(*scratch));
    ASSERT_TRUE(text.ok) << text.error;
    // The table of stored values of the scratch form, as Free Pascal prints it.
    EXPECT_EQ(text.bytes,
              "object ResultForm: TResultForm\n"
              "  Left = 223\n  Top = 104\n  Width = 509\n  Height = 416\n"
              "  Caption = 'Result Form'\n  Color = clBtnFace\n"
              "  Font.Charset = DEFAULT_CHARSET\n  Font.Color = clWindowText\n  Font.Height = -13\n"
              "  Font.Name = 'System'\n  Font.Style = []\n"
              "  OldCreateOrder = True\n  Position = poScreenCenter\n"
              "  OnActivate = FormActivate\n  OnClose = FormClose\n"
              "  PixelsPerInch = 96\n  TextHeight = 16\n"
              "  object Panel1: TPanel\n"
              "    Left = 0\n    Top = 0\n    Width = 501\n    Height = 41\n    Align = alTop\n    TabOrder = 0\n"
              "    object DBNavigator1: TDBNavigator\n"
              "      Left = 8\n      Top = 8\n      Width = 240\n      Height = 25\n"
              "      DataSource = DataSource1\n      TabOrder = 0\n"
              "    end\n"
              "  end\n"
              "  object ScrollBox1: TScrollBox\n"
              "    Left = 0\n    Top = 41\n    Width = 501\n    Height = 348\n    Align = alClient\n    TabOrder = 1\n"
              "  end\n"
              "  object DataSource1: TDataSource\n    DataSet = Table1\n    Left = 312\n    Top = 8\n  end\n"
              "  object Table1: TTable\n    Left = 352\n    Top = 8\n  end\n"
              "end\n");
}

// The target's reading of #nnn, pinned on its own: the default caption keeps one byte per character
// through the text detour of the form generation.
TEST(FormTextDetour, DefaultCaptionStaysAOneByteString) {
    std::unique_ptr<TCustomForm> scratch(create_result_form(nullptr));
    const std::string caption = "Manuten\xE7\xE3o da tabela CLIENTE (Cliente)";
    scratch->SetCaption(caption);
    const std::string original = form_file_bytes(*scratch);
    const std::string text = text_of(original);
    EXPECT_NE(text.find("Caption = 'Manuten'#231#227'o da tabela CLIENTE (Cliente)'"), std::string::npos) << text;
    const ObjectNode back = read_text(text);
    ASSERT_NE(back.find("Caption"), nullptr);
    EXPECT_EQ(back.find("Caption")->value.type(), ValueType::String);
    EXPECT_EQ(back.find("Caption")->value.bytes(), caption);
    EXPECT_EQ(write_form_file(back), original);
}

}  // namespace
