// Building the shapes of a diagram, and writing what they show back into it.

#include "diagram/scene.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "platform/utf8_cp1252.h"
#include "model/relacionamento.h"
#include "model/texto.h"
#include "platform/components/diagram_surface.h"
#include "platform/graphics/color.h"
#include "platform/graphics/text_metrics.h"
#include "platform/identifier.h"
#include "plugin/registros.h"
#include "shapes/custom_shape.h"
#include "shapes/text_shape.h"

namespace {

bool fixes_size(const ShapeBounds& b) { return b.width != 0 || b.height != 0; }

// A font or colour the canvas cannot draw with is refused while the scene is built, where the error
// can name the item and key, rather than halfway through a painting: a font only drawn (the foreign
// keys' rows, a text box that does not fit itself to its text) is never measured before.
void check_drawable(TColor colour, const std::string& key) {
    try {
        ColorToRRGGBB(colour);
    } catch (const EInvalidColor& e) {
        throw std::runtime_error("\"" + key + "\": " + e.what());
    }
}

void check_drawable(const TFont& font, const std::string& key) {
    check_drawable(font.Color(), key + ".color");
    try {
        TextMetrics::Shared().Measure(font);
    } catch (const std::exception& e) {
        throw std::runtime_error("\"" + key + "\": " + e.what());
    }
}

void check_drawable(const DiagramTextBox& box, const std::string& font_key) {
    if (box.font) check_drawable(*box.font, font_key);
}

bool has_foreign_key(const TEntidade& e) {
    for (int i = 0; i < e.atributos().Count(); ++i)
        if (const auto* record = static_cast<const TAtributo*>(e.atributos().Objects(i));
            record && (record->chave & kChaveEstrangeira) != 0)
            return true;
    return false;
}

}  // namespace

DiagramScene::DiagramScene(Diagram& diagram, const Options& options) : diagram_(diagram) {
    try {
        build(options);
    } catch (...) {
        tear_down();
        throw;
    }
}

DiagramScene::~DiagramScene() { tear_down(); }

void DiagramScene::build(const Options& options) {
    window_ = new TDiagramSurface(&owner_);
    surface_ = new TDiagramSurface(&owner_);
    surface_->SetParent(window_);
    entities_.reserve(diagram_.entities.size());
    relationships_.reserve(diagram_.relationships.size());
    texts_.reserve(diagram_.texts.size());
    // A shape that cannot measure itself (a font without a face) or draw itself (a colour the canvas
    // does not have) names the item it stands for.
    const auto each = [](auto& items, const auto& describe, const auto& add) {
        for (std::size_t i = 0; i < items.size(); ++i) {
            try {
                add(items[i]);
            } catch (const std::exception& e) {
                throw DiagramError(describe(items[i]) + " (#" + std::to_string(i + 1) + "): " + e.what());
            }
        }
    };
    each(
        diagram_.entities,
        [](const DiagramEntity& e) { return "entity \"" + cp1252_to_utf8(e.entity->entidade().view()) + "\""; },
        [&](DiagramEntity& e) { add_entity(e, options); });
    each(diagram_.texts, [](const DiagramText&) { return std::string("free text"); }, [&](DiagramText& t) { add_text(t); });
    each(
        diagram_.relationships, [](const DiagramRelationship& r) { return "relationship \"" + cp1252_to_utf8(r.name) + "\""; },
        [&](DiagramRelationship& r) { add_relationship(r); });
    route();
    place_captions();
    record_placements();
}

