// `kzr40 edit` end to end: the real program on a display of its own (Xvfb), driven by the real pointer
// and keyboard (xdotool), its picture taken from the screen (xwd). The same gestures replayed on the
// document in this process give what the file and the screen must show.

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cairo.h>
#include <glib.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "editor/diagram_editor.h"
#include "diagram/json_writer.h"
#include "model/relacionamento.h"
#include "model/texto.h"
#include "platform/components/diagram_surface.h"
#include "platform/graphics/cairo_canvas.h"
#include "tests/support/run_host.h"
#include "tests/support/read_file.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test_support::read_file;

namespace {

bool installed(const char* program) { return std::system(("command -v " + std::string(program) + " >/dev/null 2>&1").c_str()) == 0; }

std::string quoted(const fs::path& p) { return "'" + p.string() + "'"; }

// Where the window tests keep their screenshots to look at (in the build tree, where two test runs
// of different builds do not write over each other's).
fs::path kept_screenshot(const std::string& name) {
    const fs::path folder = KZR40_SCREENSHOT_DIR;
    fs::create_directories(folder);
    return folder / name;
}

// Waits until `done` holds, for at most `limit`.
template <typename Done>
bool wait_for(Done done, std::chrono::milliseconds limit) {
    for (auto end = std::chrono::steady_clock::now() + limit; std::chrono::steady_clock::now() < end;
         std::this_thread::sleep_for(50ms))
        if (done()) return true;
    return done();
}

std::string text_of(const fs::path& file) {
    std::error_code error;
    if (!fs::exists(file, error)) return {};
    return read_file(file);
}

// A screenshot in XWD form: 32 bits a pixel, as Xvfb's 24-bit screens give it.
struct Screen {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;  // 0xRRGGBB
    std::uint32_t at(int x, int y) const { return pixels.at(static_cast<std::size_t>(y) * width + x); }

    static Screen read(const fs::path& file) {
        const std::string d = read_file(file);
        const auto card = [&](std::size_t i) {
            const auto* b = reinterpret_cast<const unsigned char*>(d.data() + 4 * i);
            return std::uint32_t{b[0]} << 24 | std::uint32_t{b[1]} << 16 | std::uint32_t{b[2]} << 8 | b[3];
        };
        if (d.size() < 100) throw std::runtime_error("short screenshot " + file.string());
        Screen s;
        s.width = static_cast<int>(card(4));
        s.height = static_cast<int>(card(5));
        // A depth-24 screen: three bytes a pixel packed, or four; true colour, masks 0xFF0000, 0xFF00, 0xFF.
        const std::size_t size = card(11) / 8;
        if (card(2) != 2 || (size != 3 && size != 4) || card(14) != 0xFF0000u || card(16) != 0xFFu)
            throw std::runtime_error("unexpected screenshot format " + file.string());
        const bool msb_first = card(7) == 1;
        const std::size_t start = card(0) + card(19) * 12, line = card(12);
        if (d.size() < start + line * s.height) throw std::runtime_error("short screenshot " + file.string());
        s.pixels.resize(static_cast<std::size_t>(s.width) * s.height);
        for (int y = 0; y < s.height; ++y)
            for (int x = 0; x < s.width; ++x) {
                const auto* b = reinterpret_cast<const unsigned char*>(d.data() + start + y * line + size * x);
                std::uint32_t v = 0;
                for (std::size_t i = 0; i < size; ++i) v |= std::uint32_t{b[msb_first ? size - 1 - i : i]} << (8 * i);
                s.pixels[static_cast<std::size_t>(y) * s.width + x] = v & 0xFFFFFF;
            }
        return s;
    }

    void write_png(const fs::path& file) const {
        std::vector<std::uint32_t> copy(pixels);
        cairo_surface_t* image = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(copy.data()),
                                                                     CAIRO_FORMAT_RGB24, width, height, width * 4);
        cairo_surface_write_to_png(image, file.c_str());
        cairo_surface_destroy(image);
    }
};

