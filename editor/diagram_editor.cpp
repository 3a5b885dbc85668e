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
#include "diagram/diagram_checks.h"
#include "model/foreign_keys.h"
#include "model/relacionamento.h"
#include "model/texto.h"
#include "platform/ascii_case.h"
#include "plugin/entity_copy.h"
#include "plugin/registros.h"
#include "platform/utf8_cp1252.h"
#include "shapes/text_shape.h"

namespace {

std::uint64_t fingerprint(std::string_view bytes) { return std::hash<std::string_view>{}(bytes) ^ bytes.size(); }

// The form a file of this name is written in: JSON for ".json" (as `convert` writes), otherwise a stored
// diagram (as `store` writes), binary unless the diagram already is a stored text.
DiagramForm form_for_name(const std::string& name, const DiagramForm& current) {
    const std::string extension = AsciiLowerCase(std::filesystem::path(name).extension().string());
    if (extension == ".json") return DiagramForm{DiagramFileKind::Json, false};
    if (current.kind != DiagramFileKind::Json) return current;
    return DiagramForm{DiagramFileKind::StoredBinary, false};
}

bool contains_ignoring_case(const std::string& text, const std::string& part) {
    return AsciiLowerCase(text).find(AsciiLowerCase(part)) != std::string::npos;
}

}  // namespace

DiagramEditor::DiagramEditor(std::filesystem::path file) : DiagramEditor(std::move(file), Missing::refuse) {}