void DiagramScene::add_entity(DiagramEntity& source, const Options& options) {
    TEntidade& e = *source.entity;
    check_drawable(e.FonteTitulo(), "FonteTitulo");
    check_drawable(e.FonteAtributos(), "FonteAtributos");
    if (has_foreign_key(e)) check_drawable(e.FonteExtrangeiras(), "FonteExtrangeiras");
    if (source.caption) check_drawable(*source.caption, "caption.font");
    // An entity that stood in an earlier scene comes back at 100 %.
    e.SetSelected(false);
    e.SetEscala(100);
    entities_.push_back({&e, {source.shape, {}}, {}});
    e.SetParent(surface_);
    if (options.mode) e.SetModo(*options.mode);
    e.AjustarTamanho(nullptr);
    const ShapeBounds& b = source.shape;
    e.SetBounds(b.left, b.top, b.width != 0 ? b.width : e.Width(), b.height != 0 ? b.height : e.Height());
    if (source.caption) entities_.back().caption = make_caption(*source.caption);
}

void DiagramScene::add_text(DiagramText& source) {
    check_drawable(source, "font");
    auto* shape = new Ttexto(&owner_);
    texts_.push_back({shape, {source.shape, {}}});
    shape->SetParent(surface_);
    fill_text_box(*shape, source);
    shape->SetBounds(source.shape.left, source.shape.top, shape->Width(), shape->Height());
    scale_text_box(*shape, texts_.back().placed);
}

void DiagramScene::add_relationship(DiagramRelationship& source) { relationships_.push_back(make_relationship(source)); }

DiagramScene::RelationshipItem DiagramScene::make_relationship(DiagramRelationship& source) {
    check_drawable(source.line_colour, "LineColour");
    if (source.caption) check_drawable(*source.caption, "caption.font");
    auto* shape = new TRelacionamento(&owner_);
    try {
        return connect_relationship(*shape, source);
    } catch (...) {
        shape->GetConnection(1)->SetShape(nullptr);
        shape->GetConnection(2)->SetShape(nullptr);
        delete shape;
        throw;
    }
}

DiagramScene::RelationshipItem DiagramScene::connect_relationship(TRelacionamento& line, DiagramRelationship& source) {
    TRelacionamento* shape = &line;
    RelationshipItem item{shape, 0, 0, {}};
    // The foreign keys a relationship brought name it in `origem` by its component name, so it takes
    // the file's name where a component may carry it; otherwise it keeps the name it was given.
    if (IsValidIdent(source.name) && !owner_.FindComponent(source.name)) shape->SetName(source.name);
    shape->SetParent(surface_);
    shape->SetRelacao(source.relacao);
    shape->SetChave(source.chave);
    shape->Setmeioperc(source.meioperc);
    shape->LineColour = source.line_colour;
    shape->SetLineWidth(source.line_width);
    for (const std::string& line : source.descricao) shape->descricao().Add(line.c_str());
    // Connect copies an end's shape, side and offset but not its perc: the ends keep theirs.
    TnoxConnection* start = shape->GetConnection(1);
    TnoxConnection* end = shape->GetConnection(2);
    start->SetPerc(source.start_perc);
    end->SetPerc(source.end_perc);
    item.start_perc_read = start->perc();
    item.end_perc_read = end->perc();
    TnoxConnection from, to;
    from.SetShape(entities_.at(source.from).shape);
    to.SetShape(entities_.at(source.to).shape);
    shape->Connect(&from, &to);
    if (source.caption) item.caption = make_caption(*source.caption);
    return item;
}

DiagramScene::CaptionItem DiagramScene::make_caption(DiagramCaption& source) {
    auto* shape = new tnoxCaption(&owner_);
    CaptionItem item{shape, &source, {source.shape, {}}};
    shape->SetParent(surface_);
    fill_text_box(*shape, source);
    return item;
}

void DiagramScene::fill_text_box(TnoxTextShape& shape, const DiagramTextBox& source) const {
    if (source.font) shape.SetFont(*source.font);
    shape.SetAutosize(source.autosize);
    shape.SetText(source.text);
}

