#include "surface/font_mapper.h"

#include "surface/font_description.h"

#include <QFontDatabase>

#include <array>

namespace mirel {
namespace {

constexpr auto kSerifCjk = u"Noto Serif CJK SC";
constexpr auto kSansCjk = u"Noto Sans CJK SC";
constexpr auto kKai = u"AR PL UKai CN";
constexpr auto kMing = u"AR PL UMing CN";

struct FaceRow {
    std::array<const char16_t*, 6> names;  // document names, unused = nullptr
    std::array<const char16_t*, 3> fonts;  // installed fonts to try in order
    bool cjk;
};

// Song (Ming) faces go to the serif CJK font, Hei to the sans, Kai and
// Li (no clerical font is packaged) to the brush-style Kai, Fangsong to Ming.
const FaceRow kTable[] = {
    {{u"宋体", u"新宋体", u"SimSun", u"NSimSun", u"华文宋体", u"华文中宋"}, {kSerifCjk, kMing, nullptr}, true},
    {{u"黑体", u"SimHei", u"微软雅黑", u"Microsoft YaHei", u"华文黑体", u"幼圆"}, {kSansCjk, kSerifCjk, nullptr}, true},
    {{u"楷体", u"楷体_GB2312", u"KaiTi", u"KaiTi_GB2312", u"华文楷体", nullptr}, {kKai, kSerifCjk, nullptr}, true},
    {{u"仿宋", u"仿宋_GB2312", u"FangSong", u"FangSong_GB2312", u"华文仿宋", nullptr}, {kMing, kSerifCjk, nullptr}, true},
    {{u"隶书", u"LiSu", u"华文隶书", u"方正舒体", u"华文行楷", nullptr}, {kKai, kSerifCjk, nullptr}, true},
    {{u"Times New Roman", u"Times", u"Georgia", nullptr, nullptr, nullptr}, {u"DejaVu Serif", nullptr, nullptr}, false},
    {{u"Arial", u"Helvetica", u"Tahoma", u"Verdana", u"MS Sans Serif", nullptr}, {u"DejaVu Sans", nullptr, nullptr}, false},
    {{u"Courier New", u"Courier", u"Fixedsys", nullptr, nullptr, nullptr}, {u"DejaVu Sans Mono", nullptr, nullptr}, false},
};

QString stripVertical(const QString& face)
{
    // "@宋体" names the vertical variant of 宋体; the glyphs are the same.
    return face.startsWith(u'@') ? face.mid(1) : face;
}

bool isInstalled(const QString& family)
{
    return QFontDatabase::hasFamily(family);
}

}  // namespace

FontMapper& FontMapper::instance()
{
    static FontMapper mapper;
    return mapper;
}

QStringList FontMapper::tableCandidates(const QString& faceName, bool* cjk)
{
    const QString face = stripVertical(faceName).trimmed();
    for (const FaceRow& row : kTable) {
        for (const char16_t* name : row.names) {
            if (name && face.compare(QString::fromUtf16(name), Qt::CaseInsensitive) == 0) {
                QStringList out;
                for (const char16_t* f : row.fonts)
                    if (f)
                        out << QString::fromUtf16(f);
                if (cjk)
                    *cjk = row.cjk;
                return out;
            }
        }
    }
    return {};
}

ResolvedFace FontMapper::resolve(const QString& faceName, int charSet) const
{
    const QString key = QString::number(charSet) + u'|' + faceName;
    std::lock_guard lock(mutex_);
    auto it = cache_.find(key);
    if (it != cache_.end())
        return it->second;
    ResolvedFace r = resolveUncached(faceName, charSet);
    cache_.emplace(key, r);
    return r;
}

ResolvedFace FontMapper::resolveUncached(const QString& faceName, int charSet) const
{
    ResolvedFace r;
    bool tableCjk = false;
    QStringList wanted = tableCandidates(faceName, &tableCjk);
    const QString face = stripVertical(faceName).trimmed();
    if (!wanted.isEmpty()) {
        r.cjk = tableCjk;
    } else if (!face.isEmpty() && isInstalled(face)) {
        wanted << face;
        r.cjk = QFontDatabase::writingSystems(face).contains(QFontDatabase::SimplifiedChinese);
    } else {
        // Unknown face: Chinese names and Chinese text fall back to 宋体,
        // everything else to a sans face.
        bool asciiName = true;
        for (QChar ch : face)
            asciiName = asciiName && ch.unicode() < 0x80;
        if (charSet == CharSet::GB2312 || !asciiName) {
            wanted << QString::fromUtf16(kSerifCjk) << QString::fromUtf16(kMing);
            r.cjk = true;
        } else {
            wanted << QStringLiteral("DejaVu Sans");
        }
    }
    // Characters a Latin face lacks come from the Chinese fonts, and the
    // other way round.
    wanted << QString::fromUtf16(kSerifCjk) << QString::fromUtf16(kMing) << QStringLiteral("DejaVu Sans");

    for (const QString& f : wanted)
        if (!r.families.contains(f) && isInstalled(f))
            r.families << f;
    if (r.families.isEmpty())
        r.families << QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    return r;
}

QStringList FontMapper::availableFaceNames() const
{
    QStringList out;
    for (const FaceRow& row : kTable) {
        if (!row.cjk)
            continue;
        bool any = false;
        for (const char16_t* f : row.fonts)
            any = any || (f && isInstalled(QString::fromUtf16(f)));
        if (!any)
            continue;
        for (const char16_t* name : row.names)
            if (name && QString::fromUtf16(name).front().unicode() >= 0x80)
                out << QString::fromUtf16(name);
    }
    for (const QString& f : QFontDatabase::families())
        if (!out.contains(f))
            out << f;
    return out;
}

}  // namespace mirel
