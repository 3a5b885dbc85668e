#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/font.h"
#include "plugin/entidade.h"

// A diagram as the host holds it: project and server names, the entities in diagram order (each a
// TEntidade with its records, owned here), the relationships between them and the free texts. Every
// text is Windows-1252, as the plug-in expects. The file format is described in docs/diagram-format.md.

// A problem with a diagram file; the message names the file and the item at fault.
class DiagramError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Where a shape sits on the diagram surface, in pixels at 100 %. Width and height 0: sized by its content.
struct ShapeBounds {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// A box of text: a free text of the diagram, or the caption of an entity or a relationship (a
// caption's left and top 0: placed by its owner).
struct DiagramTextBox {
    std::string text;  // may hold line breaks
    ShapeBounds shape;
    std::unique_ptr<TFont> font;  // "Arial" unless the file says otherwise
    bool autosize = true;         // the box follows the text
};
using DiagramCaption = DiagramTextBox;
using DiagramText = DiagramTextBox;

struct DiagramEntity {
    std::unique_ptr<TEntidade> entity;
    ShapeBounds shape;
    std::optional<DiagramCaption> caption;
    // The colour of its header band in the modern style; none: its `Menu` group's.
    std::optional<TColor> colour;
};

// How a picture draws the diagram: as the shapes draw themselves, or with header bands, key markers
// and group areas (docs/drawing.md); on white or on a dark ground.
enum class DiagramStyle { faithful, modern };
enum class DiagramTheme { light, dark };

struct DiagramRelationship {
    std::string name;
    std::size_t from = 0;  // index into Diagram::entities
    std::size_t to = 0;
    trelacao relacao = trelacao::tr1x1;
    tchave chave = tchave::tckey;
    std::int32_t meioperc = 50;
    // Where each end sits along its entity's side, in percent (the connections' `perc`); the sides and
    // pixel offsets follow from the boxes.
    std::int32_t start_perc = 50;
    std::int32_t end_perc = 50;
    TColor line_colour = clBlack;
    std::int32_t line_width = 1;  // 1..kMaxLineWidth; sets the least size of the line's box
    std::vector<std::string> descricao;
    std::optional<DiagramCaption> caption;
};

// Zoom limits of a diagram, in percent. Below 10 the shapes clamp anyway; above 1000 the scaled
// coordinates of a large diagram could leave the 32-bit range the shapes compute in.
inline constexpr std::int32_t kMinEscala = 10;
inline constexpr std::int32_t kMaxEscala = 1000;
inline constexpr std::int32_t kMaxLineWidth = 100;
// Positions lie within -kMaxCoordinate..kMaxCoordinate and sizes within 0..kMaxCoordinate pixels at
// 100 %: at the largest zoom a box's far edge, and every route and picture margin computed from it,
// still fits the 32-bit coordinates of the shapes.
inline constexpr std::int32_t kMaxCoordinate = 10'000'000;

// The first of a shape's left, top, width and height that lies outside its range, for writers that
// must not store what the readers refuse.
struct CoordinateOutOfRange {
    const char* key;  // "left", "top", "width" or "height"
    std::int32_t value, low, high;
    std::string problem() const;  // "must lie between LOW and HIGH (VALUE)"
};
std::optional<CoordinateOutOfRange> coordinate_out_of_range(const ShapeBounds& bounds);

struct Diagram {
    std::string project;
    std::string server;
    std::int32_t escala = 100;  // zoom in percent, kMinEscala..kMaxEscala
    std::vector<DiagramEntity> entities;
    std::vector<DiagramRelationship> relationships;
    std::vector<DiagramText> texts;
    DiagramStyle style = DiagramStyle::faithful;
    DiagramTheme theme = DiagramTheme::light;
};

// The newest format version: 2 adds the zoom, captions, relationship ends, line width and colour, and the text
// boxes' autosize. Version 1 files read as they always did.
inline constexpr std::int64_t kDiagramFormatVersion = 2;

// The largest diagram file read (a diagram of 10,000 tables of 20 columns takes 17 MB); a larger file or
// stream is refused before it is read whole.
inline constexpr std::uint64_t kMaxDiagramBytes = 256u << 20;

struct DiagramForm;

// Reads and checks a diagram file ("-": standard input, named so in messages). A UTF-8 byte-order mark
// at its start is skipped. Throws DiagramError naming the file and the item at fault. `form`, when
// given, receives the form the file has (diagram/diagram_form.h).
Diagram load_diagram(const std::filesystem::path& file, DiagramForm* form = nullptr);
// The same for diagram text already in memory; `source` names it in messages.
Diagram parse_diagram(std::string_view json, const std::string& source);
