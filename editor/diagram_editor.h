#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "diagram/diagram.h"
#include "diagram/scene.h"
#include "diagram/diagram_form.h"
#include "editor/model_change.h"
#include "editor/model_edits.h"

class TDiagramSurface;

// The document behind `kzr40 edit`: a diagram file, its scene of shapes, the history of its changes
// and its saving. The window (editor/) only hands mouse events to the surface and calls these
// commands, so everything here runs without a display.
//
// History: each completed change is one step. A mouse gesture that moved something, a zoom, a display
// mode, a layout or a dialog's values keep the diagram's text before and after (the written text, so
// that it holds exactly what a save writes and no state of the shapes leaks between steps); adding a
// relationship and deleting keep only the items they changed (editor/model_change.h), change the shapes
// in place and so cost what they touch on a large diagram. Undo and redo build the shapes anew.

// Saving would overwrite a file that someone else changed (or deleted) since it was read or saved.
class FileChangedError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class DiagramEditor {
public:
    // The zoom stops that Ctrl + wheel and Ctrl + plus / minus step through, in percent.
    static constexpr int kZoomStops[] = {10, 25, 33, 50, 67, 75, 90, 100, 110, 125, 150, 175,
                                         200, 250, 300, 400, 500, 600, 800, 1000};
    // The oldest steps go beyond this many: a text of a diagram of 1,000 entities takes about 2 MB.
    static constexpr std::size_t kHistoryLimit = 100;
    // Room kept right of and below the shapes, so that a shape can be dragged beyond the others.
    static constexpr int kRoom = 400;

    // Reads `file` (JSON or a stored diagram). A diagram that places no entity is laid out (an undoable change). Throws
    // DiagramError naming the file and the problem.
    explicit DiagramEditor(std::filesystem::path file);
    // A path that does not exist, in a folder that does, opens an empty diagram that saves there, in the form its extension
    // asks for (".json": JSON, otherwise a stored diagram as `kzr40 store` writes it).
    // `replace`: an empty diagram whatever the path holds (File ▸ New); Save asks before it writes
    // over a file there.
    enum class Missing { refuse, empty, replace };
    DiagramEditor(std::filesystem::path file, Missing missing);
    ~DiagramEditor();
    DiagramEditor(const DiagramEditor&) = delete;
    DiagramEditor& operator=(const DiagramEditor&) = delete;

    const std::filesystem::path& file() const { return file_; }
    const Diagram& diagram() const { return diagram_; }
    DiagramScene& scene() { return *scene_; }
    // The surface the window shows. It is replaced by undo, redo, display modes, type texts and
    // layout: ask for it again after each command.
    TDiagramSurface& surface() { return scene_->surface(); }

    // Unsaved changes; the title: "vendas.json — KZR40", with "*" in front while unsaved.
    bool dirty() const;
    std::string title() const;

    // The least size of the surface: the window's visible area, so a shape can be dragged anywhere
    // in it. The surface is at least the shapes' extent plus kRoom.
    void set_viewport(int width, int height);

    // Records the shapes' state once a mouse gesture has ended; returns whether anything changed.
    bool commit();

    int zoom() const { return scene_->escala(); }
    // Zooms every shape (kMinEscala..kMaxEscala); a change of its own.
    void set_zoom(int percent);
    // To the next stop up or down (steps > 0 in, < 0 out), within the limits.
    void zoom_by(int steps);

    // The display mode of every entity, or of the selected ones only (nothing happens when none is
    // selected); returns whether any entity changed. The selection stays.
    bool set_mode(tmodo mode, bool selected_only);
    // Which generator's type texts the boxes show (diagram/type_texts.h); a view setting, not a change of
    // the diagram, and not saved.
    void set_type_texts(const std::string& name);
    // The style pictures and the window draw the diagram in; kept in the diagram (a change to save).
    void set_style(DiagramStyle style, DiagramTheme theme);
    const std::string& type_texts() const { return type_texts_; }
    // Places every entity anew with the engine of `kzr40 layout`. Every command that fails (throws)
    // leaves the diagram as the last snapshot has it.
    void lay_out();

    bool can_undo() const { return at_ > 0; }
    bool can_redo() const { return at_ < history_.size(); }
    void undo();
    void redo();

    // Model edits. Each is one undo step; each checks the diagram by the rules a file reader applies,
    // and one that throws (DiagramError naming the file, the item and the key) leaves the diagram as
    // it was. Points are surface coordinates at the current zoom. The shapes are built anew: ask for
    // surface() again afterwards. What a command adds or edits is selected.
    std::size_t add_entity(TPoint at);
    EntityFields entity(std::size_t index) const { return entity_fields(diagram_.entities.at(index)); }
    void set_entity(std::size_t index, const EntityFields& fields);
    // A new relationship from `from` to `to` (the same entity: a self-relationship) with a unique
    // name and the start entity's key added to the end entity as foreign-key attributes.
    std::size_t add_relationship(std::size_t from, std::size_t to, trelacao relacao = trelacao::tr1xn);
    RelationshipFields relationship(std::size_t index) const { return relationship_fields(diagram_.relationships.at(index)); }
    void set_relationship(std::size_t index, const RelationshipFields& fields);
    std::size_t add_text(TPoint at, const std::string& text);
    // The free text's text (UTF-8, may hold line ends) and font.
    void set_text(std::size_t index, const std::string& text, const FontFields& font);
    // An entity's caption and, unless null, its font: no text removes it.
    void set_entity_caption(std::size_t index, const std::optional<std::string>& text, const FontFields* font = nullptr);
    // Deleting an entity deletes its relationships (with the foreign keys they brought) and its caption;
    // deleting a relationship removes its foreign keys from the end entity.
    void delete_entity(std::size_t index);
    void delete_relationship(std::size_t index);
    void delete_text(std::size_t index);
    // The selected entities, relationships, free texts and captions; returns whether anything was
    // selected. A caption selected without its owner goes alone.
    bool delete_selection();