void DiagramScene::scale_text_box(TnoxTextShape& shape, const Placed& placed) const {
    shape.SetEscala(escala_);
    shape.FitText();
    // The fit leaves the line after the last line feed out of the width and wraps it inside the box
    // instead, which cuts its last words off when it is the widest ("Sistema de vendas\nmodelo de
    // exemplo"): the box is widened to hold it. FitText left the scaled font on the canvas.
    if (const std::size_t feed = shape.Text().rfind('\n'); shape.Autosize() && feed != std::string::npos) {
        const int last = shape.Canvas().TextWidth(std::string_view(shape.Text()).substr(feed + 1));
        if (last > shape.Width()) shape.SetBounds(shape.Left(), shape.Top(), last, shape.Height());
    }
    const ShapeBounds& b = placed.at_100;
    if (fixes_size(b))
        shape.SetBounds(shape.Left(), shape.Top(), b.width != 0 ? to_scene(b.width) : shape.Width(),
                        b.height != 0 ? to_scene(b.height) : shape.Height());
}

void DiagramScene::zoom(int percent) {
    escala_ = std::clamp(percent, kMinEscala, kMaxEscala);
    // A shape still where the scene put it is placed from its values at 100 %, so that zooming back and
    // forth never drifts; one moved since keeps the shapes' own rescaling of its place.
    const auto place = [&](TControl& shape, const Placed& placed, bool unmoved) {
        if (unmoved) shape.SetBounds(to_scene(placed.at_100.left), to_scene(placed.at_100.top), shape.Width(), shape.Height());
    };
    for (EntityItem& item : entities_) {
        TEntidade& e = *item.shape;
        const bool unmoved = e.BoundsRect() == item.placed.bounds;
        e.SetEscala(escala_);
        const ShapeBounds& b = item.placed.at_100;
        if (fixes_size(b))
            e.SetBounds(e.Left(), e.Top(), b.width != 0 ? to_scene(b.width) : e.Width(),
                        b.height != 0 ? to_scene(b.height) : e.Height());
        place(e, item.placed, unmoved);
    }
    for (TextItem& item : texts_) {
        const bool unmoved = item.shape->BoundsRect() == item.placed.bounds;
        scale_text_box(*item.shape, item.placed);
        place(*item.shape, item.placed, unmoved);
    }
    for (RelationshipItem& item : relationships_) item.shape->SetEscala(escala_);
    route();
    place_captions();
    record_placements();
}

void DiagramScene::arrange(const std::vector<std::optional<TPoint>>& entities, const std::vector<std::optional<TPoint>>& texts) {
    const auto move = [&](TControl& shape, Placed& placed, const std::optional<TPoint>& at) {
        if (!at) return;
        placed.at_100.left = at->X;
        placed.at_100.top = at->Y;
        shape.SetBounds(to_scene(at->X), to_scene(at->Y), shape.Width(), shape.Height());
    };
    for (std::size_t i = 0; i < entities.size() && i < entities_.size(); ++i)
        move(*entities_[i].shape, entities_[i].placed, entities[i]);
    for (std::size_t i = 0; i < texts.size() && i < texts_.size(); ++i) move(*texts_[i].shape, texts_[i].placed, texts[i]);
    route();
    place_captions();
    record_placements();
}

void DiagramScene::route() {
    // The first routing picks the sides; the offsets reach their steady values (within the limits of
    // those sides) only on the second.
    for (RelationshipItem& item : relationships_) route(item);
}

void DiagramScene::route(RelationshipItem& item) {
    item.shape->Reroute();
    item.shape->Reroute();
}

void DiagramScene::place_captions() {
    for (EntityItem& item : entities_)
        if (item.caption.shape) place_caption(*item.shape, item.caption);
    for (RelationshipItem& item : relationships_)
        if (item.caption.shape) place_caption(*item.shape, item.caption);
}

void DiagramScene::place_caption(TnoxCustomShape& owner, CaptionItem& caption) {
    tnoxCaption& shape = *caption.shape;
    // Captions keep their place when their owner is zoomed: the scene places them itself.
    if (owner.Caption() != &shape) owner.SetCaption(&shape);
    scale_text_box(shape, caption.placed);
    const ShapeBounds& b = caption.placed.at_100;
    if (b.left == 0 && b.top == 0) {
        owner.PositionCaption(2);  // centred 5 pixels below the owner
    } else {
        shape.SetBounds(to_scene(b.left), to_scene(b.top), shape.Width(), shape.Height());
    }
    // A line keeps its caption at its offset from the midpoint from here on.
    if (auto* line = dynamic_cast<TnoxConnector*>(&owner)) line->PrevMidPoint = line->GetMidPoint();
}

