#include "surface/qt_font_metrics.h"

#include <QFont>
#include <QFontDatabase>
#include <QHash>

#include <algorithm>

namespace mirel {

int normalizedWeight(int weight)
{
    return weight == 0 ? 400 : std::clamp(weight, 1, 1000);
}

const QtFontMetrics& QtFontMetrics::shared()
{
    // Never destroyed: its raw fonts must not outlive the application's
    // font database, which goes away before static objects do.
    static const QtFontMetrics* metrics = new QtFontMetrics;
    return *metrics;
}

std::size_t QtFontMetrics::StyleHash::operator()(const StyleKey& k) const
{
    return qHash(k.family) ^ (static_cast<std::size_t>(k.weight) << 1) ^ std::size_t(k.italic);
}

std::size_t QtFontMetrics::CharHash::operator()(const CharKey& k) const
{
    return qHash(k.families) ^ (static_cast<std::size_t>(k.c) * 2654435761u) ^
           (static_cast<std::size_t>(k.weight) << 20) ^ std::size_t(k.italic);
}

const QRawFont& QtFontMetrics::rawFont(const QString& family, int weight, bool italic) const
{
    StyleKey key{family, weight, italic};
    auto it = fonts_.find(key);
    if (it != fonts_.end())
        return it->second;
    QFont font(family);
    font.setPixelSize(kMeasureEm);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setItalic(italic);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::NoFontMerging);
    QRawFont raw = QRawFont::fromFont(font);
    return fonts_.emplace(key, raw).first->second;
}

FontMetricsProvider::FaceDesign QtFontMetrics::faceDesign(const FontSpec& fontSpec) const
{
    const ResolvedFace face = FontMapper::instance().resolve(fontSpec.faceName, fontSpec.charSet);
    const int weight = normalizedWeight(fontSpec.weight);
    std::lock_guard lock(mutex_);
    StyleKey key{face.families.front() + QLatin1String(face.cjk ? "|cjk" : "|"), weight, fontSpec.italic};
    auto it = designs_.find(key);
    if (it != designs_.end())
        return it->second;
    FaceDesign d;
    if (face.cjk) {
        // The ideographic em box of Chinese fonts: baseline 0.12 em above
        // the bottom, characters one em tall, Latin cells half an em.
        d = FaceDesign{0.88, 0.12, 0.5, 1.0};
    } else {
        const QRawFont& raw = rawFont(face.families.front(), weight, fontSpec.italic);
        if (raw.isValid()) {
            const double em = kMeasureEm;
            d = FaceDesign{raw.ascent() / em, raw.descent() / em, raw.averageCharWidth() / em,
                           raw.maxCharWidth() / em};
        }
    }
    designs_.emplace(key, d);
    return d;
}

double QtFontMetrics::advanceInEm(const FontSpec& fontSpec, char32_t c) const
{
    const ResolvedFace face = FontMapper::instance().resolve(fontSpec.faceName, fontSpec.charSet);
    const int weight = normalizedWeight(fontSpec.weight);
    std::lock_guard lock(mutex_);
    CharKey key{face.families.join(u'|'), weight, fontSpec.italic, c};
    auto it = advances_.find(key);
    if (it != advances_.end())
        return it->second;

    const QString text = QString::fromUcs4(&c, 1);
    const QRawFont* chosen = nullptr;
    for (const QString& family : face.families) {
        const QRawFont& raw = rawFont(family, weight, fontSpec.italic);
        if (raw.isValid() && raw.supportsCharacter(static_cast<uint>(c))) {
            chosen = &raw;
            break;
        }
    }
    if (!chosen)  // nobody has it: the primary font's missing-glyph box
        chosen = &rawFont(face.families.front(), weight, fontSpec.italic);
    double advance = 0;
    if (chosen->isValid()) {
        const QList<quint32> glyphs = chosen->glyphIndexesForString(text);
        const QList<QPointF> adv = chosen->advancesForGlyphIndexes(
            glyphs, QRawFont::SeparateAdvances | QRawFont::UseDesignMetrics);
        for (const QPointF& a : adv)
            advance += a.x();
    }
    advance /= kMeasureEm;
    advances_.emplace(key, advance);
    return advance;
}

}  // namespace mirel
