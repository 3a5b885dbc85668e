#include "platform/graphics/xml_text.h"

#include "platform/windows_1252.h"

namespace {

void append_utf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

void AppendXmlText(std::string& out, std::string_view cp1252) {
    for (const char ch : cp1252) {
        const auto byte = static_cast<unsigned char>(ch);
        switch (byte) {
            case '&': out += "&amp;"; continue;
            case '<': out += "&lt;"; continue;
            case '>': out += "&gt;"; continue;
            default: break;
        }
        if (byte >= 0x20 && byte < 0x80) out += ch;
        else if (byte == '\t' || byte == '\n' || byte == '\r') out += ch;
        else if (byte < 0x20 || !Windows1252Defined(byte)) append_utf8(out, 0xFFFD);
        else append_utf8(out, Windows1252ToUnicode(byte));
    }
}