class EditWindow : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* program : {"Xvfb", "xdotool", "xwd"})
            if (!installed(program)) GTEST_SKIP() << program << " is not installed (scripts/setup.sh installs it)";
        folder = fs::temp_directory_path() / ("kzr40-edit-window-" + std::to_string(getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        // -displayfd: Xvfb picks a free display itself and says which once it accepts clients;
        // -noreset: it does not reset (refusing clients for a moment) each time its last client leaves.
        shell("Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp -noreset 5>" + quoted(folder / "display") + " 2>" +
              quoted(folder / "xvfb.log") + " & echo $! >" + quoted(folder / "xvfb.pid"));
        xvfb_pid = pid_in(folder / "xvfb.pid");
        ASSERT_TRUE(wait_for([&] { return text_of(folder / "display").find('\n') != std::string::npos; }, 20s))
            << "Xvfb did not start: " << text_of(folder / "xvfb.log");
        display = ":" + text_of(folder / "display").substr(0, text_of(folder / "display").find('\n'));
    }

    void TearDown() override {
        if (app_pid > 0) {
            kill(app_pid, SIGKILL);
            wait_for([&] { return !text_of(folder / "app.status").empty(); }, 5s);
        }
        if (xvfb_pid > 0) kill(xvfb_pid, SIGTERM);
        std::error_code ignored;
        if (!folder.empty()) fs::remove_all(folder, ignored);
    }

    static int shell(const std::string& command) { return std::system(command.c_str()); }
    static pid_t pid_in(const fs::path& file) {
        pid_t pid = 0;
        wait_for([&] { return std::istringstream(text_of(file)) >> pid && pid > 0; }, 5s);
        return pid;
    }
    // `kzr40 edit FILE` started in `dir`, with `environment` before it, until the window says it is
    // ready (where its diagram's origin is on the screen). app.pid: the program's own process, so that
    // a failed test can end it; app.status: its exit status. GTK's libraries keep memory to the end by
    // design: a sanitized build checks no leaks here.
    void start_editor(const fs::path& dir, const std::string& file, const std::string& environment = {}) {
        shell("cd " + quoted(dir) + " && (DISPLAY=" + display + " KZR40_EDIT_READY=" + quoted(folder / "ready") + " " + environment +
              " NO_AT_BRIDGE=1 GDK_BACKEND=x11 ASAN_OPTIONS=detect_leaks=0 '" + KZR40_HOST_PATH + "' edit " + file + " >" +
              quoted(folder / "app.log") + " 2>&1 & echo $! >" + quoted(folder / "app.pid") + "; wait $!; echo $? >" +
              quoted(folder / "app.status") + ") &");
        app_pid = pid_in(folder / "app.pid");
        ASSERT_TRUE(wait_for([&] { return !text_of(folder / "ready").empty(); }, 60s)) << text_of(folder / "app.log");
        std::istringstream(text_of(folder / "ready")) >> origin.X >> origin.Y;
    }
    // xdotool on our display; the pauses let the window handle each gesture as a person's would.
    void xdotool(const std::string& arguments) {
        ASSERT_EQ(shell("DISPLAY=" + display + " xdotool " + arguments), 0) << arguments;
    }
    void drag(TPoint from, TPoint to) {
        const auto at = [&](TPoint p) { return std::to_string(origin.X + p.X) + " " + std::to_string(origin.Y + p.Y); };
        const TPoint half{(from.X + to.X) / 2, (from.Y + to.Y) / 2};
        // The pointer rests on the spot first, as a hand's would: a handle is picked by the move onto it.
        xdotool("mousemove " + at(from) + " sleep 0.1 mousedown 1 sleep 0.1 mousemove " + at(half) +
                " sleep 0.1 mousemove " + at(to) + " sleep 0.1 mouseup 1 sleep 0.2");
    }

    fs::path folder;
    std::string display;
    pid_t xvfb_pid = 0;
    pid_t app_pid = 0;
    TPoint origin;
};

// The same gestures on the document, through the surface's calls.
void replay_drag(DiagramEditor& editor, TPoint from, TPoint to) {
    TDiagramSurface& s = editor.surface();
    s.DispatchMouseMove(0, from.X, from.Y);
    s.DispatchMouseDown(TMouseButton::mbLeft, 0, from.X, from.Y);
    s.DispatchMouseMove(0, (from.X + to.X) / 2, (from.Y + to.Y) / 2);
    s.DispatchMouseMove(0, to.X, to.Y);
    s.DispatchMouseUp(TMouseButton::mbLeft, 0, to.X, to.Y);
    editor.commit();
}

