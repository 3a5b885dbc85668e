#include "diagram/modern_painter.h"

#include <algorithm>
#include <array>
#include <map>
#include <string>

#include "diagram/scene.h"
#include "model/relacionamento.h"
#include "model/texto.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/text_layout.h"
#include "plugin/registros.h"
#include "shapes/text_shape.h"

namespace {

constexpr TColor rgb(int r, int g, int b) { return static_cast<TColor>(r | (g << 8) | (b << 16)); }
int red(TColor c) { return c & 0xFF; }
int green(TColor c) { return (c >> 8) & 0xFF; }
int blue(TColor c) { return (c >> 16) & 0xFF; }
// `a` with `share` (0..1) of `b` mixed in.
TColor mix(TColor a, TColor b, double share) {
    const auto channel = [&](int x, int y) { return static_cast<int>(x + (y - x) * share + 0.5); };
    return rgb(channel(red(a), red(b)), channel(green(a), green(b)), channel(blue(a), blue(b)));
}
// Text on a band of colour `c`: white unless the band is light.
TColor text_on(TColor c) { return 299 * red(c) + 587 * green(c) + 114 * blue(c) > 160'000 ? rgb(0x1F, 0x23, 0x28) : clWhite; }

struct Theme {
    TColor ground, body, frame, text, muted, line;
};
constexpr Theme kLight{clWhite, clWhite, rgb(0x5A, 0x62, 0x70), rgb(0x1F, 0x23, 0x28), rgb(0x6B, 0x72, 0x80), rgb(0x4B, 0x55, 0x63)};
constexpr Theme kDark{rgb(0x1E, 0x1F, 0x24), rgb(0x2A, 0x2C, 0x33), rgb(0x8B, 0x93, 0xA1), rgb(0xE6, 0xE8, 0xEB), rgb(0xA0, 0xA7, 0xB4), rgb(0xB6, 0xBD, 0xC9)};

constexpr std::array<TColor, 8> kPalette{rgb(0x2F, 0x6F, 0xB3), rgb(0x2E, 0x8B, 0x57), rgb(0xC0, 0x5A, 0x2B), rgb(0x7B, 0x4B, 0xA8),
                                         rgb(0x0F, 0x80, 0x8C), rgb(0xB0, 0x3A, 0x5B), rgb(0x8A, 0x6D, 0x1F), rgb(0x4A, 0x5A, 0xC8)};

// The entity's drawing constants, as the faithful box uses them (plugin/entidade_desenho.cpp).
constexpr int kCorner = 10;
constexpr int kTextMargin = 5;
constexpr int kTitleTop = 2;
constexpr int kRowGap = 2;
constexpr int kKeyRuleRise = 2;
constexpr int kGroupPad = 12;

void use_font(TCanvas& canvas, const TFont& font, int size, TColor colour) {
    canvas.Font().Assign(font);
    canvas.Font().SetSize(size);
    canvas.Font().SetColor(colour);
}

// An entity's group: the first level of its `Menu` ("Cadastros;Clientes": Cadastros).
std::string group_of(const TEntidade& e) {
    const std::string_view menu = e.Menu().view();
    return std::string(menu.substr(0, menu.find(';')));
}

const TAtributo* record_at(const StringList& list, int i) { return static_cast<const TAtributo*>(list.Objects(i)); }

class ModernPainter {
public:
    ModernPainter(DiagramScene& scene, TCanvas& canvas, DiagramTheme theme)
        : scene_(scene), canvas_(canvas), theme_(theme == DiagramTheme::dark ? kDark : kLight),
          width_(std::max(1, (scene.escala() + 50) / 100)) {
        const Diagram& diagram = scene.diagram();
        for (std::size_t i = 0; i < diagram.entities.size(); ++i) {
            const std::string menu = group_of(*diagram.entities[i].entity);
            if (!menu.empty()) groups_.try_emplace(menu, groups_.size());
        }
    }

    void paint() {
        paint_groups();
        for (std::size_t i = 0; i < scene_.entity_count(); ++i) paint_entity(i);
        for (std::size_t i = 0; i < scene_.entity_count(); ++i)
            if (const tnoxCaption* c = scene_.entity_caption(i); c && c->Visible()) paint_text(*c, theme_.muted);
        for (std::size_t i = 0; i < scene_.text_count(); ++i) paint_text(scene_.text(i), theme_.text);
        for (std::size_t i = 0; i < scene_.relationship_count(); ++i) paint_relationship(scene_.relationship(i));
        for (std::size_t i = 0; i < scene_.relationship_count(); ++i)
            if (const tnoxCaption* c = scene_.relationship_caption(i); c && c->Visible()) paint_text(*c, theme_.muted);
    }

private:
    TColor band_of(std::size_t i) const {
        const DiagramEntity& e = scene_.diagram().entities[i];
        if (e.colour) return *e.colour;
        const auto found = groups_.find(group_of(*e.entity));
        return found == groups_.end() ? kUngroupedColour : group_colour(found->second);
    }

public:
    struct GroupArea {
        std::string name;
        std::size_t number;
        TRect r;
        int pad;
    };
    // The area behind each group's entities, with room for the group's name at its top.
    std::vector<GroupArea> group_areas() {
        std::vector<GroupArea> areas;
        std::vector<bool> any(groups_.size());
        std::vector<TRect> around(groups_.size());
        const Diagram& diagram = scene_.diagram();
        const auto take_in = [&](std::size_t n, const TRect& b) {
            TRect& a = around[n];
            a = any[n] ? TRect{std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right), std::max(a.Bottom, b.Bottom)} : b;
            any[n] = true;
        };
        // The group of each entity, by its box; SIZE_MAX: in none.
        std::map<const TControl*, std::size_t> group_at;
        for (std::size_t i = 0; i < scene_.entity_count(); ++i) {
            const auto found = groups_.find(group_of(*diagram.entities[i].entity));
            if (found == groups_.end()) continue;
            group_at[&scene_.entity(i)] = found->second;
            take_in(found->second, scene_.entity(i).BoundsRect());
            // Its caption is read with it: no part of it outside the area.
            if (const tnoxCaption* c = scene_.entity_caption(i); c && c->Visible()) take_in(found->second, c->BoundsRect());
        }
        for (std::size_t k = 0; k < scene_.relationship_count(); ++k) {
            const TRelacionamento& line = scene_.relationship(k);
            const auto from = group_at.find(line.GetConnection(1)->Shape()), to = group_at.find(line.GetConnection(2)->Shape());
            if (from == group_at.end() || to == group_at.end() || from->second != to->second) continue;
            // A loop runs in its entity's group, round the box's lower right corner.
            if (line.IsLoop()) {
                const TPoint corner{line.Left() + line.LoopRoute()[2].X, line.Top() + line.LoopRoute()[2].Y};
                take_in(from->second, {corner.X, corner.Y, corner.X + 1, corner.Y + 1});
            }
            // A relationship within one group has its caption there too.
            if (const tnoxCaption* c = scene_.relationship_caption(k); c && c->Visible()) take_in(from->second, c->BoundsRect());
        }
        for (const auto& [name, n] : groups_) {
            if (!any[n]) continue;
            const int pad = scale(kGroupPad);
            use_label_font(n);
            const int label = canvas_.TextHeight(name);
            areas.push_back({name, n, {around[n].Left - pad, around[n].Top - pad - label, around[n].Right + pad, around[n].Bottom + pad}, pad});
        }
        return areas;
    }

private:
    void use_label_font(std::size_t n) {
        const TFont& font = scene_.entity_count() ? scene_.entity(0).FonteAtributos() : canvas_.Font();
        use_font(canvas_, font, scale(font.Size()), mix(group_colour(n), theme_.text, 0.25));
    }

    void paint_groups() {
        for (const GroupArea& a : group_areas()) {
            canvas_.Pen().SetWidth(1);
            canvas_.Pen().SetColor(mix(group_colour(a.number), theme_.ground, 0.55));
            canvas_.Brush().SetColor(mix(group_colour(a.number), theme_.ground, 0.88));
            canvas_.RoundRect(a.r.Left, a.r.Top, a.r.Right, a.r.Bottom, scale(kCorner) * 2, scale(kCorner) * 2);
            use_label_font(a.number);
            canvas_.Brush().SetStyle(TBrushStyle::bsClear);
            canvas_.TextOut(a.r.Left + a.pad / 2, a.r.Top + a.pad / 4, a.name);
        }
    }

    void paint_entity(std::size_t i) {
        TEntidade& e = scene_.entity(i);
        const TRect b = e.BoundsRect();
        const int w = e.Width(), h = e.Height();
        const TPoint at{b.Left, b.Top};
        const TColor band = band_of(i);
        const int corner = scale(kCorner);

        use_font(canvas_, e.FonteTitulo(), e.Scaled(e.FonteTitulo().Size()), text_on(band));
        canvas_.Font().SetStyle({TFontStyle::fsBold});
        const std::string_view title = (e.Modo() == tmodo::tmTabela ? e.tabela() : e.entidade()).view();
        const int rule = std::min(h, canvas_.TextHeight(title) + 1);

        // The body, the band over its top with the top corners rounded, then the frame over both.
        canvas_.Pen().SetWidth(width_);
        canvas_.Pen().SetColor(theme_.frame);
        canvas_.Brush().SetColor(theme_.body);
        canvas_.RoundRect(at.X, at.Y, at.X + w, at.Y + h, corner, corner);
        canvas_.Pen().SetWidth(1);
        canvas_.Pen().SetColor(band);
        canvas_.Brush().SetColor(band);
        const bool band_only = rule + corner >= h;
        canvas_.RoundRect(at.X, at.Y, at.X + w, band_only ? at.Y + h : at.Y + rule + corner, corner, corner);
        if (!band_only) {
            canvas_.Brush().SetColor(theme_.body);
            canvas_.FillRect({at.X + 1, at.Y + rule, at.X + w - 1, at.Y + rule + corner});
        }
        canvas_.Brush().SetStyle(TBrushStyle::bsClear);
        canvas_.Pen().SetWidth(width_);
        canvas_.Pen().SetColor(theme_.frame);
        canvas_.RoundRect(at.X, at.Y, at.X + w, at.Y + h, corner, corner);
        canvas_.TextOut(at.X + e.Scaled(kTextMargin), at.Y + kTitleTop, title);

        const tmodo mode = e.Modo();
        const bool keys = mode == tmodo::tmAtributo || mode == tmodo::tmEsquema || mode == tmodo::tmChave || mode == tmodo::tmTabela;
        const bool others = mode == tmodo::tmAtributo || mode == tmodo::tmEsquema || mode == tmodo::tmTabela;
        const bool typed = mode == tmodo::tmEsquema || mode == tmodo::tmTabela;
        const StringList& rows = e.atributos();
        int y = at.Y + rule + kRowGap;
        const int marker_size = std::max(1, e.FonteAtributos().Size() * 3 / 4);
        use_font(canvas_, e.FonteAtributos(), e.Scaled(marker_size), theme_.muted);
        canvas_.Font().SetStyle({TFontStyle::fsBold});
        const int marker_width = canvas_.TextWidth("PK") + e.Scaled(3);
        const auto row = [&](int index) {
            const TAtributo* record = record_at(rows, index);
            const bool key = record && (record->chave & kChavePrimaria) != 0;
            const bool foreign = record && (record->chave & kChaveEstrangeira) != 0;
            const TFont& font = foreign ? e.FonteExtrangeiras() : e.FonteAtributos();
            std::string text = e.TextoLinha(index), type;
            if (const auto split = text.rfind(" :"); typed && split != std::string::npos) type = text.substr(split + 2), text.resize(split);
            use_font(canvas_, font, e.Scaled(font.Size()), theme_.text);
            const int row_height = canvas_.TextHeight(text + type);
            const int x = at.X + e.Scaled(kTextMargin);
            if (key || foreign) {
                use_font(canvas_, e.FonteAtributos(), e.Scaled(marker_size), key ? mix(band, theme_.text, 0.15) : theme_.muted);
                canvas_.Font().SetStyle({TFontStyle::fsBold});
                const int rise = (row_height - canvas_.TextHeight("PK")) / 2 + 1;
                canvas_.TextOut(x, y + rise, key ? "PK" : "FK");
            }
            use_font(canvas_, font, e.Scaled(font.Size()), foreign ? mix(band, theme_.text, 0.3) : theme_.text);
            canvas_.TextOut(x + marker_width, y, text);
            if (!type.empty()) {
                canvas_.Font().SetColor(theme_.muted);
                canvas_.TextOut(at.X + w - e.Scaled(kTextMargin) - canvas_.TextWidth(type), y, type);
            }
            y += row_height;
        };
        if (keys)
            for (int k = 0; k < rows.Count(); ++k)
                if (const TAtributo* r = record_at(rows, k); r && (r->chave & kChavePrimaria)) row(k);
        if (others && y < at.Y + h) {
            const int key_rule = y - e.Scaled(kKeyRuleRise);
            canvas_.Pen().SetWidth(1);
            canvas_.Pen().SetColor(mix(theme_.frame, theme_.body, 0.6));
            canvas_.MoveTo(at.X + width_, key_rule);
            canvas_.LineTo(at.X + w - width_, key_rule);
            for (int k = 0; k < rows.Count(); ++k)
                if (const TAtributo* r = record_at(rows, k); !r || !(r->chave & kChavePrimaria)) row(k);
        }
    }

    void paint_relationship(const TRelacionamento& line) {
        if (!line.GetConnection(1)->Shape() || !line.GetConnection(2)->Shape()) return;
        const TPoint o{line.Left(), line.Top()};
        canvas_.Pen().SetWidth(width_);
        canvas_.Pen().SetColor(line.LineColour == clBlack ? theme_.line : line.LineColour);
        const auto polyline = [&](const auto& points) {
            canvas_.MoveTo(o.X + points[0].X, o.Y + points[0].Y);
            for (std::size_t k = 1; k < points.size(); ++k) canvas_.LineTo(o.X + points[k].X, o.Y + points[k].Y);
        };
        if (line.IsLoop()) polyline(line.LoopRoute());
        else polyline(line.Route());
        const auto& m = line.Marks();
        const auto segment = [&](int a, int b) {
            canvas_.MoveTo(o.X + m[static_cast<std::size_t>(a)].X, o.Y + m[static_cast<std::size_t>(a)].Y);
            canvas_.LineTo(o.X + m[static_cast<std::size_t>(b)].X, o.Y + m[static_cast<std::size_t>(b)].Y);
        };
        const auto bar = [&] { segment(TRelacionamento::kBarStart, TRelacionamento::kBarEnd); };
        const auto foot = [&] {
            segment(TRelacionamento::kFootFirst, TRelacionamento::kFootApex);
            segment(TRelacionamento::kFootApex, TRelacionamento::kFootLast);
        };
        const auto circle = [&] {
            const int r = line.Scaled(4);
            const TPoint c{o.X + line.MarkCentre().X, o.Y + line.MarkCentre().Y};
            canvas_.Brush().SetColor(theme_.ground);
            canvas_.Ellipse(c.X - r, c.Y - r, c.X + r + 1, c.Y + r + 1);
        };
        switch (line.Relacao()) {
            case trelacao::tr1x1: bar(); break;
            case trelacao::tr1xn: bar(), foot(); break;
            case trelacao::tr0x1: circle(); break;
            case trelacao::tr0xn: circle(), foot(); break;
        }
    }

    void paint_text(const TnoxTextShape& shape, TColor colour) {
        TRect r = shape.BoundsRect();
        use_font(canvas_, shape.Font(), shape.Scaled(shape.Font().Size()), colour);
        canvas_.Brush().SetStyle(TBrushStyle::bsClear);
        canvas_.DrawText(shape.Text(), r, DT_NOPREFIX | DT_WORDBREAK | DT_CENTER);
    }

    int scale(int value) const { return std::max(1, value * scene_.escala() / 100); }

    DiagramScene& scene_;
    TCanvas& canvas_;
    Theme theme_;
    int width_;  // of lines and frames: 1 pixel at 100 %
    std::map<std::string, std::size_t> groups_;  // Menu -> its number in order of first appearance
};

}  // namespace

TColor group_colour(std::size_t n) { return kPalette[n % kPalette.size()]; }

TRect modern_bounds(DiagramScene& scene) {
    TCanvas measure;
    TRect all = scene.bounds();
    for (const auto& a : ModernPainter(scene, measure, DiagramTheme::light).group_areas())
        all = {std::min(all.Left, a.r.Left), std::min(all.Top, a.r.Top), std::max(all.Right, a.r.Right), std::max(all.Bottom, a.r.Bottom)};
    return all;
}

void paint_modern_scene(DiagramScene& scene, TCanvas& canvas, const TRect& area, DiagramTheme theme) {
    canvas.Brush().SetColor(theme == DiagramTheme::dark ? kDark.ground : kLight.ground);
    canvas.FillRect(TRect{0, 0, area.Right - area.Left, area.Bottom - area.Top});
    canvas.SetOrigin({-area.Left, -area.Top});
    ModernPainter(scene, canvas, theme).paint();
}
