// Text: measured with the surface's metrics provider, placed by the
// alignment flags and the escapement, drawn character by character at the
// measured (or given) advances so that what is drawn matches what layout
// measured.

#include "surface/surface.h"

#include "surface/font_mapper.h"
#include "surface/qt_font_metrics.h"

#include <algorithm>
#include <cmath>

namespace mirel {

QTransform Surface::TextRun::frame() const
{
    QTransform t = QTransform::fromTranslate(origin.x(), origin.y());
    if (angle != 0)
        t.rotate(-angle);
    return t;
}

QFont Surface::qtFont(const FontSpec& fontSpec) const
{
    const ResolvedFace face = FontMapper::instance().resolve(fontSpec.faceName, fontSpec.charSet);
    QFont f;
    f.setFamilies(face.families);
    // Absurd sizes from damaged documents are held to what a glyph cache
    // can take.
    const double em = std::clamp(metrics_->emSize(fontSpec), 1.0, 32767.0);
    f.setPixelSize(static_cast<int>(std::lround(em)));
    f.setWeight(static_cast<QFont::Weight>(normalizedWeight(fontSpec.weight)));
    f.setItalic(fontSpec.italic);
    f.setKerning(false);
    // Positions come from the metrics; hinting may only touch glyph shapes,
    // and printers get none at all.
    f.setHintingPreference(device_.isPrinter ? QFont::PreferNoHinting
                                             : QFont::PreferVerticalHinting);
    return f;
}

FontMetricsValues Surface::textMetrics() const
{
    return metrics_->metrics(state_.font);
}

QSize Surface::textExtent(QStringView text) const
{
    return QSize(metrics_->textWidth(state_.font, text), metrics_->metrics(state_.font).height);
}

std::vector<int> Surface::charWidths(QStringView text) const
{
    return metrics_->charWidths(state_.font, text);
}

Surface::TextRun Surface::layoutText(QPoint p, QStringView text,
                                     std::span<const int> advances) const
{
    const FontSpec& fontSpec = state_.font;
    TextRun run;
    const std::vector<int> natural = metrics_->charWidths(fontSpec, text);
    double x = 0;
    std::size_t i = 0;
    for (const uint u : text.toUcs4()) {
        const char32_t c = u;
        run.chars.push_back(QString::fromUcs4(&c, 1));
        run.offsets.push_back(x);
        x += i < advances.size() ? advances[i] : natural[i];
        ++i;
    }
    run.width = x;
    const FontMetricsValues m = metrics_->metrics(fontSpec);
    run.ascent = m.ascent;
    run.descent = m.descent;

    switch (state_.textAlign & TextAlign::HorizontalMask) {
    case TextAlign::Center: run.left = -std::floor(run.width / 2); break;
    case TextAlign::Right: run.left = -run.width; break;
    default: run.left = 0; break;
    }
    for (double& o : run.offsets)
        o += run.left;
    switch (state_.textAlign & TextAlign::VerticalMask) {
    case TextAlign::Baseline: run.baseline = 0; break;
    case TextAlign::Bottom: run.baseline = -run.descent; break;
    default: run.baseline = run.ascent; break;
    }

    run.origin = toDevice(p);
    run.angle = fontSpec.escapement / 10.0;
    run.fontSpec = fontSpec;
    run.scaleX = metrics_->horizontalScale(fontSpec);
    run.underline = fontSpec.underline;
    run.strikeOut = fontSpec.strikeOut;
    run.color = state_.textColor;
    if (state_.bkMode == BkMode::Opaque)
        run.background = state_.bkColor;
    return run;
}

void Surface::emitText(TextRun run)
{
    if (pathOpen()) {
        // Glyph outlines become part of the path.
        const QTransform frame = run.frame();
        const QFont font = qtFont(run.fontSpec);
        for (std::size_t i = 0; i < run.chars.size(); ++i) {
            QPainterPath glyph;
            glyph.addText(QPointF(0, 0), font, run.chars[i]);
            QTransform t = QTransform::fromTranslate(run.offsets[i], run.baseline);
            t.scale(run.scaleX, 1);
            path_.addPath((t * frame).map(glyph));
        }
        return;
    }
    if (run.chars.empty() && !run.opaqueRect)
        return;
    renderText(run);
}

void Surface::textOut(QPoint p, QStringView text, std::span<const int> advances)
{
    emitText(layoutText(p, text, advances));
}

void Surface::extTextOut(QPoint p, unsigned options, const Box& rect, QStringView text,
                         std::span<const int> advances)
{
    TextRun run = layoutText(p, text, advances);
    const QRect dev = rect.normalized().toQRect().translated(state_.origin);
    if (options & TextOutOption::Opaque) {
        run.opaqueRect = dev;
        run.opaqueColor = state_.bkColor;
    }
    if (options & TextOutOption::Clipped)
        run.clipRect = dev;
    emitText(std::move(run));
}

}  // namespace mirel