DiagramEditor::DiagramEditor(std::filesystem::path file, Missing missing) : file_(std::move(file)) {
    const std::string name = file_.string();
    std::error_code error;
    // Only where it can be saved: a folder that is missing is a mistake in the path, reported as such.
    const std::filesystem::path folder = file_.parent_path().empty() ? std::filesystem::path(".") : file_.parent_path();
    if (missing == Missing::replace ||
        (missing == Missing::empty && !std::filesystem::exists(std::filesystem::symlink_status(file_, error)) &&
         std::filesystem::is_directory(folder, error))) {
        form_ = form_for_name(name, DiagramForm{DiagramFileKind::StoredBinary, false});
        type_texts_ = default_type_texts();
        select_type_texts(type_texts_);
        build_scene();
        text_ = opened_text_ = saved_text_ = text_now();
        saved_at_ = 0;
        exists_on_disk_ = false;
        disk_fingerprint_ = 0;
        return;
    }
    std::string bytes;
    try {
        bytes = read_whole_file(name, kMaxDiagramBytes);
    } catch (const WholeFileError&) {
        load_diagram(file_);  // words the problem as every command does
        throw DiagramError(name + ": cannot read");
    }
    disk_fingerprint_ = fingerprint(bytes);
    opened_bytes_ = bytes;
    form_ = diagram_form_of(bytes);
    diagram_ = parse_diagram(bytes, name);
    type_texts_ = default_type_texts();
    select_type_texts(type_texts_);
    try {
        build_scene();
    } catch (const DiagramError& e) {
        throw DiagramError(name + ": " + e.what());  // a font without a face, as every command words it
    }
    text_ = opened_text_ = saved_text_ = text_now();
    saved_at_ = 0;
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

DiagramEditor::Text DiagramEditor::text_now() {
    scene_->settle();
    return std::make_shared<const std::string>(diagram_to_json(diagram_, file_.string()));
}

DiagramEditor::Text DiagramEditor::state_text() {
    if (!text_) text_ = std::make_shared<const std::string>(diagram_to_json(diagram_, file_.string()));
    return text_;
}

void DiagramEditor::push(Step step) {
    history_.resize(at_);  // a change after undo drops what redo would have brought back
    if (saved_at_ && *saved_at_ > at_) saved_at_.reset();
    history_.push_back(std::move(step));
    ++at_;
    if (history_.size() > kHistoryLimit) {
        history_.erase(history_.begin());
        --at_;
        if (saved_at_) saved_at_ = *saved_at_ == 0 ? std::optional<std::size_t>() : *saved_at_ - 1;
    }
}

bool DiagramEditor::record_snapshot(const Text& before) {
    Text after = text_now();
    text_ = after;
    if (*after == *before) return false;
    push(Step{before, std::move(after), nullptr});
    return true;
}

bool DiagramEditor::record_gesture() {
    // Until the scene is stored, the diagram holds the places from before the gesture.
    if (!scene_->changed()) return false;
    return record_snapshot(state_text());
}

bool DiagramEditor::commit() {
    const bool changed = record_gesture();
    fit_surface();
    return changed;
}

void DiagramEditor::restore_text(const Text& text) {
    // The shapes go before the diagram whose entities they hold.
    scene_.reset();
    diagram_ = parse_diagram(*text, file_.string());
    text_ = text;
    build_scene();
}

void DiagramEditor::apply_step(Step& step, bool forward) {
    if (!step.change) return restore_text(forward ? step.after : step.before);
    scene_.reset();
    if (forward) step.change->redo(diagram_);
    else step.change->undo(diagram_);
    text_.reset();
    build_scene();
}

void DiagramEditor::undo() {
    if (!can_undo()) return;
    apply_step(history_[at_ - 1], false);
    --at_;
}

void DiagramEditor::redo() {
    if (!can_redo()) return;
    apply_step(history_[at_], true);
    ++at_;
}

bool DiagramEditor::dirty() const {
    if (saved_at_ == at_) return false;
    // Changes that lead back to the text saved (a box dragged away and back) leave nothing to save.
    return !(text_ && saved_text_ && *text_ == *saved_text_);
}

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
auto DiagramEditor::snapshot_command(Change change) {
    record_gesture();  // a gesture not committed yet is a change of its own, kept whatever happens next
    const Text before = state_text();
    try {
        if constexpr (std::is_void_v<decltype(change())>) {
            change();
            record_snapshot(before);
        } else {
            auto result = change();
            record_snapshot(before);
            return result;
        }
    } catch (...) {
        // A command that failed halfway (Graphviz, a shape that cannot be built) may have left the
        // diagram and its shapes in any state: they are built again from the text before.
        restore_text(before);
        throw;
    }
}

template <typename Edit>
void DiagramEditor::change_model(Edit edit) {
    record_gesture();
    auto change = std::make_unique<ModelChange>();
    try {
        const Touched touched = edit(*change);
        scene_->rebind();
        // The rules every reader applies, with its messages: nothing the file could not hold stays. The
        // diagram met them before, so the items changed are the ones to check.
        check_diagram_items(diagram_, file_.string(), touched.entities, touched.relationships);
        scene_->settle();
    } catch (...) {
        // The shapes may stand halfway: they go, the parts done are taken back and the shapes built anew.
        scene_.reset();
        change->undo(diagram_);
        build_scene();
        throw;
    }
    if (change->empty()) return;
    push(Step{nullptr, nullptr, std::move(change)});
    text_.reset();
    fit_surface();
}

void DiagramEditor::set_zoom(int percent) {
    percent = std::clamp(percent, static_cast<int>(kMinEscala), static_cast<int>(kMaxEscala));
    if (percent == scene_->escala()) return;
    snapshot_command([&] {
        scene_->zoom(percent);
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
    return snapshot_command([&] {
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
        return true;
    });
}

void DiagramEditor::set_type_texts(const std::string& name) {
    // A view setting: no step, and the diagram stays as it is.
    record_gesture();
    try {
        select_type_texts(name);
        type_texts_ = name;
        rebuild();
    } catch (...) {
        scene_.reset();
        build_scene();
        throw;
    }
}

void DiagramEditor::set_style(DiagramStyle style, DiagramTheme theme) {
    if (diagram_.style == style && diagram_.theme == theme) return;
    snapshot_command([&] {
        diagram_.style = style;
        diagram_.theme = theme;
    });
}

void DiagramEditor::lay_out() {
    snapshot_command([&] {
        // As `kzr40 layout`: every entity is placed anew; the layout works on a scene at 100 %.
        for (DiagramEntity& entity : diagram_.entities) entity.shape.left = entity.shape.top = 0;
        scene_.reset();
        scene_ = std::make_unique<DiagramScene>(diagram_);
        lay_out_scene(*scene_, diagram_);
        scene_->zoom(diagram_.escala);
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
        if (exists_on_disk_ && !now) throw FileChangedError(name + ": the file was deleted since it was opened");
        if (!exists_on_disk_ && now) throw FileChangedError(name + ": there is a file of this name already, which the new diagram would replace");
        if (exists_on_disk_ && *now != disk_fingerprint_)
            throw FileChangedError(name + ": the file was changed by someone else since it was opened");
    }
    record_gesture();  // a gesture the window has not committed yet is saved too
    const Text text = state_text();
    // Every edit undone: the file gets back the very bytes it was opened with, not a rewrite of them.
    const bool as_opened = !opened_bytes_.empty() && *text == *opened_text_;
    const std::string bytes = as_opened ? opened_bytes_
                              : form_.kind == DiagramFileKind::Json ? *text
                                                                    : diagram_bytes(diagram_, form_, name);
    write_file_atomically(file_, bytes);
    saved_at_ = at_;
    saved_text_ = text;
    disk_fingerprint_ = fingerprint(bytes);
    exists_on_disk_ = true;
}

void DiagramEditor::save_as(const std::filesystem::path& file) {
    const std::string name = file.string();
    const DiagramForm form = form_for_name(name, form_);
    record_gesture();
    const Text text = state_text();
    const std::string bytes = form.kind == DiagramFileKind::Json ? *text : diagram_bytes(diagram_, form, name);
    write_file_atomically(file, bytes);
    file_ = file;
    form_ = form;
    saved_at_ = at_;
    saved_text_ = text;
    disk_fingerprint_ = fingerprint(bytes);
    exists_on_disk_ = true;
    opened_bytes_.clear();  // the bytes as opened belong to the other file
}

void DiagramEditor::export_picture(const std::filesystem::path& picture) const {
    const std::optional<PictureFormat> format = picture_format_of(picture);
    if (!format) throw std::runtime_error(picture.string() + ": the picture type follows the extension: .png, .svg or .pdf");
    std::string bytes;
    try {
        bytes = draw_picture(*scene_, *format, {diagram_.style, diagram_.theme});
    } catch (const std::runtime_error& e) {
        throw std::runtime_error(picture.string() + ": " + e.what());
    }
    write_file_atomically(picture, bytes);
}

// ---------------------------------------------------------------------------------------------
// Model edits

template <typename Edit>
void DiagramEditor::edit_model(Edit edit) {
    snapshot_command([&] {
        edit();  // may use the shapes, and takes them down before it removes an entity
        scene_.reset();
        // The rules every reader applies, with its messages: nothing the file could not hold stays.
        check_diagram(diagram_, file_.string());
        build_scene();
    });
}

std::string DiagramEditor::place_of_entity(std::size_t index) const {
    const std::string name = cp1252_to_utf8(diagram_.entities.at(index).entity->entidade().view());
    return file_.string() + ": entity \"" + name + "\" (#" + std::to_string(index + 1) + ")";
}

namespace {

std::int32_t at_100(int value, int escala) { return static_cast<std::int32_t>(static_cast<std::int64_t>(value) * 100 / escala); }

bool hit(const TControl& shape, TPoint at) {
    return shape.Visible() && at.X >= shape.Left() && at.X < shape.Left() + shape.Width() && at.Y >= shape.Top() &&
           at.Y < shape.Top() + shape.Height();
}

}  // namespace

std::size_t DiagramEditor::add_entity(TPoint at) {
    const std::size_t index = diagram_.entities.size();
    const int escala = scene_->escala();
    edit_model([&] {
        DiagramEntity entity = new_entity(diagram_);
        entity.shape.left = std::max(at_100(at.X, escala), 0);
        entity.shape.top = std::max(at_100(at.Y, escala), 0);
        diagram_.entities.push_back(std::move(entity));
    });
    scene_->entity(index).SetSelected(true);
    return index;
}

void DiagramEditor::set_entity(std::size_t index, const EntityFields& fields) {
    if (index >= diagram_.entities.size()) throw std::out_of_range("no entity #" + std::to_string(index + 1));
    const std::string place = place_of_entity(index);
    edit_model([&] {
        scene_.reset();  // the entity measures itself anew on the shapes built afterwards
        apply_entity_fields(diagram_.entities[index], fields, place);
    });
    scene_->entity(index).SetSelected(true);
}

std::size_t DiagramEditor::add_relationship(std::size_t from, std::size_t to, trelacao relacao) {
    if (from >= diagram_.entities.size() || to >= diagram_.entities.size())
        throw std::out_of_range("a relationship joins two entities of the diagram");
    const std::size_t index = diagram_.relationships.size();
    change_model([&](ModelChange& change) {
        DiagramRelationship r;
        r.name = unique_relationship_name(diagram_, from, to);
        r.from = from;
        r.to = to;
        r.relacao = relacao;
        // The end entity as it was, kept before its keys change (for a self-relationship it is also the start).
        change.applied(ModelChange::Table{to, copy_entity(*diagram_.entities[to].entity)});
        change.apply(diagram_, ModelChange::Slot<DiagramRelationship>{index, std::move(r)});
        add_foreign_keys(diagram_, index);
        scene_->insert_relationship(index);
        scene_->remeasure_entity(to);
        return Touched{{to}, {index}};
    });
    clear_selection();
    scene_->relationship(index).SetSelected(true);
    return index;
}

void DiagramEditor::set_relationship(std::size_t index, const RelationshipFields& fields) {
    if (index >= diagram_.relationships.size()) throw std::out_of_range("no relationship #" + std::to_string(index + 1));
    const std::string place = file_.string() + ": relationship \"" + cp1252_to_utf8(diagram_.relationships[index].name) + "\"";
    edit_model([&] {
        scene_.reset();
        apply_relationship_fields(diagram_, index, fields, place);
    });
    scene_->relationship(index).SetSelected(true);
}

std::size_t DiagramEditor::add_text(TPoint at, const std::string& text) {
    const std::size_t index = diagram_.texts.size();
    const int escala = scene_->escala();
    const std::string place = file_.string() + ": free text #" + std::to_string(index + 1);
    edit_model([&] {
        DiagramText box;
        box.text = to_diagram_text(text, place, "text");
        box.shape.left = std::max(at_100(at.X, escala), 0);
        box.shape.top = std::max(at_100(at.Y, escala), 0);
        box.font = std::make_unique<TFont>();
        box.font->SetName("Arial");
        diagram_.texts.push_back(std::move(box));
    });
    scene_->text(index).SetSelected(true);
    return index;
}

void DiagramEditor::set_text(std::size_t index, const std::string& text, const FontFields& font) {
    if (index >= diagram_.texts.size()) throw std::out_of_range("no free text #" + std::to_string(index + 1));
    const std::string place = file_.string() + ": free text #" + std::to_string(index + 1);
    edit_model([&] {
        const std::string converted = to_diagram_text(text, place, "text");
        scene_.reset();
        DiagramText& box = diagram_.texts[index];
        box.text = converted;
        if (!box.font) box.font = std::make_unique<TFont>();
        apply_font_fields(*box.font, font);
    });
    scene_->text(index).SetSelected(true);
}

void DiagramEditor::set_entity_caption(std::size_t index, const std::optional<std::string>& text, const FontFields* font) {
    if (index >= diagram_.entities.size()) throw std::out_of_range("no entity #" + std::to_string(index + 1));
    const std::string place = place_of_entity(index);
    edit_model([&] {
        std::optional<std::string> converted;
        if (text) converted = to_diagram_text(*text, place, "caption.text");
        scene_.reset();
        set_caption(diagram_.entities[index].caption, converted, font);
    });
    scene_->entity(index).SetSelected(true);
}

bool DiagramEditor::identifying(std::size_t index) const {
    const DiagramRelationship& r = diagram_.relationships.at(index);
    const StringList& attributes = diagram_.entities.at(r.to).entity->atributos();
    for (int i = 0; i < attributes.Count(); ++i)
        if (const auto* a = static_cast<const TAtributo*>(attributes.Objects(i));
            a && a->origem.view() == r.name && (a->chave & kChavePrimaria) != 0)
            return true;
    return false;
}

void DiagramEditor::remove_relationship(std::size_t index) {
    // The end entity loses the attributes whose `origem` names the relationship (when the start entity
    // has a key, as the model rules). When some of them are in the end entity's own key, that key
    // changes and the model's own removal passes it on to what the end entity's relationships brought;
    // otherwise the end entity's key stays as it was and so do the foreign keys that refer to it.
    const DiagramRelationship& r = diagram_.relationships[index];
    TEntidade& child = scene_->entity(r.to);
    const TEntidade& parent = scene_->entity(r.from);
    if (child.Modo() == tmodo::tmdelete) return;  // going itself
    if (identifying(index)) {
        RemoverEstrangeiras(child, parent, r.name);
        return;
    }
    bool parent_keyed = false;
    for (int i = 0; i < parent.atributos().Count(); ++i)
        if (const auto* a = static_cast<const TAtributo*>(parent.atributos().Objects(i)))
            parent_keyed = parent_keyed || (a->chave & kChavePrimaria) != 0;
    if (!parent_keyed) return;
    for (int i = 0; i < child.atributos().Count();) {
        const auto* a = static_cast<const TAtributo*>(child.atributos().Objects(i));
        if (a && a->origem.view() == r.name) child.ExcluirAtributo(i);
        else ++i;
    }
}

void DiagramEditor::delete_relationship(std::size_t index) {
    if (index >= diagram_.relationships.size()) throw std::out_of_range("no relationship #" + std::to_string(index + 1));
    delete_selection_of({}, {index}, {}, {}, {});
}

void DiagramEditor::delete_text(std::size_t index) {
    if (index >= diagram_.texts.size()) throw std::out_of_range("no free text #" + std::to_string(index + 1));
    delete_selection_of({}, {}, {index}, {}, {});
}

void DiagramEditor::delete_entity(std::size_t index) {
    if (index >= diagram_.entities.size()) throw std::out_of_range("no entity #" + std::to_string(index + 1));
    delete_selection_of({index}, {}, {}, {}, {});
}

bool DiagramEditor::delete_selection() {
    const std::vector<std::size_t> entities = selected_entities(), relationships = selected_relationships(),
                                   texts = selected_texts();
    std::vector<std::size_t> entity_captions = selected_entity_captions(), relationship_captions = selected_relationship_captions();
    if (entities.empty() && relationships.empty() && texts.empty() && entity_captions.empty() && relationship_captions.empty())
        return false;
    delete_selection_of(entities, relationships, texts, entity_captions, relationship_captions);
    return true;
}

void DiagramEditor::delete_selection_of(const std::vector<std::size_t>& entities, std::vector<std::size_t> relationships,
                                        const std::vector<std::size_t>& texts, const std::vector<std::size_t>& entity_captions,
                                        const std::vector<std::size_t>& relationship_captions) {
    const std::size_t entity_count = diagram_.entities.size();
    std::vector<bool> entity_goes(entity_count);
    for (std::size_t e : entities) entity_goes.at(e) = true;
    std::vector<bool> relationship_goes(diagram_.relationships.size());
    for (std::size_t r : relationships) relationship_goes.at(r) = true;
    for (std::size_t r = 0; r < diagram_.relationships.size(); ++r)
        if (entity_goes[diagram_.relationships[r].from] || entity_goes[diagram_.relationships[r].to]) relationship_goes[r] = true;
    std::vector<bool> text_goes(diagram_.texts.size());
    for (std::size_t t : texts) text_goes.at(t) = true;
    change_model([&](ModelChange& change) {
        // The entities that stay and may lose foreign keys: the end of each relationship that goes and,
        // where those keys were part of its own key, every entity below it, as the model's removal walks.
        std::vector<bool> touched(entity_count);
        std::vector<std::vector<std::size_t>> children;
        std::vector<std::size_t> walk;
        for (std::size_t r = 0; r < relationship_goes.size(); ++r) {
            if (!relationship_goes[r] || entity_goes[diagram_.relationships[r].to]) continue;
            const std::size_t end = diagram_.relationships[r].to;
            if (!identifying(r)) {
                touched[end] = true;
                continue;
            }
            walk.push_back(end);
            if (children.empty()) {
                children.resize(entity_count);
                for (const DiagramRelationship& other : diagram_.relationships) children[other.from].push_back(other.to);
            }
            while (!walk.empty()) {
                const std::size_t e = walk.back();
                walk.pop_back();
                if (touched[e] || entity_goes[e]) continue;
                touched[e] = true;
                walk.insert(walk.end(), children[e].begin(), children[e].end());
            }
        }
        for (std::size_t e = 0; e < entity_count; ++e)
            if (touched[e]) change.applied(ModelChange::Table{e, copy_entity(*diagram_.entities[e].entity)});
        // An entity being deleted is in mode tmdelete, as the host marks it: the removal of foreign keys
        // leaves it alone and passes nothing on through it. It keeps its own mode for an undo.
        std::vector<std::pair<std::size_t, tmodo>> modes;
        for (std::size_t e = 0; e < entity_count; ++e)
            if (entity_goes[e]) {
                modes.emplace_back(e, scene_->entity(e).Modo());
                scene_->entity(e).SetModo(tmodo::tmdelete);
            }
        for (std::size_t r = relationship_goes.size(); r-- > 0;)
            if (relationship_goes[r]) remove_relationship(r);
        for (const auto& [e, mode] : modes) scene_->entity(e).SetModo(mode);
        for (std::size_t e = 0; e < entity_count; ++e)
            if (touched[e]) scene_->remeasure_entity(e);
        // A caption selected on its own goes alone; one whose owner goes, goes with it.
        for (std::size_t e : entity_captions)
            if (!entity_goes.at(e) && diagram_.entities[e].caption) {
                scene_->remove_entity_caption(e);
                change.apply(diagram_, ModelChange::Caption{false, e, std::nullopt});
            }
        for (std::size_t r : relationship_captions)
            if (!relationship_goes.at(r) && diagram_.relationships[r].caption) {
                scene_->remove_relationship_caption(r);
                change.apply(diagram_, ModelChange::Caption{true, r, std::nullopt});
            }
        // The relationships go before the entities they joined.
        for (std::size_t r = relationship_goes.size(); r-- > 0;)
            if (relationship_goes[r]) {
                scene_->remove_relationship(r);
                change.apply(diagram_, ModelChange::Slot<DiagramRelationship>{r, std::nullopt});
            }
        for (std::size_t t = text_goes.size(); t-- > 0;)
            if (text_goes[t]) {
                scene_->remove_text(t);
                change.apply(diagram_, ModelChange::Slot<DiagramText>{t, std::nullopt});
            }
        for (std::size_t e = entity_count; e-- > 0;)
            if (entity_goes[e]) {
                scene_->remove_entity(e);
                change.apply(diagram_, ModelChange::Slot<DiagramEntity>{e, std::nullopt});
            }
        // The entities that lost keys, where they stand now.
        Touched changed;
        for (std::size_t e = 0, gone = 0; e < entity_count; ++e) {
            if (entity_goes[e]) ++gone;
            else if (touched[e]) changed.entities.push_back(e - gone);
        }
        return changed;
    });
    clear_selection();
}

std::vector<std::size_t> DiagramEditor::selected_entities() const {
    std::vector<std::size_t> result;
    for (std::size_t i = 0; i < scene_->entity_count(); ++i)
        if (scene_->entity(i).Selected()) result.push_back(i);
    return result;
}

std::vector<std::size_t> DiagramEditor::selected_relationships() const {
    std::vector<std::size_t> result;
    for (std::size_t i = 0; i < scene_->relationship_count(); ++i)
        if (scene_->relationship(i).Selected()) result.push_back(i);
    return result;
}

std::vector<std::size_t> DiagramEditor::selected_entity_captions() const {
    std::vector<std::size_t> result;
    for (std::size_t i = 0; i < scene_->entity_count(); ++i)
        if (const tnoxCaption* c = scene_->entity_caption(i); c && c->Selected()) result.push_back(i);
    return result;
}

std::vector<std::size_t> DiagramEditor::selected_relationship_captions() const {
    std::vector<std::size_t> result;
    for (std::size_t i = 0; i < scene_->relationship_count(); ++i)
        if (const tnoxCaption* c = scene_->relationship_caption(i); c && c->Selected()) result.push_back(i);
    return result;
}

std::vector<std::size_t> DiagramEditor::selected_texts() const {
    std::vector<std::size_t> result;
    for (std::size_t i = 0; i < scene_->text_count(); ++i)
        if (scene_->text(i).Selected()) result.push_back(i);
    return result;
}

void DiagramEditor::clear_selection() {
    // Only what is selected: a shape repaints itself whenever it is told, selected or not.
    const auto clear = [](TnoxCustomShape* shape) {
        if (shape && shape->Selected()) shape->SetSelected(false);
    };
    for (std::size_t i = 0; i < scene_->entity_count(); ++i) {
        clear(&scene_->entity(i));
        clear(scene_->entity_caption(i));
    }
    for (std::size_t i = 0; i < scene_->relationship_count(); ++i) {
        clear(&scene_->relationship(i));
        clear(scene_->relationship_caption(i));
    }
    for (std::size_t i = 0; i < scene_->text_count(); ++i) clear(&scene_->text(i));
}

std::optional<std::size_t> DiagramEditor::find_entity(const std::string& text) {
    const std::size_t count = diagram_.entities.size();
    if (count == 0 || text.empty()) return std::nullopt;
    const std::vector<std::size_t> selected = selected_entities();
    const std::size_t start = selected.empty() ? 0 : selected.front() + 1;
    std::string wanted;
    try {
        wanted = utf8_to_cp1252(text);
    } catch (const std::exception&) {
        return std::nullopt;  // a character no name can hold is in no name
    }
    for (std::size_t k = 0; k < count; ++k) {
        const std::size_t i = (start + k) % count;
        const TEntidade& e = *diagram_.entities[i].entity;
        if (contains_ignoring_case(e.entidade().str(), wanted) || contains_ignoring_case(e.tabela().str(), wanted)) {
            clear_selection();
            scene_->entity(i).SetSelected(true);
            return i;
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> DiagramEditor::entity_at(TPoint at) const {
    for (std::size_t i = scene_->entity_count(); i-- > 0;)
        if (hit(scene_->entity(i), at)) return i;
    return std::nullopt;
}

std::optional<std::size_t> DiagramEditor::text_at(TPoint at) const {
    for (std::size_t i = scene_->text_count(); i-- > 0;)
        if (hit(scene_->text(i), at)) return i;
    return std::nullopt;
}

std::optional<std::size_t> DiagramEditor::entity_caption_at(TPoint at) const {
    for (std::size_t i = scene_->entity_count(); i-- > 0;)
        if (const tnoxCaption* c = scene_->entity_caption(i); c && hit(*c, at)) return i;
    return std::nullopt;
}

std::optional<std::size_t> DiagramEditor::relationship_caption_at(TPoint at) const {
    for (std::size_t i = scene_->relationship_count(); i-- > 0;)
        if (const tnoxCaption* c = scene_->relationship_caption(i); c && hit(*c, at)) return i;
    return std::nullopt;
}

std::optional<std::size_t> DiagramEditor::relationship_at(TPoint at) const {
    for (std::size_t i = scene_->relationship_count(); i-- > 0;) {
        const TRelacionamento& r = scene_->relationship(i);
        if (!r.Visible()) continue;
        if (r.HitSegment(at.X - r.Left(), at.Y - r.Top()) != TRelacionamento::kNoSegment) return i;
    }
    return std::nullopt;
}
