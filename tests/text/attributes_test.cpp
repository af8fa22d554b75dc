// The attribute records: size resolution and the legacy sizes, the size
// lists, Set and Matches by code, equality for merging, face names, cells.
#include "text/attributes.h"

#include "model/basic_obj.h"
#include "support/bytes.h"
#include "text/emend.h"
#include "text_support.h"

#include <gtest/gtest.h>

using namespace mirel;
using mirel::test::Cells;
using mirel::test::Gbk;

TEST(Attributes, SizeResolution)
{
    struct Case {
        int code, hundredths;
    };
    const Case cases[] = {
        {0, 1267},  {-1, 1110}, {-2, 966},   {-3, 842},  {-4, 740},  {-5, 637}, {-6, 555},  {-7, 493},
        {-8, 425},  {-9, 370},  {-10, 315},  {-11, 281}, {-12, 247}, {-13, 221}, {-14, 185},
        // below the table: like 五号
        {-15, 370}, {-20, 370}, {-1000, 370},
        // points: × 2540 / 72, rounded half away from zero
        {12, 423},  {10, 353},  {72, 2540},  {1, 35},    {5, 176},   {748, 26388},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SizeToHundredthsMm(c.code), c.hundredths) << "size code " << c.code;
}

TEST(Attributes, LegacySizeConversion)
{
    struct Case {
        int stored, loaded;
    };
    const Case cases[] = {
        {370, 10}, {185, 5}, {388, 11}, {1267, 36}, {26400, 748}, {1693, 48},
        {184, 184}, {100, 100}, {12, 12}, {-9, -9}, {0, 0},   // below 185: kept
        {500, 500}, {371, 371}, {30000, 30000},               // not in the table: kept
    };
    for (const Case& c : cases)
        EXPECT_EQ(ConvertLegacySize(c.stored), c.loaded) << "stored " << c.stored;
}

TEST(Attributes, SizeListsHoldNamesThenPoints)
{
    const auto list = FontSizeChoices();
    ASSERT_EQ(list.size(), 41u);
    const char* names[] = {"初号", "小初号", "一号", "小一号", "二号", "小二号", "三号", "四号",
                           "小四号", "五号", "小五号", "六号", "小六号", "七号", "小七号"};
    for (int i = 0; i < 15; ++i) {
        EXPECT_STREQ(list[i].name, names[i]);
        EXPECT_EQ(list[i].sizeCode, -i);
    }
    const int points[] = {5, 6, 7, 8, 9, 10, 11, 12, 14, 16, 18, 21, 24, 27, 31, 36, 48, 72, 96, 128, 168, 272, 405,
                          524, 624, 748};
    for (int i = 0; i < 26; ++i) {
        EXPECT_EQ(list[15 + i].sizeCode, points[i]);
        EXPECT_EQ(std::string(list[15 + i].name), std::to_string(points[i]));
    }
    for (const auto& entry : list)
        EXPECT_STRNE(entry.name, "小三号");

    // Filling a list from a code below -14 selects 五号.
    EXPECT_EQ(FontSizeChoiceIndex(-20), 9);
    EXPECT_EQ(NormaliseSizeCode(-20), -9);
    EXPECT_EQ(FontSizeChoiceIndex(-14), 14);
    EXPECT_EQ(FontSizeChoiceIndex(12), 22);
    EXPECT_EQ(FontSizeChoiceIndex(13), -1);

    // Choosing: names by position, numbers as points, 0 changes nothing.
    EXPECT_EQ(SizeCodeFromChoice("小四号"), -8);
    EXPECT_EQ(SizeCodeFromChoice("初号"), 0);
    EXPECT_EQ(SizeCodeFromChoice("12"), 12);
    EXPECT_EQ(SizeCodeFromChoice(" 13 "), 13);
    EXPECT_EQ(SizeCodeFromChoice("0"), std::nullopt);
    EXPECT_EQ(SizeCodeFromChoice("abc"), std::nullopt);
    EXPECT_EQ(SizeCodeFromChoice(""), std::nullopt);
}

TEST(Attributes, SentenceSetAndMatchesByCode)
{
    struct Case {
        int code;
        AttrValue value;
        AttrValue other;
    };
    const Case cases[] = {
        {kAttrSizeCode, -3, -9},     {kAttrColor, 0x0000FFu, 0},    {kAttrWeight, 700, 400},
        {kAttrItalic, 1, 0},         {kAttrCharMargin, 5, 0},       {kAttrUnderline, 1, 0},
        {kAttrStrikeOut, 1, 0},      {kAttrScale, 150, 100},        {kAttrSenType, 2, 0},
        {kAttrEffect, 3, 0},         {kAttrBackColor, 0x00FFFFu, 0xFFFFFFu},
    };
    for (const Case& c : cases) {
        SentenceAttributes a;
        EXPECT_TRUE(a.Matches(c.code, c.other)) << c.code;
        EXPECT_FALSE(a.Matches(c.code, c.value)) << c.code;
        ASSERT_TRUE(a.Set(c.code, c.value)) << c.code;
        EXPECT_TRUE(a.Matches(c.code, c.value)) << c.code;
        EXPECT_FALSE(a.Matches(c.code, c.other)) << c.code;
        EXPECT_FALSE(a.SameFormat(SentenceAttributes{})) << c.code;
    }
    // Text codes.
    SentenceAttributes a;
    EXPECT_TRUE(a.Set(kAttrFaceName, Gbk("黑体")));
    EXPECT_EQ(a.faceName, Gbk("黑体"));
    // Code 1 compares the value with 宋体, code 19 matches an empty value.
    EXPECT_TRUE(a.Matches(kAttrFaceName, Gbk("宋体")));
    EXPECT_FALSE(a.Matches(kAttrFaceName, Gbk("黑体")));
    EXPECT_TRUE(a.Set(kAttrAutoCommand, "MENU(a|b)"));
    EXPECT_EQ(a.autoCommand, "MENU(a|b)");
    EXPECT_TRUE(a.Matches(kAttrAutoCommand, ""));
    EXPECT_FALSE(a.Matches(kAttrAutoCommand, "MENU(a|b)"));
    // Code 36: no revision record counts as matching.
    EXPECT_TRUE(a.Matches(kAttrEmend, 0));
    // Codes that are not character codes are refused.
    for (int code : {0, 6, 12, 14, 15, 16, 29, 35, 36, 99})
        EXPECT_FALSE(a.Set(code, 1)) << code;
}

