#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

// A font that cannot be measured or drawn: a family without a metric-compatible face here, or a face
// whose file is missing or unreadable. The message names the font and what to install.
class EFontNotAvailable : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The face file that stands for a font name in one style.
struct FontFile {
    std::string path;
    int index = 0;           // face number inside the file
    std::string family;      // the face's family, e.g. "Liberation Sans"
    bool bold = false;
    bool italic = false;
};

// The family whose faces measure a font name exactly like the named Windows font: "Arial" and
// "Liberation Sans" give "Liberation Sans", likewise "Times New Roman" and "Courier New" give
// "Liberation Serif" and "Liberation Mono". Names compare without regard to letter case, as Windows
// font names do. Empty for any other name.
std::string_view MetricCompatibleFamily(std::string_view font_name);

// Finds the face file of `font_name` in the given style through fontconfig. Only the families of
// MetricCompatibleFamily are served, and only a face of exactly that family, weight and slant is
// taken: no substitute that would change sizes. When several files qualify (two installed versions),
// the highest font version wins, then the first path in byte order, so the choice does not depend on
// the order fontconfig scans its folders. Raises EFontNotAvailable.
FontFile ResolveFontFile(std::string_view font_name, bool bold, bool italic);
