// The document of `kzr40 edit`: commands, history and saving, without a window.

#include "editor/diagram_editor.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <string_view>

#include "diagram/json_writer.h"
#include "platform/files/output.h"
#include "diagram/scene_layout.h"
#include "diagram/scene_picture.h"
#include "diagram/stored_diagram.h"
#include "diagram/type_texts.h"
#include "platform/files/whole_file.h"
#include "platform/components/diagram_surface.h"
#include "model/texto.h"

namespace {

std::uint64_t fingerprint(std::string_view bytes) { return std::hash<std::string_view>{}(bytes) ^ bytes.size(); }

}  // namespace

DiagramEditor::DiagramEditor(std::filesystem::path file) : file_(std::move(file)) {
    const std::string name = file_.string();
    std::string bytes;
    try {
        bytes = read_whole_file(name, kMaxDiagramBytes);
    } catch (const WholeFileError&) {
        load_diagram(file_);  // words the problem as every command does
        throw DiagramError(name + ": cannot read");
    }
    disk_fingerprint_ = fingerprint(bytes);
    form_ = diagram_form_of(bytes);
    diagram_ = parse_diagram(bytes, name);
    type_texts_ = default_type_texts();
    select_type_texts(type_texts_);
    try {
        build_scene();
    } catch (const DiagramError& e) {
        throw DiagramError(name + ": " + e.what());  // a font without a face, as every command words it
    }
    history_.push_back(text_now());
    saved_ = history_.back();
    if (!diagram_.entities.empty() && needs_layout(diagram_)) lay_out();
}

DiagramEditor::~DiagramEditor() = default;

void DiagramEditor::build_scene() {
    scene_.reset();
    scene_ = std::make_unique<DiagramScene>(diagram_);
    scene_->zoom(diagram_.escala);
    fit_surface();
}

void DiagramEditor::rebuild() {
    scene_->store();
    std::vector<bool> entities(scene_->entity_count()), texts(scene_->text_count());
    for (std::size_t i = 0; i < entities.size(); ++i) entities[i] = scene_->entity(i).Selected();
    for (std::size_t i = 0; i < texts.size(); ++i) texts[i] = scene_->text(i).Selected();
    build_scene();
    for (std::size_t i = 0; i < entities.size(); ++i)
        if (entities[i]) scene_->entity(i).SetSelected(true);
    for (std::size_t i = 0; i < texts.size(); ++i)
        if (texts[i]) scene_->text(i).SetSelected(true);
}

std::string DiagramEditor::text_now() {
    scene_->settle();
    return diagram_to_json(diagram_, file_.string());
}

bool DiagramEditor::record() {
    std::string text = text_now();
    if (text == history_[at_]) return false;
    history_.resize(at_ + 1);  // a change after undo drops what redo would have brought back
    history_.push_back(std::move(text));
    if (history_.size() > kHistoryLimit) history_.erase(history_.begin());
    at_ = history_.size() - 1;
    return true;
}

bool DiagramEditor::commit() {
    const bool changed = record();
    fit_surface();
    return changed;
}

void DiagramEditor::restore(std::size_t index) {
    // The shapes go before the diagram whose entities they hold.
    scene_.reset();
    diagram_ = parse_diagram(history_[index], file_.string());
    at_ = index;
    build_scene();
}

void DiagramEditor::undo() {
    if (can_undo()) restore(at_ - 1);
}

void DiagramEditor::redo() {
    if (can_redo()) restore(at_ + 1);
}

bool DiagramEditor::dirty() const { return history_[at_] != saved_; }

std::string DiagramEditor::title() const {
    return (dirty() ? "*" : "") + file_.filename().string() + " \u2014 KZR40";
}

void DiagramEditor::set_viewport(int width, int height) {
    viewport_width_ = std::max(width, 0);
    viewport_height_ = std::max(height, 0);
    fit_surface();
}

void DiagramEditor::fit_surface() {
    // The shapes move only inside the surface's client area; the scene sizes it to their extent.
    const TRect shapes = scene_->bounds();
    TDiagramSurface& surface = scene_->surface();
    const int width = std::max(viewport_width_, std::max(shapes.Right, 0) + kRoom);
    const int height = std::max(viewport_height_, std::max(shapes.Bottom, 0) + kRoom);
    if (surface.Width() != width || surface.Height() != height) surface.SetBounds(0, 0, width, height);
}

