#include "text/text_measure.h"

#include "model/basic_obj.h"
#include "platform/cells.h"
#include "platform/gbk.h"
#include "platform/muldiv.h"
#include "surface/fixed_font_metrics.h"
#include "surface/qt_font_metrics.h"

#include <QGuiApplication>

#include <algorithm>
#include <array>

namespace mirel {

namespace {

const FontMetricsProvider* g_metrics = nullptr;
long g_tablesMeasured = 0;

const FontMetricsProvider& FallbackMetrics()
{
    static const FixedFontMetrics fixed;
    return fixed;
}

// Width tables of single-byte text, keyed by the complete font description
// that matters for measuring. Documents use a handful of fonts; 32 entries
// taken in rotation keep all of them in a document with several faces and
// sizes, and a miss costs 96 lookups in the metrics' own cache.
struct TableKey {
    const FontMetricsProvider* metrics = nullptr;
    std::string face;
    int size = 0;
    int weight = 0;
    int italic = 0;
    int scale = 0;
    bool operator==(const TableKey&) const = default;
};

struct TableEntry {
    TableKey key;
    std::array<int, 96> advance{};   // cells 0x20 … 0x7F
    bool used = false;
};

class WidthCache {
public:
    const int* Get(const TableKey& key)
    {
        if (last_ < entries_.size() && entries_[last_].used && entries_[last_].key == key)
            return entries_[last_].advance.data();
        for (size_t i = 0; i < entries_.size(); ++i) {
            if (entries_[i].used && entries_[i].key == key) {
                last_ = i;
                return entries_[i].advance.data();
            }
        }
        ++generation_;
        TableEntry& e = entries_[next_];
        last_ = next_;
        next_ = (next_ + 1) % entries_.size();
        e.key = key;
        e.used = true;
        Measure(e);
        return e.advance.data();
    }

private:
    static void Measure(TableEntry& e)
    {
        ++g_tablesMeasured;
        FontSpec fontSpec;
        fontSpec.height = -e.key.size;   // em in 0.01 mm
        fontSpec.weight = e.key.weight;
        fontSpec.italic = e.key.italic != 0;
        fontSpec.charSet = CharSet::Ansi;
        fontSpec.faceName = GbkToQString(e.key.face);
        const FontMetricsProvider& m = *e.key.metrics;
        if (e.key.scale != 100) {
            const int average = m.metrics(fontSpec).averageWidth;
            fontSpec.width = std::max(1, MulDiv(average, e.key.scale, 100));
        }
        for (int c = 0x20; c < 0x7F; ++c)
            e.advance[c - 0x20] = std::max(0, m.singleByteWidth(fontSpec, static_cast<unsigned char>(c)));
        // DEL has no glyph: it stands as wide as a space.
        e.advance[0x7F - 0x20] = e.advance[0];
    }

public:
    // Changes whenever an entry is replaced, so holders of a table pointer
    // know to look it up again.
    unsigned long generation_ = 0;

private:
    std::array<TableEntry, 32> entries_;
    size_t next_ = 0;
    size_t last_ = 0;
};

WidthCache& Cache()
{
    static WidthCache cache;
    return cache;
}

int SaneScale(int scale)
{
    return scale <= 0 ? 100 : std::min(scale, 1000);
}

}  // namespace

const FontMetricsProvider& LayoutMetrics()
{
    if (g_metrics)
        return *g_metrics;
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return QtFontMetrics::shared();
    return FallbackMetrics();
}

const FontMetricsProvider* SetLayoutMetrics(const FontMetricsProvider* metrics)
{
    const FontMetricsProvider* previous = g_metrics;
    g_metrics = metrics;
    return previous;
}

long WidthTablesMeasured()
{
    return g_tablesMeasured;
}

int ClampedSize(int hundredths)
{
    return std::clamp(hundredths, 1, 200000);
}

int RunSize(const SentenceAttributes& a)
{
    const int size = ClampedSize(SizeToHundredthsMm(a.sizeCode));
    return (a.senType == 1 || a.senType == 2) ? MulDiv(size, 75, 100) : size;
}

int InlineObjectWidth(const CBasicObj& obj)
{
    return std::clamp(obj.GetRect().Width(), 0, 100000);
}

int InlineObjectHeight(const CBasicObj& obj)
{
    return std::clamp(obj.GetRect().Height(), 0, 100000);
}

TextMeasure::TextMeasure(const SentenceAttributes& a)
    : attrs_(a),
      size_(ClampedSize(SizeToHundredthsMm(a.sizeCode))),
      margin_(std::clamp(a.charMargin, -10000, 10000) * 10),
      script_(a.senType == 1 || a.senType == 2)
{
    const int scale = SaneScale(a.scale);
    const bool vertical = !a.faceName.empty() && a.faceName.front() == '@';
    const int applied = vertical ? 10000 / scale : scale;
    doubleByte_ = std::max(0, MulDiv(size_ + margin_, applied, 100));
    if (script_)
        doubleByte_ = MulDiv(doubleByte_, 75, 100);
}

const int* TextMeasure::Table() const
{
    if (!table_ || generation_ != Cache().generation_) {
        TableKey key{&LayoutMetrics(), attrs_.faceName, size_, attrs_.weight, attrs_.italic, SaneScale(attrs_.scale)};
        table_ = Cache().Get(key);
        generation_ = Cache().generation_;
    }
    return table_;
}

int TextMeasure::CellAdvance(unsigned char first, unsigned char, const CBasicObj* follow) const
{
    if (first >= 0x80)
        return doubleByte_;
    if (first >= 0x20) {
        const int advance = std::max(0, Table()[first - 0x20] + margin_);
        return script_ ? MulDiv(advance, 75, 100) : advance;
    }
    if (first == 0x16 && follow)
        return InlineObjectWidth(*follow) * 10;
    return 0;   // "\r" and the other control bytes
}

int TextMeasure::TextWidth(std::string_view cells, const CBasicObj* follow) const
{
    long long sum = 0;
    const size_t count = CellCount(cells);
    size_t i = CellAt(cells, 0).IsParagraphMark() ? 1 : 0;
    for (; i < count; ++i) {
        const Cell c = CellAt(cells, i);
        sum += CellAdvance(c.first, c.second, follow);
    }
    return static_cast<int>(std::min<long long>((sum + 5) / 10, 1 << 30));
}

}  // namespace mirel