TEST(Attributes, ParagraphAndObjectCodes)
{
    ParagraphAttributes p;
    EXPECT_TRUE(p.Set(kAttrLineSpace, 35));
    EXPECT_TRUE(p.Set(kAttrAlignment, 1));
    EXPECT_TRUE(p.Set(kAttrVerAlignment, 0));
    EXPECT_TRUE(p.Set(kAttrFirstLineIndent, -35));
    EXPECT_EQ(p, (ParagraphAttributes{35, 1, 0, -35}));
    EXPECT_TRUE(p.Matches(kAttrFirstLineIndent, -35));
    EXPECT_FALSE(p.Matches(kAttrLineSpace, 20));
    EXPECT_FALSE(p.Set(kAttrWeight, 700));

    TextObjAttributes t;   // margins 15 in a new object
    EXPECT_EQ(t.leftMargin, 15);
    EXPECT_TRUE(t.Set(kAttrLeftMargin, 5));
    // The three margin codes all compare with the left margin.
    EXPECT_TRUE(t.Matches(kAttrLeftMargin, 5));
    EXPECT_TRUE(t.Matches(kAttrTopMargin, 5));
    EXPECT_TRUE(t.Matches(kAttrRightMargin, 5));
    EXPECT_FALSE(t.Matches(kAttrTopMargin, 15));
    // Text codes match an empty value.
    EXPECT_TRUE(t.Set(kAttrObjName, "name"));
    EXPECT_TRUE(t.Matches(kAttrObjName, ""));
    EXPECT_FALSE(t.Matches(kAttrObjName, "name"));
    EXPECT_TRUE(t.Set(kAttrRowLineColor, 0x00FF00u));
    EXPECT_TRUE(t.Matches(kAttrRowLineColor, 0x00FF00u));
    EXPECT_FALSE(t.Set(kAttrWeight, 1));
}

TEST(Attributes, EqualityForMerging)
{
    const SentenceAttributes base;
    EXPECT_TRUE(base.SameFormat(SentenceAttributes{}));
    SentenceAttributes face = base;
    face.faceName = "Arial";
    SentenceAttributes faceCase = base;
    faceCase.faceName = "arial";
    EXPECT_FALSE(face.SameFormat(faceCase));   // byte for byte
    SentenceAttributes command = base;
    command.autoCommand = "CHECKBOX()";
    EXPECT_FALSE(command.SameFormat(base));

    // Runs merge when neither carries an object, the attributes are equal
    // and, when both have text, the classes agree.
    CSentence latin, chinese, empty, other, holder;
    latin.SetText(Cells("ab"));
    chinese.SetText(Cells("中文"));
    other.SetText(Cells("cd"));
    other.MutableAttributes().weight = 700;
    EXPECT_TRUE(Mergeable(latin, latin));
    EXPECT_FALSE(Mergeable(latin, chinese));
    EXPECT_TRUE(Mergeable(latin, empty));
    EXPECT_TRUE(Mergeable(empty, chinese));
    EXPECT_FALSE(Mergeable(latin, other));
    holder.SetFollowObj(std::make_unique<CBasicObj>());
    EXPECT_FALSE(Mergeable(holder, empty));
    EXPECT_FALSE(Mergeable(empty, holder));
}

TEST(Attributes, PrintableFaceNames)
{
    struct Case {
        std::string name;
        bool ok;
    };
    const Case cases[] = {
        {"", true},           {"Arial", true},    {"@Arial", true},  {"@", false},
        {" Arial", false},    {"\x7F" "A", false}, {"\x01x", false}, {"@ x", false},
        // Chinese face names pass (their first byte is a lead byte).
        {Gbk("宋体"), true},   {"@" + Gbk("黑体"), true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsPrintableFaceName(c.name), c.ok) << test::Hex(c.name);
}

TEST(Attributes, TwoLatinLettersAndOneChineseCharacterAreSixBytesOfCells)
{
    const std::string cells = Cells("ab中");
    ASSERT_EQ(cells.size(), 6u);
    EXPECT_EQ(cells.substr(0, 4), std::string("a\0b\0", 4));
    EXPECT_EQ(cells.substr(4), Gbk("中"));
    EXPECT_EQ(FromCells(cells, false), "ab" + Gbk("中"));
    EXPECT_FALSE(IsSingleByteText(Cells("中ab")));
    EXPECT_TRUE(IsSingleByteText(Cells("\rab")));
    EXPECT_TRUE(IsSingleByteText(""));
}