template <typename Change>
auto DiagramEditor::transact(Change change) {
    record();  // a gesture not committed yet is a change of its own, kept whatever happens next
    try {
        return change();
    } catch (...) {
        // A command that failed halfway (Graphviz, a shape that cannot be built) may have left the
        // diagram and its shapes in any state: they are built again from the last snapshot.
        restore(at_);
        throw;
    }
}

void DiagramEditor::set_zoom(int percent) {
    percent = std::clamp(percent, static_cast<int>(kMinEscala), static_cast<int>(kMaxEscala));
    if (percent == scene_->escala()) return;
    transact([&] {
        scene_->zoom(percent);
        record();
        fit_surface();
    });
}

void DiagramEditor::zoom_by(int steps) {
    int percent = zoom();
    for (; steps > 0; --steps) {
        const int* next = std::upper_bound(std::begin(kZoomStops), std::end(kZoomStops), percent);
        if (next != std::end(kZoomStops)) percent = *next;
    }
    for (; steps < 0; ++steps) {
        const int* next = std::lower_bound(std::begin(kZoomStops), std::end(kZoomStops), percent);
        if (next != std::begin(kZoomStops)) percent = *(next - 1);
    }
    set_zoom(percent);
}

bool DiagramEditor::set_mode(tmodo mode, bool selected_only) {
    return transact([&] {
        bool changed = false;
        for (std::size_t i = 0; i < scene_->entity_count(); ++i) {
            TEntidade& e = scene_->entity(i);
            if ((selected_only && !e.Selected()) || e.Modo() == mode) continue;
            e.SetModo(mode);
            changed = true;
        }
        if (!changed) return false;
        // The boxes measure themselves anew and the lines follow: the scene does both when it is built.
        rebuild();
        record();
        return true;
    });
}

void DiagramEditor::set_type_texts(const std::string& name) {
    transact([&] {
        select_type_texts(name);
        type_texts_ = name;
        rebuild();
    });
}

void DiagramEditor::lay_out() {
    transact([&] {
        // As `kzr40 layout`: every entity is placed anew; the layout works on a scene at 100 %.
        for (DiagramEntity& entity : diagram_.entities) entity.shape.left = entity.shape.top = 0;
        scene_.reset();
        scene_ = std::make_unique<DiagramScene>(diagram_);
        lay_out_scene(*scene_, diagram_);
        scene_->zoom(diagram_.escala);
        record();
        fit_surface();
    });
}

std::optional<std::uint64_t> DiagramEditor::fingerprint_on_disk() const {
    const std::string name = file_.string();
    try {
        return fingerprint(read_whole_file(name, kMaxDiagramBytes));
    } catch (const WholeFileError& e) {
        if (e.reason() == WholeFileError::Reason::CannotOpen && e.error() == ENOENT) return std::nullopt;
        if (e.reason() == WholeFileError::Reason::TooLarge) return 0;  // not what we wrote, surely
        throw std::runtime_error(name + ": cannot read it to see whether it changed: " + std::strerror(e.error()));
    }
}

void DiagramEditor::save(bool overwrite_changes) {
    const std::string name = file_.string();
    if (!overwrite_changes) {
        const std::optional<std::uint64_t> now = fingerprint_on_disk();
        if (!now) throw FileChangedError(name + ": the file was deleted since it was opened");
        if (*now != disk_fingerprint_) throw FileChangedError(name + ": the file was changed by someone else since it was opened");
    }
    record();  // a gesture the window has not committed yet is saved too
    // The diagram stands as the current snapshot says: record() stored it, restore() read it.
    const std::string& text = history_[at_];
    const std::string bytes = form_.kind == DiagramFileKind::Json ? text : diagram_bytes(diagram_, form_, name);
    write_file_atomically(file_, bytes);
    saved_ = text;
    disk_fingerprint_ = fingerprint(bytes);
}

void DiagramEditor::export_picture(const std::filesystem::path& picture) const {
    const std::optional<PictureFormat> format = picture_format_of(picture);
    if (!format) throw std::runtime_error(picture.string() + ": the picture type follows the extension: .png, .svg or .pdf");
    std::string bytes;
    try {
        bytes = draw_picture(*scene_, *format);
    } catch (const std::runtime_error& e) {
        throw std::runtime_error(picture.string() + ": " + e.what());
    }
    write_file_atomically(picture, bytes);
}