    // Selection (not a change): what is selected, cleared, found.
    std::vector<std::size_t> selected_entities() const;
    std::vector<std::size_t> selected_relationships() const;
    std::vector<std::size_t> selected_texts() const;
    // The entities and relationships whose caption is selected.
    std::vector<std::size_t> selected_entity_captions() const;
    std::vector<std::size_t> selected_relationship_captions() const;
    void clear_selection();
    // The first entity after the selected one whose name or table contains `text` (letter case
    // ignored), selected alone; none when no entity matches.
    std::optional<std::size_t> find_entity(const std::string& text);
    // The shape under a surface point, entities before free texts before relationships.
    std::optional<std::size_t> entity_at(TPoint at) const;
    std::optional<std::size_t> relationship_at(TPoint at) const;
    std::optional<std::size_t> text_at(TPoint at) const;
    // The entity or relationship whose caption is under a surface point.
    std::optional<std::size_t> entity_caption_at(TPoint at) const;
    std::optional<std::size_t> relationship_caption_at(TPoint at) const;

    // Saves to `file` instead, in the form its extension asks for, and edits that file from now on.
    void save_as(const std::filesystem::path& file);

    // Writes the diagram to its file in the format it was read from (JSON, or a stored diagram, binary or
    // text with the line ends it had), as a whole or not at all. Throws
    // FileChangedError when the file on disk is no longer what was read or last saved (unless
    // `overwrite_changes`), DiagramError or std::runtime_error naming the file when it cannot be
    // written; the diagram in memory stays as it is in every case.
    void save(bool overwrite_changes = false);
    // The picture of the diagram at its zoom; the extension gives the type (.png, .svg, .pdf).
    void export_picture(const std::filesystem::path& picture) const;

private:
    // One undo step: the whole diagram's text before and after, or the items a model edit changed.
    struct Step {
        std::shared_ptr<const std::string> before, after;
        std::unique_ptr<ModelChange> change;
    };
    using Text = std::shared_ptr<const std::string>;

    // Runs a command that keeps the text before and after; when it throws, the diagram and its shapes
    // are rebuilt from the text before.
    template <typename Change>
    auto snapshot_command(Change change);
    // The entities and relationships an edit changed or added, where they stand after it.
    struct Touched {
        std::vector<std::size_t> entities, relationships;
    };
    // Runs a model edit that changes the diagram and the shapes in place, recording its parts and
    // returning what it touched; when it throws, the parts are taken back and the shapes built anew.
    template <typename Edit>
    void change_model(Edit edit);
    void build_scene();
    // The scene built anew from the diagram, keeping which entities and texts were selected.
    void rebuild();
    void restore_text(const Text& text);
    // The diagram as a step leaves it (`forward`, as redo takes it) or as it found it (as undo does).
    void apply_step(Step& step, bool forward);
    // A gesture the scene holds and the diagram not yet becomes a step; returns whether there was one.
    bool record_gesture();
    bool record_snapshot(const Text& before);
    void push(Step step);
    // Runs a model edit on the diagram with the shapes taken down, checks it and builds the shapes.
    template <typename Edit>
    void edit_model(Edit edit);
    std::string place_of_entity(std::size_t index) const;
    // Whether the foreign keys relationship `index` brought are part of its end entity's key.
    bool identifying(std::size_t index) const;
    void remove_relationship(std::size_t index);
    void delete_selection_of(const std::vector<std::size_t>& entities, std::vector<std::size_t> relationships,
                             const std::vector<std::size_t>& texts, const std::vector<std::size_t>& entity_captions,
                             const std::vector<std::size_t>& relationship_captions);
    void fit_surface();
    // The text of the diagram as the shapes have it now, and as the diagram holds it (known or written).
    Text text_now();
    Text state_text();
    std::optional<std::uint64_t> fingerprint_on_disk() const;

    std::filesystem::path file_;
    DiagramForm form_;  // what save writes: the form the file was read in
    Diagram diagram_;
    std::unique_ptr<DiagramScene> scene_;
    std::string type_texts_;
    std::vector<Step> history_;
    std::size_t at_ = 0;                 // steps done
    Text text_;                          // the diagram's text as the last step left it, once known
    Text opened_text_;                   // as opened: saved as the bytes read while the text is this
    std::optional<std::size_t> saved_at_;  // the step the file holds, while it is in the history
    Text saved_text_;
    std::string opened_bytes_;           // the file as read
    bool exists_on_disk_ = true;         // false for a new diagram not saved yet
    std::uint64_t disk_fingerprint_;  // of the file's bytes when read or last saved
    int viewport_width_ = 0;
    int viewport_height_ = 0;
};