void DiagramScene::place_relationship_caption(std::size_t index, TPoint at_100) {
    RelationshipItem& item = relationships_.at(index);
    place_caption_at(*item.shape, item.caption, at_100);
}

void DiagramScene::place_entity_caption(std::size_t index, TPoint at_100) {
    EntityItem& item = entities_.at(index);
    place_caption_at(*item.shape, item.caption, at_100);
}

void DiagramScene::place_caption_at(TnoxCustomShape& owner, CaptionItem& caption, TPoint at_100) {
    if (!caption.shape) return;
    caption.placed.at_100.left = at_100.X;
    caption.placed.at_100.top = at_100.Y;
    place_caption(owner, caption);
    caption.placed.bounds = caption.shape->BoundsRect();
}

void DiagramScene::record_placements() {
    for (EntityItem& item : entities_) {
        item.placed.bounds = item.shape->BoundsRect();
        if (item.caption.shape) item.caption.placed.bounds = item.caption.shape->BoundsRect();
    }
    for (RelationshipItem& item : relationships_)
        if (item.caption.shape) item.caption.placed.bounds = item.caption.shape->BoundsRect();
    for (TextItem& item : texts_) item.placed.bounds = item.shape->BoundsRect();
    TRect all = bounds();
    surface_->SetBounds(0, 0, std::max(all.Right, 1), std::max(all.Bottom, 1));
}

TRect DiagramScene::bounds() const {
    TRect all{};
    bool any = false;
    for (int i = 0; i < surface_->ControlCount(); ++i) {
        const TControl* c = surface_->Controls(i);
        if (!c->Visible()) continue;
        const TRect r = c->BoundsRect();
        all = any ? TRect{std::min(all.Left, r.Left), std::min(all.Top, r.Top), std::max(all.Right, r.Right),
                          std::max(all.Bottom, r.Bottom)}
                  : r;
        any = true;
    }
    return all;
}

int DiagramScene::to_scene(std::int32_t value) const {
    return RoundToInt(static_cast<long double>(value) * escala_ / 100);
}

std::int32_t DiagramScene::to_100(int value) const {
    return RoundToInt(static_cast<long double>(value) * 100 / escala_);
}

ShapeBounds DiagramScene::stored_bounds(const TControl& shape, const Placed& placed) const {
    if (shape.BoundsRect() == placed.bounds) return placed.at_100;
    ShapeBounds b = placed.at_100;
    b.left = to_100(shape.Left());
    b.top = to_100(shape.Top());
    // A size the file fixes follows the shape; a size from the content stays to be measured, unless the
    // shape was resized by hand since it was placed: that size is the user's and is kept.
    const bool resized = shape.Width() != RectWidth(placed.bounds) || shape.Height() != RectHeight(placed.bounds);
    if (b.width != 0 || resized) b.width = to_100(shape.Width());
    if (b.height != 0 || resized) b.height = to_100(shape.Height());
    return b;
}

void DiagramScene::store() const {
    diagram_.escala = escala_;
    const auto store_caption = [&](const CaptionItem& caption) {
        if (caption.shape) caption.source->shape = stored_bounds(*caption.shape, caption.placed);
    };
    for (std::size_t i = 0; i < entities_.size(); ++i) {
        diagram_.entities[i].shape = stored_bounds(*entities_[i].shape, entities_[i].placed);
        store_caption(entities_[i].caption);
    }
    for (std::size_t i = 0; i < relationships_.size(); ++i) {
        const RelationshipItem& item = relationships_[i];
        DiagramRelationship& target = diagram_.relationships[i];
        const int start = item.shape->GetConnection(1)->perc(), end = item.shape->GetConnection(2)->perc();
        if (start != item.start_perc_read) target.start_perc = start;
        if (end != item.end_perc_read) target.end_perc = end;
        target.meioperc = item.shape->meioperc();
        store_caption(item.caption);
    }
    for (std::size_t i = 0; i < texts_.size(); ++i) diagram_.texts[i].shape = stored_bounds(*texts_[i].shape, texts_[i].placed);
}

