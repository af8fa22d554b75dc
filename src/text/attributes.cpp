#include "text/attributes.h"

#include "model/basic_obj.h"
#include "platform/muldiv.h"
#include "text/emend.h"

#include <array>
#include <charconv>

namespace mirel {

bool SentenceAttributes::SameFormat(const SentenceAttributes& o) const
{
    const bool emendEqual = (!emend && !o.emend) || (emend && o.emend && emend->SameAs(*o.emend));
    return emendEqual && faceName == o.faceName && color == o.color && weight == o.weight && italic == o.italic &&
           charMargin == o.charMargin && underline == o.underline && strikeOut == o.strikeOut && scale == o.scale &&
           senType == o.senType && autoCommand == o.autoCommand && backColor == o.backColor && effect == o.effect &&
           sizeCode == o.sizeCode;
}

bool SentenceAttributes::Set(int code, const AttrValue& v)
{
    switch (code) {
    case kAttrFaceName: faceName = v.text; return true;
    case kAttrSizeCode: sizeCode = v.Int(); return true;
    case kAttrColor: color = v.Color(); return true;
    case kAttrWeight: weight = v.Int(); return true;
    case kAttrItalic: italic = v.Int(); return true;
    case kAttrCharMargin: charMargin = v.Int(); return true;
    case kAttrUnderline: underline = v.Int(); return true;
    case kAttrStrikeOut: strikeOut = v.Int(); return true;
    case kAttrScale: scale = v.Int(); return true;
    case kAttrSenType: senType = v.Int(); return true;
    case kAttrAutoCommand: autoCommand = v.text; return true;
    case kAttrEffect: effect = v.Int(); return true;
    case kAttrBackColor: backColor = v.Color(); return true;
    default: return false;
    }
}

bool SentenceAttributes::Matches(int code, const AttrValue& v) const
{
    switch (code) {
    case kAttrFaceName: return v.text == kDefaultFace;
    case kAttrSizeCode: return sizeCode == v.Int();
    case kAttrColor: return color == v.Color();
    case kAttrWeight: return weight == v.Int();
    case kAttrItalic: return italic == v.Int();
    case kAttrCharMargin: return charMargin == v.Int();
    case kAttrUnderline: return underline == v.Int();
    case kAttrStrikeOut: return strikeOut == v.Int();
    case kAttrScale: return scale == v.Int();
    case kAttrSenType: return senType == v.Int();
    case kAttrAutoCommand: return v.text.empty();
    case kAttrEffect: return effect == v.Int();
    case kAttrBackColor: return backColor == v.Color();
    case kAttrEmend: return !emend || emend->IsEmpty();
    default: return false;
    }
}

bool ParagraphAttributes::Set(int code, const AttrValue& v)
{
    switch (code) {
    case kAttrVerAlignment: verAlignment = v.Int(); return true;
    case kAttrAlignment: alignment = v.Int(); return true;
    case kAttrLineSpace: lineSpace = v.Int(); return true;
    case kAttrFirstLineIndent: firstLineIndent = v.Int(); return true;
    default: return false;
    }
}

bool ParagraphAttributes::Matches(int code, const AttrValue& v) const
{
    switch (code) {
    case kAttrVerAlignment: return verAlignment == v.Int();
    case kAttrAlignment: return alignment == v.Int();
    case kAttrLineSpace: return lineSpace == v.Int();
    case kAttrFirstLineIndent: return firstLineIndent == v.Int();
    default: return false;
    }
}

bool TextObjAttributes::Set(int code, const AttrValue& v)
{
    switch (code) {
    case kAttrLeftMargin: leftMargin = v.Int(); return true;
    case kAttrTopMargin: topMargin = v.Int(); return true;
    case kAttrRightMargin: rightMargin = v.Int(); return true;
    case kAttrQuickMenuName: quickMenuName = v.text; return true;
    case kAttrQuickInputReplace: quickInputReplace = v.Int(); return true;
    case kAttrObjName: objName = v.text; return true;
    case kAttrRowLine: rowLine = v.Int(); return true;
    case kAttrRowLineColor: rowLineColor = v.Color(); return true;
    case kAttrQuickInputList: quickInputList = v.text; return true;
    default: return false;
    }
}

bool TextObjAttributes::Matches(int code, const AttrValue& v) const
{
    switch (code) {
    case kAttrLeftMargin:
    case kAttrTopMargin:
    case kAttrRightMargin: return leftMargin == v.Int();
    case kAttrQuickMenuName:
    case kAttrObjName:
    case kAttrQuickInputList: return v.text.empty();
    case kAttrQuickInputReplace: return quickInputReplace == v.Int();
    case kAttrRowLine: return rowLine == v.Int();
    case kAttrRowLineColor: return rowLineColor == v.Color();
    default: return false;
    }
}

TextObjAttributes TextObjAttributes::ArchiveDefaults()
{
    TextObjAttributes t;
    t.leftMargin = t.topMargin = t.rightMargin = 5;
    return t;
}

namespace {
// Chinese sizes 初号 (0) … 小七号 (-14) in 0.01 mm.
constexpr std::array<int, 15> kChineseSizes = {1267, 1110, 966, 842, 740, 637, 555, 493,
                                               425,  370,  315, 281, 247, 221, 185};
constexpr std::array<int, 26> kLegacyHundredths = {185,  221,  247,  281,  315,  370,   388,   425,   493,
                                                   555,  637,  740,  842,  966,  1110,  1267,  1693,  2540,
                                                   3386, 4515, 5926, 9600, 14300, 18500, 22000, 26400};
constexpr std::array<int, 26> kLegacyPoints = {5,  6,  7,  8,  9,  10, 11,  12,  14,  16,  18,  21,  24,
                                               27, 31, 36, 48, 72, 96, 128, 168, 272, 405, 524, 624, 748};
}  // namespace

int SizeToHundredthsMm(int sizeCode)
{
    if (sizeCode > 0)
        return MulDiv(sizeCode, 2540, 72);
    if (sizeCode < -14)
        sizeCode = -9;
    return kChineseSizes[static_cast<size_t>(-sizeCode)];
}

int ConvertLegacySize(int value)
{
    if (value < 185)
        return value;
    for (size_t i = 0; i < kLegacyHundredths.size(); ++i)
        if (kLegacyHundredths[i] == value)
            return kLegacyPoints[i] == 0 ? -9 : kLegacyPoints[i];
    return value;
}

namespace {
constexpr FontSizeChoice kSizeChoices[] = {
    {"初号", 0},   {"小初号", -1}, {"一号", -2},  {"小一号", -3}, {"二号", -4}, {"小二号", -5}, {"三号", -6},
    {"四号", -7},  {"小四号", -8}, {"五号", -9},  {"小五号", -10}, {"六号", -11}, {"小六号", -12}, {"七号", -13},
    {"小七号", -14}, {"5", 5},     {"6", 6},      {"7", 7},       {"8", 8},     {"9", 9},       {"10", 10},
    {"11", 11},    {"12", 12},     {"14", 14},    {"16", 16},     {"18", 18},   {"21", 21},     {"24", 24},
    {"27", 27},    {"31", 31},     {"36", 36},    {"48", 48},     {"72", 72},   {"96", 96},     {"128", 128},
    {"168", 168},  {"272", 272},   {"405", 405},  {"524", 524},   {"624", 624}, {"748", 748},
};
}  // namespace

std::span<const FontSizeChoice> FontSizeChoices()
{
    return kSizeChoices;
}

int NormaliseSizeCode(int sizeCode)
{
    return sizeCode < -14 ? -9 : sizeCode;
}

int FontSizeChoiceIndex(int sizeCode)
{
    const int code = NormaliseSizeCode(sizeCode);
    for (size_t i = 0; i < std::size(kSizeChoices); ++i)
        if (kSizeChoices[i].sizeCode == code)
            return static_cast<int>(i);
    return -1;
}

std::optional<int> SizeCodeFromChoice(std::string_view utf8)
{
    while (!utf8.empty() && (utf8.front() == ' ' || utf8.front() == '\t'))
        utf8.remove_prefix(1);
    while (!utf8.empty() && (utf8.back() == ' ' || utf8.back() == '\t'))
        utf8.remove_suffix(1);
    for (size_t i = 0; i < 15; ++i)
        if (utf8 == kSizeChoices[i].name)
            return kSizeChoices[i].sizeCode;
    int points = 0;
    const auto [end, ec] = std::from_chars(utf8.data(), utf8.data() + utf8.size(), points);
    if (ec != std::errc() || points <= 0)
        return std::nullopt;
    return points;
}

bool IsPrintableFaceName(std::string_view gbk)
{
    if (gbk.empty())
        return true;
    if (gbk.front() == '@')
        gbk.remove_prefix(1);
    if (gbk.empty())
        return false;
    const auto first = static_cast<unsigned char>(gbk.front());
    return first > 0x20 && first != 0x7F;
}

}  // namespace mirel