TEST_F(EditWindow, PointerDragsResizesZoomsAndSavesWhatTheScreenShows) {
    const fs::path vendas = fs::path(KZR40_SOURCE_DIR) / "examples" / "vendas.json";
    const fs::path file = folder / "vendas.json";
    const fs::path replayed = folder / "replayed.json";
    fs::copy_file(vendas, file);
    fs::copy_file(vendas, replayed);

    // What to grab, from the shapes as the window will show them.
    DiagramEditor replay(replayed);
    const TRect text = replay.scene().text(0).BoundsRect();
    const TPoint entity_from{60, 65}, entity_to{110, 95};  // Cliente, at (40, 40), by (50, 30)
    const TPoint handle{text.Right - 2, text.Bottom - 2};   // the free text's handle 7, once selected
    const TPoint handle_to{handle.X + 40, handle.Y + 20};

    ASSERT_NO_FATAL_FAILURE(start_editor(folder, "vendas.json"));

    // Pedido's editor opened and closed with OK, nothing edited: no change the replay lacks (its fonts
    // are named as the file names them, not as the faces that draw them).
    xdotool("mousemove " + std::to_string(origin.X + 380) + " " + std::to_string(origin.Y + 46) +
            " sleep 0.2 click --repeat 2 --delay 80 1 sleep 1.2");
    EXPECT_EQ(shell("DISPLAY=" + display + " xdotool search --onlyvisible --name '^Entity Pedido$' >/dev/null"), 0)
        << "the entity editor did not open";
    xdotool("key alt+o sleep 0.8");
    drag(entity_from, entity_to);
    replay_drag(replay, entity_from, entity_to);
    drag({text.Left + 5, text.Top + 5}, {text.Left + 5, text.Top + 5});  // selects the text
    replay_drag(replay, {text.Left + 5, text.Top + 5}, {text.Left + 5, text.Top + 5});
    drag(handle, handle_to);
    replay_drag(replay, handle, handle_to);
    TRelacionamento& line = replay.scene().relationship(0);
    const TPoint middle{line.Left() + (line.Route()[1].X + line.Route()[2].X) / 2,
                        line.Top() + (line.Route()[1].Y + line.Route()[2].Y) / 2};
    drag(middle, {middle.X + 30, middle.Y + 30});
    replay_drag(replay, middle, {middle.X + 30, middle.Y + 30});
    // Ctrl + wheel up: one zoom stop in. The point under the pointer stays put, so with the pointer
    // on the diagram's corner the view does not scroll.
    xdotool("mousemove " + std::to_string(origin.X) + " " + std::to_string(origin.Y) +
            " keydown ctrl click 4 keyup ctrl sleep 0.3");
    replay.zoom_by(1);
    const std::string before = read_file(file);
    xdotool("key ctrl+s");
    ASSERT_TRUE(wait_for([&] { return text_of(file) != before; }, 10s)) << "not saved: " << text_of(folder / "app.log");
    replay.save();

    // The file: exactly what the same gestures give the document, and the values they must give.
    EXPECT_EQ(read_file(file), read_file(replayed));
    const Diagram saved = load_diagram(file);
    EXPECT_EQ(saved.escala, 110);
    EXPECT_EQ(saved.entities[0].shape.left, 90);
    EXPECT_EQ(saved.entities[0].shape.top, 70);
    EXPECT_EQ(saved.entities[2].shape.left, 360);  // Pedido stays
    EXPECT_EQ(saved.texts[0].shape.left, text.Left);
    EXPECT_EQ(saved.texts[0].shape.width, RectWidth(text) + 40);
    EXPECT_EQ(saved.texts[0].shape.height, RectHeight(text) + 20);
    EXPECT_NE(saved.relationships[0].meioperc, 50);
    EXPECT_EQ(saved.relationships[0].meioperc, replay.scene().relationship(0).meioperc());

    // The screen: the pixels the document paints offscreen at the same places, the entity's box with its
    // frame and the relationship's mark. The window may paint a moment after it saved: a few tries.
    TDiagramSurface& surface = replay.surface();
    ImageCanvas expected(surface.Width(), surface.Height());
    surface.PaintTo(expected);
    const TEntidade& cliente = replay.scene().entity(0);
    EXPECT_EQ(cliente.Left(), 99);  // 90 at 110 %
    const TRect box = cliente.BoundsRect();
    const TPoint mark{line.Left() + line.MarkCentre().X, line.Top() + line.MarkCentre().Y};
    const TRect around_mark{mark.X - 6, mark.Y - 6, mark.X + 7, mark.Y + 7};
    const auto inked = [&](const TRect& r) {
        int n = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x) n += expected.Pixel(x, y) != 0xFFFFFFu;
        return n;
    };
    EXPECT_GT(inked(box), 100);
    EXPECT_GT(inked(around_mark), 3);
    EXPECT_NE(expected.Pixel(box.Left, (box.Top + box.Bottom) / 2), 0xFFFFFFu);  // the frame's left side
    int box_differ = -1, mark_differ = -1;
    for (int attempt = 0; attempt < 10 && (box_differ != 0 || mark_differ != 0); ++attempt) {
        if (attempt > 0) std::this_thread::sleep_for(300ms);
        ASSERT_EQ(shell("DISPLAY=" + display + " xwd -root -silent -out " + quoted(folder / "screen.xwd")), 0);
        const Screen screen = Screen::read(folder / "screen.xwd");
        screen.write_png(kept_screenshot("edit-window.png"));  // to look at when it fails
        const auto differ = [&](const TRect& r) {
            int n = 0;
            for (int y = r.Top; y < r.Bottom; ++y)
                for (int x = r.Left; x < r.Right; ++x) n += screen.at(origin.X + x, origin.Y + y) != expected.Pixel(x, y);
            return n;
        };
        box_differ = differ(box);
        mark_differ = differ(around_mark);
    }
    EXPECT_EQ(box_differ, 0) << "pixels of the entity's box that differ from the offscreen picture";
    EXPECT_EQ(mark_differ, 0) << "pixels around the relationship's mark that differ";

    // An unsaved change: closing asks, and "Close without saving" leaves the file as it was saved.
    const std::string saved_text = read_file(file);
    drag(entity_to, {entity_to.X + 20, entity_to.Y});
    xdotool("key ctrl+q sleep 1");
    EXPECT_TRUE(text_of(folder / "app.status").empty()) << "closed without asking about the unsaved change";
    xdotool("key alt+w");
    ASSERT_TRUE(wait_for([&] { return !text_of(folder / "app.status").empty(); }, 20s)) << "the window did not close";
    EXPECT_EQ(text_of(folder / "app.status"), "0\n") << text_of(folder / "app.log");
    EXPECT_EQ(read_file(file), saved_text);
    app_pid = 0;
}