void DiagramScene::settle() {
    store();
    const auto settle_one = [&](const TControl& shape, Placed& placed, const ShapeBounds& stored) {
        placed.at_100 = stored;
        placed.bounds = shape.BoundsRect();
    };
    for (std::size_t i = 0; i < entities_.size(); ++i) {
        EntityItem& item = entities_[i];
        settle_one(*item.shape, item.placed, diagram_.entities[i].shape);
        if (item.caption.shape) settle_one(*item.caption.shape, item.caption.placed, item.caption.source->shape);
    }
    for (std::size_t i = 0; i < relationships_.size(); ++i) {
        RelationshipItem& item = relationships_[i];
        item.start_perc_read = item.shape->GetConnection(1)->perc();
        item.end_perc_read = item.shape->GetConnection(2)->perc();
        if (item.caption.shape) settle_one(*item.caption.shape, item.caption.placed, item.caption.source->shape);
    }
    for (std::size_t i = 0; i < texts_.size(); ++i) settle_one(*texts_[i].shape, texts_[i].placed, diagram_.texts[i].shape);
}

void DiagramScene::insert_relationship(std::size_t index) {
    DiagramRelationship& source = diagram_.relationships.at(index);
    RelationshipItem item;
    try {
        item = make_relationship(source);
    } catch (const std::exception& e) {
        throw DiagramError("relationship \"" + cp1252_to_utf8(source.name) + "\" (#" + std::to_string(index + 1) + "): " + e.what());
    }
    // As zoom() would have it: scaled, then routed, then captioned.
    item.shape->SetEscala(escala_);
    route(item);
    relationships_.insert(relationships_.begin() + static_cast<std::ptrdiff_t>(index), item);
    if (item.caption.shape) {
        place_caption(*item.shape, relationships_[index].caption);
        relationships_[index].caption.placed.bounds = item.caption.shape->BoundsRect();
    }
}

void DiagramScene::remove_caption(TnoxCustomShape& owner, CaptionItem& caption) {
    if (!caption.shape) return;
    if (owner.Caption() == caption.shape) owner.SetCaption(nullptr);  // which frees it
    else delete caption.shape;
    caption = {};
}

void DiagramScene::remove_relationship(std::size_t index) {
    RelationshipItem& item = relationships_.at(index);
    remove_caption(*item.shape, item.caption);
    // Let go first: a line freed while attached takes its foreign keys out of its end entity.
    item.shape->GetConnection(1)->SetShape(nullptr);
    item.shape->GetConnection(2)->SetShape(nullptr);
    delete item.shape;
    relationships_.erase(relationships_.begin() + static_cast<std::ptrdiff_t>(index));
}

void DiagramScene::remove_entity(std::size_t index) {
    EntityItem& item = entities_.at(index);
    remove_caption(*item.shape, item.caption);
    item.shape->SetSelected(false);
    item.shape->SetParent(nullptr);
    entities_.erase(entities_.begin() + static_cast<std::ptrdiff_t>(index));
}

void DiagramScene::remove_text(std::size_t index) {
    delete texts_.at(index).shape;
    texts_.erase(texts_.begin() + static_cast<std::ptrdiff_t>(index));
}

void DiagramScene::remove_entity_caption(std::size_t index) {
    EntityItem& item = entities_.at(index);
    remove_caption(*item.shape, item.caption);
}

void DiagramScene::remove_relationship_caption(std::size_t index) {
    RelationshipItem& item = relationships_.at(index);
    remove_caption(*item.shape, item.caption);
}

