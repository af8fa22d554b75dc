#pragma once
// Font metrics from the installed font files, measured unhinted at a fixed
// 1000-pixel em and scaled, so the screen, printers, PDF and the converter
// all lay out the same. Nothing here depends on a screen or its resolution.
// Needs a QGuiApplication (the font database).

#include "surface/font_mapper.h"
#include "surface/font_metrics.h"

#include <QRawFont>

#include <mutex>
#include <unordered_map>

namespace mirel {

class QtFontMetrics : public FontMetricsProvider {
public:
    static constexpr int kMeasureEm = 1000;

    // A shared instance for surfaces that are given no provider.
    static const QtFontMetrics& shared();

protected:
    FaceDesign faceDesign(const FontSpec& fontSpec) const override;
    double advanceInEm(const FontSpec& fontSpec, char32_t c) const override;

private:
    struct StyleKey {
        QString family;
        int weight;
        bool italic;
        friend bool operator==(const StyleKey&, const StyleKey&) = default;
    };
    struct StyleHash {
        std::size_t operator()(const StyleKey& k) const;
    };
    struct CharKey {
        QString families;  // the resolved family list, joined
        int weight;
        bool italic;
        char32_t c;
        friend bool operator==(const CharKey&, const CharKey&) = default;
    };
    struct CharHash {
        std::size_t operator()(const CharKey& k) const;
    };

    const QRawFont& rawFont(const QString& family, int weight, bool italic) const;

    mutable std::mutex mutex_;
    mutable std::unordered_map<StyleKey, QRawFont, StyleHash> fonts_;
    mutable std::unordered_map<CharKey, double, CharHash> advances_;
    mutable std::unordered_map<StyleKey, FaceDesign, StyleHash> designs_;
};

// Weight as Qt takes it: 0 means normal, the rest clamped to 1..1000.
int normalizedWeight(int weight);

}  // namespace mirel