// From nothing to a model by pointer and keys: `edit new.json`, two entities typed in the entity
// editor, a relationship between them and one of the second to itself (the tool), an index, save;
// then the first entity deleted, and everything undone.
TEST_F(EditWindow, AModelIsMadeFromNothingWithThePointerAndTheKeysAndUndoneAgain) {
    const fs::path file = folder / "new.json";
    ASSERT_NO_FATAL_FAILURE(start_editor(folder, "new.json"));
    const auto at = [&](TPoint p) { return std::to_string(origin.X + p.X) + " " + std::to_string(origin.Y + p.Y); };

    // A double click on empty surface, or Insert, adds an entity at the pointer and opens its editor;
    // the first attribute added is the key.
    const auto entity = [&](TPoint where, const std::string& name, const std::string& table, const char* const* attributes,
                            const std::string& gesture) {
        xdotool("mousemove " + at(where) + " sleep 0.2 " + gesture + " sleep 1.2");
        xdotool("type --delay 20 " + name);
        xdotool("key Tab ctrl+a");
        xdotool("type --delay 20 " + table);
        for (int i = 0; i < 3; ++i) {
            xdotool("key alt+a sleep 0.3");
            xdotool(std::string("type --delay 20 ") + attributes[i]);
            xdotool("key Return sleep 0.2");
        }
        xdotool("key alt+o sleep 0.8");
    };
    const char* const cliente[] = {"CODIGO", "NOME", "CIDADE"};
    const char* const pedido[] = {"NUMERO", "DATA", "VALOR"};
    entity({60, 60}, "Cliente", "CLIENTE", cliente, "click --repeat 2 --delay 80 1");
    entity({400, 60}, "Pedido", "PEDIDO", pedido, "key Insert");

    // The relationship tool (key R): press on the start entity, release on the end one.
    xdotool("key r sleep 0.2");
    xdotool("mousemove " + at({70, 70}) + " sleep 0.1 mousedown 1 sleep 0.1 mousemove " + at({250, 75}) +
            " sleep 0.1 mousemove " + at({410, 75}) + " sleep 0.1 mouseup 1 sleep 0.5");
    xdotool("mousemove " + at({410, 70}) + " sleep 0.1 mousedown 1 sleep 0.1 mousemove " + at({420, 80}) +
            " sleep 0.1 mouseup 1 sleep 0.5");
    xdotool("key r sleep 0.2");
    // An index on Pedido: its editor again by a double click, Add index, name, fields.
    xdotool("mousemove " + at({410, 66}) + " sleep 0.2 click --repeat 2 --delay 80 1 sleep 1.2");
    xdotool("key alt+i sleep 0.3");
    xdotool("type --delay 20 PorData");
    xdotool("key Return sleep 0.3");
    xdotool("type --delay 20 DATA+NUMERO");
    xdotool("key Return sleep 0.2 key alt+o sleep 0.8");
    // A click on empty surface clears the selection; then save.
    xdotool("mousemove " + at({300, 400}) + " sleep 0.1 click 1 sleep 0.3 key ctrl+s");
    ASSERT_TRUE(wait_for([&] { return fs::exists(file); }, 10s)) << "not saved: " << text_of(folder / "app.log");

    const HostRun check = run_host({"check", file.string()});
    EXPECT_EQ(check.status, 0) << check.err;
    EXPECT_EQ(check.err, "") << "the saved model has warnings";
    const HostRun tables = run_host({"tables", file.string()});
    EXPECT_NE(tables.out.find("field CODIGO: Integer"), std::string::npos) << tables.out;
    const Diagram saved = load_diagram(file);
    ASSERT_EQ(saved.entities.size(), 2u);
    ASSERT_EQ(saved.relationships.size(), 2u);
    EXPECT_EQ(saved.relationships[1].from, 1u);
    EXPECT_EQ(saved.relationships[1].to, 1u);
    const TEntidade& second = *saved.entities[1].entity;
    ASSERT_EQ(second.atributos().Count(), 5) << read_file(file);
    EXPECT_EQ(second.atributos().Get(3), std::string("CODIGO"));
    EXPECT_EQ(second.atributos().Get(4), std::string("NUMERO_2"));
    EXPECT_EQ(second.ChavesSecundarias().Count(), 1);
    EXPECT_NE(tables.out.find("index PorData on \"DATA;NUMERO\""), std::string::npos) << tables.out;

    // The screen shows in the boxes what the saved diagram paints offscreen.
    DiagramEditor replay(file);
    TDiagramSurface& surface = replay.surface();
    ImageCanvas expected(surface.Width(), surface.Height());
    surface.PaintTo(expected);
    int differ = -1;
    for (int attempt = 0; attempt < 10 && differ != 0; ++attempt) {
        if (attempt > 0) std::this_thread::sleep_for(300ms);
        ASSERT_EQ(shell("DISPLAY=" + display + " xwd -root -silent -out " + quoted(folder / "screen.xwd")), 0);
        const Screen screen = Screen::read(folder / "screen.xwd");
        screen.write_png(kept_screenshot("edit-model.png"));
        differ = 0;
        for (std::size_t i = 0; i < 2; ++i) {
            const TRect box = replay.scene().entity(i).BoundsRect();
            for (int y = box.Top; y < box.Bottom; ++y)
                for (int x = box.Left; x < box.Right; ++x) differ += screen.at(origin.X + x, origin.Y + y) != expected.Pixel(x, y);
        }
    }
    EXPECT_EQ(differ, 0) << "pixels of the entities' boxes that differ from the offscreen picture";

    // Delete the first entity: its relationship and the foreign key it brought go too.
    std::string before = read_file(file);
    xdotool("mousemove " + at({70, 66}) + " sleep 0.1 click 1 sleep 0.3 key Delete sleep 0.3 key ctrl+s");
    ASSERT_TRUE(wait_for([&] { return read_file(file) != before; }, 10s)) << text_of(folder / "app.log");
    const Diagram deleted = load_diagram(file);
    ASSERT_EQ(deleted.entities.size(), 1u);
    ASSERT_EQ(deleted.relationships.size(), 1u);
    EXPECT_EQ(deleted.entities[0].entity->atributos().Count(), 4);
    EXPECT_EQ(deleted.entities[0].entity->atributos().Get(3), std::string("NUMERO_2"));

    // Undo everything: the diagram as it was begun, empty.
    before = read_file(file);
    for (int i = 0; i < 12; ++i) xdotool("key ctrl+z sleep 0.1");
    xdotool("key ctrl+s");
    ASSERT_TRUE(wait_for([&] { return read_file(file) != before; }, 10s)) << text_of(folder / "app.log");
    EXPECT_EQ(read_file(file), diagram_to_json(Diagram{}, file.string()));
    xdotool("key ctrl+q");
    ASSERT_TRUE(wait_for([&] { return !text_of(folder / "app.status").empty(); }, 20s)) << "the window did not close";
    EXPECT_EQ(text_of(folder / "app.status"), "0\n") << text_of(folder / "app.log");
    app_pid = 0;
}

