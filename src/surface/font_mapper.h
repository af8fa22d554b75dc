#pragma once
// Documents name fonts the way Chinese office documents do (宋体, 黑体, 楷体,
// 仿宋_GB2312 ...). Those names stay as written in the document; only when
// drawing and measuring are they mapped to fonts installed here.

#include <QString>
#include <QStringList>

#include <mutex>
#include <unordered_map>

namespace mirel {

struct ResolvedFace {
    // Installed families to use, best first; later entries supply the
    // characters the earlier ones lack. Never empty.
    QStringList families;
    // Chinese-style cell metrics: ascent 0.88 em, descent 0.12 em, no
    // internal leading, average width half an em (see FontMetricsProvider).
    bool cjk = false;
};

class FontMapper {
public:
    // The process-wide mapper (needs a QGuiApplication for the font database).
    static FontMapper& instance();

    ResolvedFace resolve(const QString& faceName, int charSet) const;

    // Face names to offer for choosing: the Chinese document names whose
    // fonts are installed, then every installed family.
    QStringList availableFaceNames() const;

    // The table entry a document face maps to, before checking what is
    // installed (empty when the name is not in the table).
    static QStringList tableCandidates(const QString& faceName, bool* cjk = nullptr);

private:
    FontMapper() = default;
    ResolvedFace resolveUncached(const QString& faceName, int charSet) const;

    mutable std::mutex mutex_;
    mutable std::unordered_map<QString, ResolvedFace> cache_;
};

}  // namespace mirel
