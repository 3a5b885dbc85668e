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
        history_.push_back(text_now());
        saved_ = history_.back();
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
    if (history_.size() > kHistoryLimit) {
        history_.erase(history_.begin());
        history_dropped_ = true;
    }
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

void DiagramEditor::set_style(DiagramStyle style, DiagramTheme theme) {
    transact([&] {
        if (diagram_.style == style && diagram_.theme == theme) return;
        diagram_.style = style;
        diagram_.theme = theme;
        record();
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
        if (exists_on_disk_ && !now) throw FileChangedError(name + ": the file was deleted since it was opened");
        if (!exists_on_disk_ && now) throw FileChangedError(name + ": there is a file of this name already, which the new diagram would replace");
        if (exists_on_disk_ && *now != disk_fingerprint_)
            throw FileChangedError(name + ": the file was changed by someone else since it was opened");
    }
    record();  // a gesture the window has not committed yet is saved too
    // The diagram stands as the current snapshot says: record() stored it, restore() read it.
    const std::string& text = history_[at_];
    // Every edit undone: the file gets back the very bytes it was opened with, not a rewrite of them.
    const bool as_opened = !opened_bytes_.empty() && text == history_.front() && !history_dropped_;
    const std::string bytes = as_opened ? opened_bytes_
                              : form_.kind == DiagramFileKind::Json ? text
                                                                    : diagram_bytes(diagram_, form_, name);
    write_file_atomically(file_, bytes);
    saved_ = text;
    disk_fingerprint_ = fingerprint(bytes);
    exists_on_disk_ = true;
}

void DiagramEditor::save_as(const std::filesystem::path& file) {
    const std::string name = file.string();
    const DiagramForm form = form_for_name(name, form_);
    record();
    const std::string& text = history_[at_];
    const std::string bytes = form.kind == DiagramFileKind::Json ? text : diagram_bytes(diagram_, form, name);
    write_file_atomically(file, bytes);
    file_ = file;
    form_ = form;
    saved_ = text;
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
    transact([&] {
        scene_->settle();  // the places the shapes have now go into the diagram first
        edit();            // may use the shapes, and takes them down before it removes an entity
        scene_.reset();
        // The rules every reader applies, with its messages: nothing the file could not hold stays.
        check_diagram(diagram_, file_.string());
        build_scene();
        record();
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
    edit_model([&] {
        scene_.reset();
        DiagramRelationship r;
        r.name = unique_relationship_name(diagram_, from, to);
        r.from = from;
        r.to = to;
        r.relacao = relacao;
        diagram_.relationships.push_back(std::move(r));
        add_foreign_keys(diagram_, index);
    });
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

void DiagramEditor::remove_relationship(std::size_t index) {
    // The end entity loses the attributes whose `origem` names the relationship (when the start entity
    // has a key, as the model rules). When some of them are in the end entity's own key, that key
    // changes and the model's own removal passes it on to what the end entity's relationships brought;
    // otherwise the end entity's key stays as it was and so do the foreign keys that refer to it.
    const DiagramRelationship& r = diagram_.relationships[index];
    TEntidade& child = scene_->entity(r.to);
    const TEntidade& parent = scene_->entity(r.from);
    if (child.Modo() == tmodo::tmdelete) return;  // going itself
    bool identifying = false, parent_keyed = false;
    for (int i = 0; i < child.atributos().Count(); ++i)
        if (const auto* a = static_cast<const TAtributo*>(child.atributos().Objects(i)))
            identifying = identifying || (a->origem.view() == r.name && (a->chave & kChavePrimaria) != 0);
    for (int i = 0; i < parent.atributos().Count(); ++i)
        if (const auto* a = static_cast<const TAtributo*>(parent.atributos().Objects(i)))
            parent_keyed = parent_keyed || (a->chave & kChavePrimaria) != 0;
    if (identifying) {
        RemoverEstrangeiras(child, parent, r.name);
        return;
    }
    if (!parent_keyed) return;
    for (int i = 0; i < child.atributos().Count();) {
        const auto* a = static_cast<const TAtributo*>(child.atributos().Objects(i));
        if (a && a->origem.view() == r.name) child.ExcluirAtributo(i);
        else ++i;
    }
}

void DiagramEditor::delete_relationship(std::size_t index) {
    if (index >= diagram_.relationships.size()) throw std::out_of_range("no relationship #" + std::to_string(index + 1));
    edit_model([&] {
        remove_relationship(index);
        scene_.reset();
        diagram_.relationships.erase(diagram_.relationships.begin() + static_cast<std::ptrdiff_t>(index));
    });
}

void DiagramEditor::delete_text(std::size_t index) {
    if (index >= diagram_.texts.size()) throw std::out_of_range("no free text #" + std::to_string(index + 1));
    edit_model([&] {
        scene_.reset();
        diagram_.texts.erase(diagram_.texts.begin() + static_cast<std::ptrdiff_t>(index));
    });
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
    std::vector<bool> entity_goes(diagram_.entities.size());
    for (std::size_t e : entities) entity_goes.at(e) = true;
    std::vector<bool> relationship_goes(diagram_.relationships.size());
    for (std::size_t r : relationships) relationship_goes.at(r) = true;
    for (std::size_t r = 0; r < diagram_.relationships.size(); ++r)
        if (entity_goes[diagram_.relationships[r].from] || entity_goes[diagram_.relationships[r].to]) relationship_goes[r] = true;
    std::vector<bool> text_goes(diagram_.texts.size());
    for (std::size_t t : texts) text_goes.at(t) = true;
    edit_model([&] {
        // An entity being deleted is in mode tmdelete, as the host marks it: the removal of foreign keys
        // leaves it alone and passes nothing on through it.
        for (std::size_t e = 0; e < entity_goes.size(); ++e)
            if (entity_goes[e]) scene_->entity(e).SetModo(tmodo::tmdelete);
        for (std::size_t r = relationship_goes.size(); r-- > 0;)
            if (relationship_goes[r]) remove_relationship(r);
        scene_.reset();
        // A caption selected on its own goes alone; one whose owner goes, goes with it anyway.
        for (std::size_t e : entity_captions) diagram_.entities.at(e).caption.reset();
        for (std::size_t r : relationship_captions) diagram_.relationships.at(r).caption.reset();
        std::vector<std::size_t> new_index(diagram_.entities.size());
        std::vector<DiagramEntity> kept;
        for (std::size_t e = 0; e < diagram_.entities.size(); ++e) {
            new_index[e] = kept.size();
            if (!entity_goes[e]) kept.push_back(std::move(diagram_.entities[e]));
        }
        std::vector<DiagramRelationship> kept_relationships;
        for (std::size_t r = 0; r < diagram_.relationships.size(); ++r) {
            if (relationship_goes[r]) continue;
            DiagramRelationship& rel = diagram_.relationships[r];
            rel.from = new_index[rel.from];
            rel.to = new_index[rel.to];
            kept_relationships.push_back(std::move(rel));
        }
        std::vector<DiagramText> kept_texts;
        for (std::size_t t = 0; t < diagram_.texts.size(); ++t)
            if (!text_goes[t]) kept_texts.push_back(std::move(diagram_.texts[t]));
        // The relationships go before the entities they joined.
        diagram_.relationships = std::move(kept_relationships);
        diagram_.texts = std::move(kept_texts);
        diagram_.entities = std::move(kept);
    });
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
    for (std::size_t i = 0; i < scene_->entity_count(); ++i) {
        scene_->entity(i).SetSelected(false);
        if (tnoxCaption* c = scene_->entity_caption(i)) c->SetSelected(false);
    }
    for (std::size_t i = 0; i < scene_->relationship_count(); ++i) {
        scene_->relationship(i).SetSelected(false);
        if (tnoxCaption* c = scene_->relationship_caption(i)) c->SetSelected(false);
    }
    for (std::size_t i = 0; i < scene_->text_count(); ++i) scene_->text(i).SetSelected(false);
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