// Every file under `dir`, by its path relative to it, with its bytes.
std::map<std::string, std::string> files_under(const fs::path& dir) {
    std::map<std::string, std::string> files;
    std::error_code error;
    if (!fs::is_directory(dir, error)) return files;
    for (const auto& entry : fs::recursive_directory_iterator(dir))
        if (entry.is_regular_file()) files[fs::relative(entry.path(), dir).string()] = read_file(entry.path());
    return files;
}

std::vector<std::string> names_of(const std::map<std::string, std::string>& files) {
    std::vector<std::string> names;
    for (const auto& [name, bytes] : files) names.push_back(name);
    return names;
}

// File ▸ Generate application and File ▸ Show SQL by the keys a person would press: the folder typed
// into GTK's own chooser, which starts beside the diagram; what the window writes and shows is what
// the command line writes for the same diagram, and a folder that cannot take the files is refused
// with a message and left as it was.
TEST_F(EditWindow, GeneratesTheApplicationAndShowsTheSqlAsTheCommandLineWritesThem) {
    if (!installed("xclip")) GTEST_SKIP() << "xclip is not installed (scripts/setup.sh installs it)";
    const fs::path work = folder / "work";  // the diagram alone: the chooser lists nothing else
    const fs::path file = work / "vendas.json";
    fs::create_directories(work / "blocked" / "GerarDBs.pas");  // a folder where a file cannot go
    fs::copy_file(fs::path(KZR40_SOURCE_DIR) / "examples" / "vendas.json", file);
    const std::string epoch = "1700000000";  // the banners' dates, the same in both runs
    ASSERT_NO_FATAL_FAILURE(start_editor(work, "vendas.json", "SOURCE_DATE_EPOCH=" + epoch + " GSETTINGS_BACKEND=memory"));
    const auto visible = [&](const std::string& title) {
        return shell("DISPLAY=" + display + " xdotool search --onlyvisible --name '" + title + "' >/dev/null") == 0;
    };
    // Kept to look at. (The root window's picture leaves GTK's menus black: they have a visual of
    // their own, whose pixels X does not promise in it.)
    const auto screenshot = [&](const std::string& name) {
        ASSERT_EQ(shell("DISPLAY=" + display + " xwd -root -silent -out " + quoted(folder / "screen.xwd")), 0);
        Screen::read(folder / "screen.xwd").write_png(kept_screenshot(name));
    };
    struct Restore {  // the variable as this process had it, for the tests after this one
        std::optional<std::string> value;
        ~Restore() {
            if (value) g_setenv("SOURCE_DATE_EPOCH", value->c_str(), TRUE);
            else g_unsetenv("SOURCE_DATE_EPOCH");
        }
    } restore{g_getenv("SOURCE_DATE_EPOCH") ? std::optional<std::string>(g_getenv("SOURCE_DATE_EPOCH")) : std::nullopt};
    g_setenv("SOURCE_DATE_EPOCH", epoch.c_str(), TRUE);

    // File ▸ Generate application ▸ the target (its mnemonic), a folder's name in the chooser's
    // location entry (Ctrl + L), Return; the message that says where the application went. The
    // entry completes a folder's name with a selected "/", which would take Return into the folder:
    // Delete drops it.
    const auto generate = [&](const std::string& target, const char* mnemonic, const std::string& into) {
        xdotool(std::string("key alt+f sleep 0.4 key g sleep 0.6 key ") + mnemonic + " sleep 1.5");
        EXPECT_TRUE(visible("^Generate the " + target + " application into$")) << "the folder chooser did not open";
        xdotool("key ctrl+l sleep 0.4 type --delay 30 " + into);
        xdotool("sleep 0.8");
        if (into == "delphi5-app") screenshot("edit-generate-folder.png");
        xdotool("key Delete sleep 0.2 key Return");
    };
    for (const auto& [target, mnemonic] : {std::pair{"delphi5", "d"}, std::pair{"lazarus", "l"}}) {
        SCOPED_TRACE(target);
        const std::string into = std::string(target) + "-app";
        generate(target, mnemonic, into);
        ASSERT_TRUE(wait_for([&] { return visible("^KZR40$"); }, 30s)) << "no message after generating: " << text_of(folder / "app.log");
        xdotool("key Escape sleep 0.4");
        // The forms name their folder: the command line writes into the same one, the window's files
        // moved aside first.
        const auto written = files_under(work / into);
        fs::rename(work / into, folder / into);
        const HostRun expected = run_host({"generate", file.string(), "--dir", (work / into).string(), "--target", target});
        ASSERT_EQ(expected.status, 0) << expected.err;
        const auto wanted = files_under(work / into);
        EXPECT_GT(wanted.size(), 3u);
        ASSERT_EQ(names_of(written), names_of(wanted));
        for (const auto& [name, bytes] : wanted) EXPECT_TRUE(written.at(name) == bytes) << name << " differs";
    }
    EXPECT_EQ(files_under(folder / "delphi5-app").count("GerarDBs.pas"), 1u);

    // A directory stands where GerarDBs.pas must go: an error message, and not one file written.
    generate("delphi5", "d", "blocked");
    EXPECT_TRUE(wait_for([&] { return visible("^Error"); }, 30s)) << "no error message: " << text_of(folder / "app.log");
    EXPECT_FALSE(visible("^KZR40$"));
    xdotool("key Escape sleep 0.4");
    EXPECT_TRUE(files_under(work / "blocked").empty());
    EXPECT_EQ(std::distance(fs::directory_iterator(work / "blocked"), fs::directory_iterator()), 1);

    // File ▸ Show SQL ▸ MySQL / MariaDB: a window with the script, which Ctrl + A, Ctrl + C copy.
    xdotool("key alt+f sleep 0.4 key q sleep 0.6 key m sleep 1.5");
    ASSERT_TRUE(visible("^SQL \\(mysql\\) .* vendas\\.json$")) << "the SQL window did not open: " << text_of(folder / "app.log");
    xdotool("key ctrl+a sleep 0.2 key ctrl+c sleep 0.4");
    const HostRun copied = run_program("/bin/sh", {"-c", "DISPLAY=" + display + " xclip -o -selection clipboard"});
    const HostRun sql = run_host({"sql", file.string(), "--dialect", "mysql"});
    ASSERT_EQ(sql.status, 0) << sql.err;
    EXPECT_GT(sql.out.size(), 100u);
    EXPECT_TRUE(copied.out == sql.out) << "copied from the window:\n" << copied.out.substr(0, 400);

    // Nothing was edited: the main window closes at once, the SQL window with it.
    // (xdotool may find the window gone before it is done with it, and says so: its status is no measure.)
    shell("DISPLAY=" + display + " xdotool search --onlyvisible --name '^vendas\\.json .* KZR40$' windowfocus --sync key ctrl+q 2>/dev/null");
    ASSERT_TRUE(wait_for([&] { return !text_of(folder / "app.status").empty(); }, 20s)) << "the window did not close";
    EXPECT_EQ(text_of(folder / "app.status"), "0\n") << text_of(folder / "app.log");
    app_pid = 0;
}

