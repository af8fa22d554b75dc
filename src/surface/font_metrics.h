#pragma once
// Font measurement behind one interface, so layout can run on fixed
// metrics in tests and on real font files in the program.
//
// Units: every value is in the unit of FontSpec::height. Layout passes
// heights in 0.01 mm and gets widths in 0.01 mm; a drawing surface passes
// device pixels and gets pixels. Results are rounded to integers (half away
// from zero) per character; a text's width is the sum of its characters'.

#include "surface/font_description.h"

#include <QList>
#include <QStringView>

#include <functional>
#include <vector>

namespace mirel {

struct FontMetricsValues {
    int ascent = 0;
    int descent = 0;
    int height = 0;           // ascent + descent
    int internalLeading = 0;  // height - em, at least 0
    int averageWidth = 0;
    int maxWidth = 0;
};

class FontMetricsProvider {
public:
    using GbkDecoder = std::function<char32_t(unsigned char lead, unsigned char trail)>;

    virtual ~FontMetricsProvider() = default;

    FontMetricsValues metrics(const FontSpec& fontSpec) const;
    // Advance of one Unicode character; characters below U+0020 measure 0.
    int charWidth(const FontSpec& fontSpec, char32_t c) const;
    // Advance of a single-byte cell 0x20..0x7F; other bytes measure 0.
    int singleByteWidth(const FontSpec& fontSpec, unsigned char byte) const;
    // Advance of a double-byte GBK character given as its two bytes.
    int gbkCharWidth(const FontSpec& fontSpec, unsigned char lead, unsigned char trail) const;
    // One advance per Unicode character of the text (surrogate pairs count once).
    std::vector<int> charWidths(const FontSpec& fontSpec, QStringView text) const;
    int textWidth(const FontSpec& fontSpec, QStringView text) const;

    // The em height the font description asks for, in its unit (resolves cell heights).
    double emSize(const FontSpec& fontSpec) const;
    // Horizontal stretch a non-zero FontSpec::width asks for (1.0 without).
    double horizontalScale(const FontSpec& fontSpec) const;

    // Replaces the GBK pair decoder (by default the iconv CP936 table).
    void setGbkDecoder(GbkDecoder decoder) { decoder_ = std::move(decoder); }

protected:
    // Proportions of a face, as fractions of the em.
    struct FaceDesign {
        double ascent = 0.8;
        double descent = 0.2;
        double averageWidth = 0.5;
        double maxWidth = 1.0;
    };
    virtual FaceDesign faceDesign(const FontSpec& fontSpec) const = 0;
    // Advance of a character (>= U+0020) as a fraction of the em, unstretched.
    virtual double advanceInEm(const FontSpec& fontSpec, char32_t c) const = 0;

private:
    GbkDecoder decoder_;
};

// Rounds half away from zero, as every conversion to integer units here does.
int roundHalfAway(double v);

}  // namespace mirel
