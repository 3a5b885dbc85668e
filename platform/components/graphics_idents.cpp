#include "platform/components/graphics_idents.h"

#include <cstdint>
#include <string>

#include "platform/components/component.h"
#include "platform/formfile/printable.h"

using formfile::Value;
using formfile::ValueType;

namespace {

struct Named {
    std::int64_t value;
    const char* name;
};

constexpr Named kColors[] = {
    {0x000000, "clBlack"}, {0x000080, "clMaroon"}, {0x008000, "clGreen"}, {0x008080, "clOlive"},
    {0x800000, "clNavy"}, {0x800080, "clPurple"}, {0x808000, "clTeal"}, {0x808080, "clGray"},
    {0xC0C0C0, "clSilver"}, {0x0000FF, "clRed"}, {0x00FF00, "clLime"}, {0x00FFFF, "clYellow"},
    {0xFF0000, "clBlue"}, {0xFF00FF, "clFuchsia"}, {0xFFFF00, "clAqua"}, {0xFFFFFF, "clWhite"},
    {static_cast<std::int32_t>(0x80000000u), "clScrollBar"}, {static_cast<std::int32_t>(0x80000001u), "clBackground"},
    {static_cast<std::int32_t>(0x80000002u), "clActiveCaption"}, {static_cast<std::int32_t>(0x80000003u), "clInactiveCaption"},
    {static_cast<std::int32_t>(0x80000004u), "clMenu"}, {static_cast<std::int32_t>(0x80000005u), "clWindow"},
    {static_cast<std::int32_t>(0x80000006u), "clWindowFrame"}, {static_cast<std::int32_t>(0x80000007u), "clMenuText"},
    {static_cast<std::int32_t>(0x80000008u), "clWindowText"}, {static_cast<std::int32_t>(0x80000009u), "clCaptionText"},
    {static_cast<std::int32_t>(0x8000000Au), "clActiveBorder"}, {static_cast<std::int32_t>(0x8000000Bu), "clInactiveBorder"},
    {static_cast<std::int32_t>(0x8000000Cu), "clAppWorkSpace"}, {static_cast<std::int32_t>(0x8000000Du), "clHighlight"},
    {static_cast<std::int32_t>(0x8000000Eu), "clHighlightText"}, {static_cast<std::int32_t>(0x8000000Fu), "clBtnFace"},
    {static_cast<std::int32_t>(0x80000010u), "clBtnShadow"}, {static_cast<std::int32_t>(0x80000011u), "clGrayText"},
    {static_cast<std::int32_t>(0x80000012u), "clBtnText"}, {static_cast<std::int32_t>(0x80000013u), "clInactiveCaptionText"},
    {static_cast<std::int32_t>(0x80000014u), "clBtnHighlight"}, {static_cast<std::int32_t>(0x80000015u), "cl3DDkShadow"},
    {static_cast<std::int32_t>(0x80000016u), "cl3DLight"}, {static_cast<std::int32_t>(0x80000017u), "clInfoText"},
    {static_cast<std::int32_t>(0x80000018u), "clInfoBk"}, {0x1FFFFFFF, "clNone"}, {0x20000000, "clDefault"},
};

constexpr Named kCharsets[] = {
    {0, "ANSI_CHARSET"}, {1, "DEFAULT_CHARSET"}, {2, "SYMBOL_CHARSET"}, {77, "MAC_CHARSET"},
    {128, "SHIFTJIS_CHARSET"}, {129, "HANGEUL_CHARSET"}, {130, "JOHAB_CHARSET"}, {134, "GB2312_CHARSET"},
    {136, "CHINESEBIG5_CHARSET"}, {161, "GREEK_CHARSET"}, {162, "TURKISH_CHARSET"}, {163, "VIETNAMESE_CHARSET"},
    {177, "HEBREW_CHARSET"}, {178, "ARABIC_CHARSET"}, {186, "BALTIC_CHARSET"}, {204, "RUSSIAN_CHARSET"},
    {222, "THAI_CHARSET"}, {238, "EASTEUROPE_CHARSET"}, {255, "OEM_CHARSET"},
};

template <std::size_t N>
Value named_value(const Named (&table)[N], std::int64_t v) {
    for (const Named& n : table)
        if (n.value == v) return Value::ident(n.name);
    return Value::integer_value(v);
}

template <std::size_t N>
std::int64_t value_of_name(const Named (&table)[N], const Value& v, const char* what) {
    if (v.is_integer()) return v.integer();
    for (const Named& n : table)
        if (v.type() == ValueType::Ident && v.bytes() == n.name) return n.value;
    throw EComponentError(std::string("unknown ") + what + " " + formfile::printable(v.ident_name()));
}

}  // namespace

formfile::Value color_value(TColor color) { return named_value(kColors, color); }
formfile::Value charset_value(TFontCharset charset) { return named_value(kCharsets, charset); }
TColor color_from_value(const formfile::Value& value) {
    return static_cast<TColor>(value_of_name(kColors, value, "colour"));
}
TFontCharset charset_from_value(const formfile::Value& value) {
    return static_cast<TFontCharset>(value_of_name(kCharsets, value, "character set"));
}
