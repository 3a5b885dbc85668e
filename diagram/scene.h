#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "diagram/diagram.h"
#include "platform/components/component.h"
#include "platform/geometry.h"

class TDiagramSurface;
class TRelacionamento;
class Ttexto;
class tnoxCaption;
class TnoxCustomShape;
class TnoxTextShape;

// The shapes of a diagram on a diagram surface, as the diagram's editor would show them: the entities
// (boxes sized by their content unless the file fixes a size), their captions, the relationships with
// their marks and captions, and the free texts. The surface sits inside a window of its own, which is
// what lets the entities measure themselves.
//
// The entities stay the diagram's: the scene places them on its surface and takes them off again when
// it goes, so `diagram` must outlive the scene. Everything else (surface, relationships, texts,
// captions) belongs to the scene. Building the scene may change the entities' display mode (`mode`);
// it never changes their attributes: when the scene goes, its relationships let go of their entities
// before they are freed, so the foreign keys they brought stay where the file put them.
class DiagramScene {
public:
    struct Options {
        std::optional<tmodo> mode;  // every entity's Modo, instead of the file's
    };

    // Builds every shape at 100 %; zoom() applies a zoom afterwards. A shape that cannot be built (a
    // font without a face to measure in) throws DiagramError naming the item: entity "Pedido" (#3): ...
    explicit DiagramScene(Diagram& diagram, const Options& options);
    explicit DiagramScene(Diagram& diagram) : DiagramScene(diagram, Options{}) {}
    ~DiagramScene();
    DiagramScene(const DiagramScene&) = delete;
    DiagramScene& operator=(const DiagramScene&) = delete;

    TDiagramSurface& surface() { return *surface_; }
    const Diagram& diagram() const { return diagram_; }
    int escala() const { return escala_; }
    // Sets the zoom of every shape (kMinEscala..kMaxEscala): positions, fixed sizes and fonts scale,
    // boxes sized by their content are measured again, the lines are routed anew and the captions placed.
    void zoom(int percent);

    // The shapes, in the diagram's order.
    TEntidade& entity(std::size_t index) const { return *entities_.at(index).shape; }
    TRelacionamento& relationship(std::size_t index) const { return *relationships_.at(index).shape; }
    Ttexto& text(std::size_t index) const { return *texts_.at(index).shape; }
    // An entity's or relationship's caption; null when it has none.
    tnoxCaption* entity_caption(std::size_t index) const { return entities_.at(index).caption.shape; }
    tnoxCaption* relationship_caption(std::size_t index) const { return relationships_.at(index).caption.shape; }
    std::size_t entity_count() const { return entities_.size(); }
    std::size_t relationship_count() const { return relationships_.size(); }
    std::size_t text_count() const { return texts_.size(); }

    // Moves entities and free texts to positions at 100 % (one per shape, in order; none leaves a shape
    // where it is), then routes the lines and places the owner-placed captions again.
    void arrange(const std::vector<std::optional<TPoint>>& entities, const std::vector<std::optional<TPoint>>& texts);

    // Puts a relationship's caption at a place of its own, at 100 %, as if the file gave it: it stays
    // there through zooms and is written back by store().
    void place_relationship_caption(std::size_t index, TPoint at_100);
    // The same for an entity's caption.
    void place_entity_caption(std::size_t index, TPoint at_100);
    // The smallest rectangle holding every visible shape, in surface coordinates; empty without shapes.
    TRect bounds() const;

    // Changes of the diagram made in place, at the current zoom, so that an edit costs what it touches
    // rather than a new scene. The caller changes the diagram's lists to match (an item that leaves
    // goes from the scene first, one that comes is in the diagram first) and calls rebind() when done.
    //
    // diagram().relationships[index] is new there: its line is made, connected and routed.
    void insert_relationship(std::size_t index);
    // Relationship `index`'s line and caption go; the line lets go of its entities first, so the foreign
    // keys it brought stay where they are.
    void remove_relationship(std::size_t index);
    // Entity `index` leaves the surface with its caption; no line may join it any more.
    void remove_entity(std::size_t index);
    void remove_text(std::size_t index);
    void remove_entity_caption(std::size_t index);
    void remove_relationship_caption(std::size_t index);
    // Entity `index`'s content changed (its attributes): the box measures itself again and its lines
    // and the captions around it follow.
    void remeasure_entity(std::size_t index);
    // After the diagram's lists changed: the captions are found again in the items that hold them. The
    // surface keeps its size (its owner sizes it to the shapes and the view).
    void rebind();
    // Whether store() would write anything the diagram does not hold yet.
    bool changed() const;

    // Writes the scene back into its diagram: positions at 100 %, the sizes the file fixes, the ends'
    // perc, meioperc and the zoom. A shape the scene has not seen moved keeps its values exactly (a
    // connection reads its perc back one lower for most values, so rereading it would drift).
    void store() const;
    // store(), and what was stored becomes the shapes' placement: later zooms and stores start from it
    // (an editor settles after each change, so a resized box keeps its size through a zoom).
    void settle();

private:
    // What the scene gave a shape, so that store() can tell the file's values from changes.
    struct Placed {
        ShapeBounds at_100;  // as in the file, updated by arrange()
        TRect bounds;        // where the scene last put it
    };
    struct CaptionItem {
        tnoxCaption* shape = nullptr;
        DiagramCaption* source = nullptr;
        Placed placed;
    };
    struct EntityItem {
        TEntidade* shape;
        Placed placed;
        CaptionItem caption;
    };
    struct RelationshipItem {
        TRelacionamento* shape;
        int start_perc_read;  // perc() of each end as the scene set it
        int end_perc_read;
        CaptionItem caption;
    };
    struct TextItem {
        Ttexto* shape;
        Placed placed;
    };

    void build(const Options& options);
    void add_entity(DiagramEntity& source, const Options& options);
    void add_relationship(DiagramRelationship& source);
    // The line of `source`, connected at 100 %; freed again when anything fails.
    RelationshipItem make_relationship(DiagramRelationship& source);
    RelationshipItem connect_relationship(TRelacionamento& shape, DiagramRelationship& source);
    void route(RelationshipItem& item);
    void remove_caption(TnoxCustomShape& owner, CaptionItem& caption);
    void add_text(DiagramText& source);
    CaptionItem make_caption(DiagramCaption& source);
    // Text, font and autosize of a text box; its size at 100 % when the file fixes one.
    void fill_text_box(TnoxTextShape& shape, const DiagramTextBox& source) const;
    void scale_text_box(TnoxTextShape& shape, const Placed& placed) const;
    void place_captions();
    void place_caption(TnoxCustomShape& owner, CaptionItem& caption);
    void place_caption_at(TnoxCustomShape& owner, CaptionItem& caption, TPoint at_100);
    void route();
    void record_placements();
    // The scene's surface coordinate of a value at 100 %, and back.
    int to_scene(std::int32_t value) const;
    std::int32_t to_100(int value) const;
    ShapeBounds stored_bounds(const TControl& shape, const Placed& placed) const;
    void tear_down() noexcept;

    Diagram& diagram_;
    TComponent owner_{nullptr, TComponentClass()};
    TDiagramSurface* window_ = nullptr;
    TDiagramSurface* surface_ = nullptr;
    std::vector<EntityItem> entities_;
    std::vector<RelationshipItem> relationships_;
    std::vector<TextItem> texts_;
    int escala_ = 100;
};