TEST(EditCommand, WithoutADisplayOrWithABadFileItSaysWhyAndFails) {
    const fs::path vendas = fs::path(KZR40_SOURCE_DIR) / "examples" / "vendas.json";
    // The child inherits this process's environment: no display of any kind.
    const std::string display = g_getenv("DISPLAY") ? g_getenv("DISPLAY") : "";
    const std::string wayland = g_getenv("WAYLAND_DISPLAY") ? g_getenv("WAYLAND_DISPLAY") : "";
    g_unsetenv("DISPLAY");
    g_unsetenv("WAYLAND_DISPLAY");
    const HostRun headless = run_host({"edit", vendas.string()});
    const HostRun missing = run_host({"edit", "/nonexistent/diagram.json"});
    if (!display.empty()) g_setenv("DISPLAY", display.c_str(), TRUE);
    if (!wayland.empty()) g_setenv("WAYLAND_DISPLAY", wayland.c_str(), TRUE);

    EXPECT_EQ(headless.status, 1);
    EXPECT_NE(headless.err.find("vendas.json: cannot open a window: no display"), std::string::npos) << headless.err;
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("/nonexistent/diagram.json: cannot open"), std::string::npos) << missing.err;
    EXPECT_EQ(run_host({"edit", "--help"}).status, 0);
}

}  // namespace