void DiagramScene::remeasure_entity(std::size_t index) {
    EntityItem& item = entities_.at(index);
    TEntidade& e = *item.shape;
    e.AjustarTamanho(nullptr);
    const ShapeBounds& b = item.placed.at_100;
    if (fixes_size(b))
        e.SetBounds(e.Left(), e.Top(), b.width != 0 ? to_scene(b.width) : e.Width(), b.height != 0 ? to_scene(b.height) : e.Height());
    // The new size is the content's, not a resize by hand that store() would keep (the scene is
    // settled before an edit, so the place is the one stored).
    item.placed.bounds = e.BoundsRect();
    if (item.caption.shape) {
        place_caption(e, item.caption);
        item.caption.placed.bounds = item.caption.shape->BoundsRect();
    }
    for (RelationshipItem& line : relationships_) {
        if (line.shape->GetConnection(1)->Shape() != &e && line.shape->GetConnection(2)->Shape() != &e) continue;
        route(line);
        if (line.caption.shape) {
            place_caption(*line.shape, line.caption);
            line.caption.placed.bounds = line.caption.shape->BoundsRect();
        }
    }
}

void DiagramScene::rebind() {
    for (std::size_t i = 0; i < entities_.size(); ++i)
        if (entities_[i].caption.shape) entities_[i].caption.source = &*diagram_.entities.at(i).caption;
    for (std::size_t i = 0; i < relationships_.size(); ++i)
        if (relationships_[i].caption.shape) relationships_[i].caption.source = &*diagram_.relationships.at(i).caption;
}

bool DiagramScene::changed() const {
    const auto same = [](const ShapeBounds& a, const ShapeBounds& b) {
        return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
    };
    const auto caption_same = [&](const CaptionItem& caption) {
        return !caption.shape || same(stored_bounds(*caption.shape, caption.placed), caption.source->shape);
    };
    if (diagram_.escala != escala_) return true;
    for (std::size_t i = 0; i < entities_.size(); ++i)
        if (!same(stored_bounds(*entities_[i].shape, entities_[i].placed), diagram_.entities[i].shape) ||
            !caption_same(entities_[i].caption))
            return true;
    for (std::size_t i = 0; i < relationships_.size(); ++i) {
        const RelationshipItem& item = relationships_[i];
        const DiagramRelationship& target = diagram_.relationships[i];
        const int start = item.shape->GetConnection(1)->perc(), end = item.shape->GetConnection(2)->perc();
        if ((start != item.start_perc_read && start != target.start_perc) || (end != item.end_perc_read && end != target.end_perc) ||
            item.shape->meioperc() != target.meioperc || !caption_same(item.caption))
            return true;
    }
    for (std::size_t i = 0; i < texts_.size(); ++i)
        if (!same(stored_bounds(*texts_[i].shape, texts_[i].placed), diagram_.texts[i].shape)) return true;
    return false;
}

void DiagramScene::tear_down() noexcept {
    // The lines let go of their entities first: freed while attached, a relationship would take the
    // foreign keys it brought out of its end entity, and those belong to the diagram.
    // Last first, as the lists they leave were filled (the entities below likewise).
    for (auto it = relationships_.rbegin(); it != relationships_.rend(); ++it) {
        RelationshipItem& item = *it;
        item.shape->GetConnection(1)->SetShape(nullptr);
        item.shape->GetConnection(2)->SetShape(nullptr);
        delete item.shape;
    }
    relationships_.clear();
    // The entities leave the surface (which would free them with its children); their captions are the scene's.
    // Last first: each then leaves from the end of the surface's child list, not from its front.
    for (auto it = entities_.rbegin(); it != entities_.rend(); ++it) {
        EntityItem& item = *it;
        item.shape->SetCaption(nullptr);
        item.shape->SetSelected(false);
        item.shape->SetParent(nullptr);
    }
    entities_.clear();
    texts_.clear();
    delete window_;  // with the surface and whatever is left on it
    window_ = surface_ = nullptr;
}
