#pragma once
// Measuring text for layout. Widths are in 0.01 mm, integer arithmetic
// after measurement, so every device lays out the same rows:
//  - a double-byte character advances (size + charMargin × 10) × scale / 100,
//    whatever the face;
//  - single-byte cells take their advance from a width table of the font,
//    measured once per font description through the layout metrics and
//    kept in a small cache;
//  - "\r" and the other control bytes advance 0, 0x7F as a space, the
//    inline-object placeholder by the object's width.
// Super- and subscript runs measure 75 %.
#include "text/attributes.h"

#include <string_view>

class CBasicObj;

namespace mirel {

class FontMetricsProvider;

// The metrics layout measures with: the one set by SetLayoutMetrics, else
// the font files (QtFontMetrics) when a QGuiApplication exists, else the
// fixed test metrics.
const FontMetricsProvider& LayoutMetrics();
// Installs a provider (not owned; null restores the default); returns the
// previous one set, or null.
const FontMetricsProvider* SetLayoutMetrics(const FontMetricsProvider* metrics);

class ScopedLayoutMetrics {
public:
    explicit ScopedLayoutMetrics(const FontMetricsProvider& m) : previous_(SetLayoutMetrics(&m)) {}
    ~ScopedLayoutMetrics() { SetLayoutMetrics(previous_); }
    ScopedLayoutMetrics(const ScopedLayoutMetrics&) = delete;
    ScopedLayoutMetrics& operator=(const ScopedLayoutMetrics&) = delete;

private:
    const FontMetricsProvider* previous_;
};

// Sizes from documents are held to what layout can take: a resolved size
// of 0.01 mm … 2 m (in 0.01 mm).
int ClampedSize(int hundredths);
// The resolved size of a run in 0.01 mm, with the 75 % of super- and
// subscripts; clamped.
int RunSize(const SentenceAttributes& a);

// The measuring context of one run's attributes.
class TextMeasure {
public:
    explicit TextMeasure(const SentenceAttributes& a);

    // Advance of one cell in 0.01 mm (never negative).
    int CellAdvance(unsigned char first, unsigned char second, const CBasicObj* follow = nullptr) const;
    int DoubleByteAdvance() const { return doubleByte_; }
    // Width of a run's cell text in 0.1 mm: a leading paragraph mark is not
    // counted; (sum of advances + 5) / 10.
    int TextWidth(std::string_view cells, const CBasicObj* follow = nullptr) const;

private:
    const int* Table() const;

    const SentenceAttributes& attrs_;
    int size_ = 0;        // 0.01 mm, without the 75 %
    int margin_ = 0;      // charMargin × 10, clamped
    bool script_ = false; // super- or subscript: 75 %
    int doubleByte_ = 0;
    mutable const int* table_ = nullptr;
    mutable unsigned long generation_ = 0;
};

// Width of an inline object in 0.1 mm as layout sees it (clamped).
int InlineObjectWidth(const CBasicObj& obj);
int InlineObjectHeight(const CBasicObj& obj);

// How many width tables were measured since the start (for tests of the cache).
long WidthTablesMeasured();

}  // namespace mirel
