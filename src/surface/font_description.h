#pragma once
// The full description of a font as drawing code asks for it.

#include <QString>

#include <cstddef>

namespace mirel {

namespace CharSet {
constexpr int Ansi = 0;      // Latin text
constexpr int GB2312 = 134;  // Chinese text
}  // namespace CharSet

struct FontSpec {
    // Height in the caller's unit (device pixels for drawing, 0.01 mm for
    // layout): negative = the em (character) height, positive = the cell
    // height (ascent + descent), 0 = an em of kDefaultEm.
    int height = -12;
    // Average character width in the same unit; 0 = the font's own. Any
    // other value stretches the font horizontally.
    int width = 0;
    int escapement = 0;   // baseline angle, tenths of a degree counter-clockwise
    int orientation = 0;  // kept; glyphs follow the baseline angle
    int weight = 400;     // 100..900, 0 = 400
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int charSet = CharSet::GB2312;
    QString faceName = QStringLiteral(u"宋体");  // as the document names it

    static constexpr int kDefaultEm = 12;

    friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

std::size_t hashFontSpec(const FontSpec& fontSpec);

}  // namespace mirel
