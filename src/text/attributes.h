#pragma once
// The attribute records of text: characters (a sentence and the typing
// attributes), paragraphs (every row of the paragraph carries a copy) and
// text objects. Attribute codes name each property across the text engine,
// the host commands, the property pages and the file.
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

class CBasicObj;
class CEmendInfo;

namespace mirel {

struct AttrValue;

enum AttrCode : int {
    kAttrFaceName = 1,
    kAttrSizeCode = 2,
    kAttrColor = 3,
    kAttrWeight = 4,
    kAttrItalic = 5,
    kAttrVerAlignment = 6,
    kAttrCharMargin = 7,
    kAttrUnderline = 8,
    kAttrStrikeOut = 9,
    kAttrScale = 10,
    kAttrSenType = 11,
    kAttrAlignment = 14,
    kAttrLineSpace = 15,
    kAttrLeftMargin = 16,
    kAttrTopMargin = 17,
    kAttrRightMargin = 18,
    kAttrAutoCommand = 19,
    kAttrQuickMenuName = 26,
    kAttrQuickInputReplace = 27,
    kAttrObjName = 28,
    kAttrFollowObj = 29,
    kAttrEffect = 31,
    kAttrBackColor = 32,
    kAttrRowLine = 33,
    kAttrRowLineColor = 34,
    kAttrFirstLineIndent = 35,
    kAttrEmend = 36,
    kAttrQuickInputList = 37,
};

// "宋体" in GBK.
inline const std::string kDefaultFace = "\xCB\xCE\xCC\xE5";

struct SentenceAttributes {
    std::string faceName = kDefaultFace;
    uint32_t color = 0;
    int32_t weight = 400;
    int32_t italic = 0;
    int32_t charMargin = 0;
    int32_t underline = 0;
    int32_t strikeOut = 0;
    int32_t scale = 100;
    int32_t senType = 0;
    std::string autoCommand;
    uint32_t backColor = 0xFFFFFF;
    int32_t effect = 0;
    int32_t sizeCode = -9;
    // The revision record: shared between copies and never changed in place;
    // a change puts a new record in.
    std::shared_ptr<const CEmendInfo> emend;

    // Equal for merging runs: face names byte for byte, every integer member,
    // the command and the revision records. (The inline object of code 29
    // is held by the sentence itself and not compared.)
    bool SameFormat(const SentenceAttributes& o) const;

    // Sets the member named by a character code (1, 2, 3, 4, 5, 7, 8, 9, 10,
    // 11, 19, 31, 32); false for any other code.
    bool Set(int code, const AttrValue& value);
    // Does the member named by the code hold this value? Code 1 compares the
    // value with "宋体", code 19 matches an empty value, code 36 matches when
    // there is no revision record or it has no entries.
    bool Matches(int code, const AttrValue& value) const;
};

struct ParagraphAttributes {
    int32_t lineSpace = 20;
    int32_t alignment = 3;
    int32_t verAlignment = 2;
    int32_t firstLineIndent = 0;
    friend bool operator==(const ParagraphAttributes&, const ParagraphAttributes&) = default;

    // Codes 6, 14, 15 and 35.
    bool Set(int code, const AttrValue& value);
    bool Matches(int code, const AttrValue& value) const;
};

struct TextObjAttributes {
    int32_t leftMargin = 15;
    int32_t topMargin = 15;
    int32_t rightMargin = 15;
    std::string quickMenuName;
    int32_t quickInputReplace = 1;
    std::string objName;
    int32_t rowLine = 0;
    uint32_t rowLineColor = 0;
    std::string quickInputList;

    // The reference the archive compares with: margins of 5.
    static TextObjAttributes ArchiveDefaults();

    // Codes 16, 17, 18, 26, 27, 28, 33, 34 and 37.
    bool Set(int code, const AttrValue& value);
    // Codes 16, 17 and 18 all compare with leftMargin; a text code matches
    // an empty value.
    bool Matches(int code, const AttrValue& value) const;
};

// A font size resolved to 0.01 mm: points, or a Chinese size code 0 … -14
// (codes below -14 count as -9).
int SizeToHundredthsMm(int sizeCode);
// A size read from an old file in 0.01 mm, turned into points where it is
// one of the old table's values.
int ConvertLegacySize(int value);

// The size lists of the font pages and the seal dialog: the fifteen Chinese
// size names (初号 … 小七号, code 0 … -14), then the point sizes 5 … 748.
struct FontSizeChoice {
    const char* name;   // UTF-8, as shown
    int sizeCode;
};
std::span<const FontSizeChoice> FontSizeChoices();
// A size code as a list shows it: codes below -14 become -9.
int NormaliseSizeCode(int sizeCode);
// The list entry to select for a size code, or -1 when it is not listed.
int FontSizeChoiceIndex(int sizeCode);
// The size code an entry of the list stands for: a listed name gives its
// code, a number gives points; a number that reads as 0 (or no number)
// changes nothing and gives no value.
std::optional<int> SizeCodeFromChoice(std::string_view utf8);

// A face name that can be given to text: an empty name passes; a leading
// "@" (vertical faces) is skipped; the next byte must be a printable one
// (above 0x20 and not 0x7F). Chinese names (lead bytes 0x80 and above) pass.
bool IsPrintableFaceName(std::string_view gbk);

}  // namespace mirel
