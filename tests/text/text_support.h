#pragma once
// Helpers for the text tests: cell text from UTF-8, a text box, layout on
// the fixed test metrics (every double-byte cell one em, every single-byte
// cell half an em).
#include "platform/cells.h"
#include "platform/gbk.h"
#include "surface/fixed_font_metrics.h"
#include "text/sentence.h"
#include "text/text_edit.h"
#include "text/text_layout.h"
#include "text/text_measure.h"
#include "text/text_obj.h"
#include "text/text_row.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace mirel::test {

// UTF-8 to cells ("\r" becomes the paragraph mark).
inline std::string Cells(std::string_view utf8)
{
    return ToCells(Utf8ToGbk(utf8).text, false);
}

// UTF-8 to GBK.
inline std::string Gbk(std::string_view utf8)
{
    return Utf8ToGbk(utf8).text;
}

// Cells back to UTF-8, the paragraph mark as "¶".
inline std::string Text(std::string_view cells)
{
    std::string out;
    for (size_t i = 0; i + 1 < cells.size(); i += 2) {
        if (cells[i] == '\r' && cells[i + 1] == 0)
            out += "¶";
        else
            out += GbkToUtf8(FromCells(cells.substr(i, 2), false)).text;
    }
    return out;
}

// The text of each row, for checking where rows break.
inline std::vector<std::string> RowTexts(const CTextObj& obj)
{
    std::vector<std::string> out;
    for (const auto& row : obj.Rows()) {
        std::string cells;
        for (const auto& s : row->Sentences())
            cells += s->GetText();
        out.push_back(Text(cells));
    }
    return out;
}

// Layout on fixed metrics for the life of the fixture.
class LayoutTest : public ::testing::Test {
protected:
    FixedFontMetrics metrics;
    ScopedLayoutMetrics scope{metrics};

    // A free text box: margins 15, inner width `inner` (0.1 mm), tall enough.
    static std::unique_ptr<CTextObj> Box(int inner, int height = 2000)
    {
        auto obj = std::make_unique<CTextObj>();
        obj->SetRect(0, 0, inner + 30, height);
        return obj;
    }
    static TextPosition Append(CTextObj& obj, std::string_view utf8, const SentenceAttributes& a = {})
    {
        return InsertCells(obj, obj.EndPosition(), Cells(utf8), a);
    }
};

}  // namespace mirel::test
