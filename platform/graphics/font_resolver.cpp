#include "platform/graphics/font_resolver.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <array>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/ascii_case.h"

namespace {

struct Alias {
    std::string_view windows_name;
    std::string_view family;
};

constexpr std::array<Alias, 6> kAliases = {{
    {"Arial", "Liberation Sans"},
    {"Times New Roman", "Liberation Serif"},
    {"Courier New", "Liberation Mono"},
    {"Liberation Sans", "Liberation Sans"},
    {"Liberation Serif", "Liberation Serif"},
    {"Liberation Mono", "Liberation Mono"},
}};

constexpr const char* kPackage = "fonts-liberation2";


std::string style_name(bool bold, bool italic) {
    if (bold && italic) return "Bold Italic";
    if (bold) return "Bold";
    if (italic) return "Italic";
    return "Regular";
}

// fontconfig's configuration, loaded once; fontconfig serialises its own use of it.
FcConfig* configuration() {
    static FcConfig* const config = [] {
        FcConfig* loaded = FcInitLoadConfigAndFonts();
        if (!loaded) throw EFontNotAvailable("fontconfig could not load its configuration (package fontconfig)");
        return loaded;
    }();
    return config;
}

struct PatternDeleter {
    void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
struct ObjectSetDeleter {
    void operator()(FcObjectSet* s) const { FcObjectSetDestroy(s); }
};
struct FontSetDeleter {
    void operator()(FcFontSet* s) const { FcFontSetDestroy(s); }
};

struct Candidate {
    std::string path;
    int index = 0;
    int version = 0;
};

}  // namespace

std::string_view MetricCompatibleFamily(std::string_view font_name) {
    for (const Alias& alias : kAliases)
        if (SameIgnoringAsciiCase(font_name, alias.windows_name)) return alias.family;
    return {};
}

FontFile ResolveFontFile(std::string_view font_name, bool bold, bool italic) {
    const std::string_view family = MetricCompatibleFamily(font_name);
    const std::string wanted = "font \"" + std::string(font_name) + "\" " + style_name(bold, italic);
    if (family.empty())
        throw EFontNotAvailable(wanted +
                                ": no metric-compatible face for this family; the diagrams measure and draw "
                                "in Arial, Times New Roman or Courier New");

    std::unique_ptr<FcPattern, PatternDeleter> pattern(FcPatternCreate());
    const std::string family_text(family);
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family_text.c_str()));
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    std::unique_ptr<FcObjectSet, ObjectSetDeleter> objects(
        FcObjectSetBuild(FC_FILE, FC_INDEX, FC_FONTVERSION, FC_FONTFORMAT, nullptr));
    std::unique_ptr<FcFontSet, FontSetDeleter> found(FcFontList(configuration(), pattern.get(), objects.get()));

    std::vector<Candidate> candidates;
    for (int i = 0; found && i < found->nfont; ++i) {
        FcChar8* file = nullptr;
        FcChar8* format = nullptr;
        if (FcPatternGetString(found->fonts[i], FC_FILE, 0, &file) != FcResultMatch) continue;
        // Only TrueType outlines are measured the way the target measures them.
        if (FcPatternGetString(found->fonts[i], FC_FONTFORMAT, 0, &format) == FcResultMatch &&
            std::string_view(reinterpret_cast<const char*>(format)) != "TrueType")
            continue;
        Candidate c;
        c.path = reinterpret_cast<const char*>(file);
        FcPatternGetInteger(found->fonts[i], FC_INDEX, 0, &c.index);
        FcPatternGetInteger(found->fonts[i], FC_FONTVERSION, 0, &c.version);
        candidates.push_back(std::move(c));
    }
    if (candidates.empty())
        throw EFontNotAvailable(wanted + ": the face " + family_text + " " + style_name(bold, italic) +
                                " is not installed; install the Debian package " + kPackage +
                                " (scripts/setup.sh does)");

    const Candidate& best = *std::min_element(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
        if (a.version != b.version) return a.version > b.version;
        return a.path < b.path;
    });
    return FontFile{best.path, best.index, family_text, bold, italic};
}
