#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>

#include "platform/api.h"
#include "platform/graphics.h"
#include "platform/object.h"

enum class TFontStyle : std::uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };

// A set of TFontStyle values, one bit per member.
class KZR40_API TFontStyles {
public:
    constexpr TFontStyles() = default;
    constexpr TFontStyles(std::initializer_list<TFontStyle> members) {
        for (TFontStyle m : members) bits_ |= bit(m);
    }
    constexpr bool contains(TFontStyle m) const { return bits_ & bit(m); }
    constexpr void include(TFontStyle m) { bits_ |= bit(m); }
    constexpr void exclude(TFontStyle m) { bits_ &= static_cast<std::uint8_t>(~bit(m)); }
    constexpr bool empty() const { return bits_ == 0; }
    constexpr std::uint8_t bits() const { return bits_; }
    friend constexpr bool operator==(TFontStyles, TFontStyles) = default;

private:
    static constexpr std::uint8_t bit(TFontStyle m) { return static_cast<std::uint8_t>(1u << static_cast<unsigned>(m)); }
    std::uint8_t bits_ = 0;
};

// A font description: what drawing and form streaming need of the platform's font object. Size (in
// points) and Height (in pixels, negative for a character height) are two views of one value, tied
// by the screen's pixels per inch. Every change fires OnChange.
class KZR40_API TFont : public TObject {
public:
    TFont() = default;

    const std::string& Name() const { return name_; }
    void SetName(const std::string& name);
    int Height() const { return height_; }
    void SetHeight(int height);
    int Size() const;
    void SetSize(int points);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles style);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TFontCharset Charset() const { return charset_; }
    void SetCharset(TFontCharset charset);
    int PixelsPerInch() const { return pixels_per_inch_; }

    // Copies name, height, style, colour and charset from `source`, firing OnChange once.
    void Assign(const TFont& source);
    bool SameAs(const TFont& other) const;

    std::function<void(TFont&)> OnChange;

private:
    void changed();

    std::string name_ = "MS Sans Serif";
    int height_ = -11;  // 8 points at 96 pixels per inch
    TFontStyles style_;
    TColor color_ = clWindowText;
    TFontCharset charset_ = DEFAULT_CHARSET;
    int pixels_per_inch_ = kScreenPixelsPerInch;
};
