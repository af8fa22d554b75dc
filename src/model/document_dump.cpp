#include "model/document_dump.h"

#include "model/basic_obj.h"
#include "model/doc_info.h"
#include "model/mirel_data.h"
#include "model/table_page.h"
#include "model/work_form.h"
#include "platform/gbk.h"
#include "text/sentence.h"
#include "text/text_obj.h"
#include "text/text_row.h"

#include <sstream>

namespace mirel {

namespace {

std::string Utf8(const std::string& gbk)
{
    return GbkToUtf8(gbk).text;
}

std::string RectText(const Rect& r)
{
    std::ostringstream s;
    s << "(" << r.left << "," << r.top << "," << r.right << "," << r.bottom << ")";
    return s.str();
}

class Dumper {
public:
    std::string Take() { return out_.str(); }

    void Line(int depth, const std::string& text) { out_ << std::string(depth * 2, ' ') << text << '\n'; }

    void Object(int depth, const CBasicObj& obj)
    {
        std::string head = std::string(obj.GetClass().name) + " " + RectText(obj.GetRect());
        if (!obj.GetName().empty())
            head += " name=\"" + Utf8(obj.GetName()) + "\"";
        if (obj.GetLock())
            head += " lock=" + std::to_string(obj.GetLock());
        if (obj.GetNoPrint())
            head += " noPrint=1";
        if (!obj.IsAboveText())
            head += " below";
        if (const CTextObj* t = DynamicCast<CTextObj>(&obj))
            head += " flow=" + std::to_string(t->GetFlowIndex()) + " rows=" + std::to_string(t->RowCount());
        Line(depth, head);
        if (const CTextObj* t = DynamicCast<CTextObj>(&obj))
            Text(depth + 1, *t);
        for (int i = 0; i < obj.ChildCount(); ++i)
            Object(depth + 1, *obj.GetChild(i));
    }

    void Text(int depth, const CTextObj& t)
    {
        int offset = 0;
        for (int r = 0; r < t.RowCount(); ++r) {
            const CTextRow& row = *t.GetRow(r);
            const auto& p = row.Paragraph();
            Line(depth, "row " + std::to_string(r) + " offset=" + std::to_string(offset) + " " +
                            RectText(row.GetRect()) + " align=" + std::to_string(p.alignment) +
                            " space=" + std::to_string(p.lineSpace) + " indent=" + std::to_string(p.firstLineIndent));
            for (const auto& s : row.Sentences()) {
                Sentence(depth + 1, *s);
                offset += s->GetTextLength();
            }
        }
    }

    void Sentence(int depth, const CSentence& s)
    {
        const auto& a = s.Attributes();
        std::ostringstream line;
        line << "sentence " << RectText(s.GetRect()) << " face=" << Utf8(a.faceName) << " size=" << a.sizeCode;
        if (a.weight != 400)
            line << " weight=" << a.weight;
        if (a.italic)
            line << " italic";
        if (a.underline)
            line << " underline";
        if (a.strikeOut)
            line << " strike";
        if (a.color)
            line << " color=" << std::hex << a.color << std::dec;
        if (a.backColor != 0xFFFFFF)
            line << " back=" << std::hex << a.backColor << std::dec;
        if (a.senType)
            line << " script=" << a.senType;
        if (a.scale != 100)
            line << " scale=" << a.scale;
        if (a.effect)
            line << " effect=" << a.effect;
        if (!a.autoCommand.empty())
            line << " command=\"" << Utf8(a.autoCommand) << "\"";
        // The text in UTF-8 with the paragraph mark shown as ¶.
        std::string text;
        const std::string& cells = s.GetText();
        for (size_t i = 0; i + 1 < cells.size(); i += 2) {
            const unsigned char c = cells[i];
            if (c == '\r' && cells[i + 1] == 0)
                text += "¶";
            else if (c == 0x16 && cells[i + 1] == 0)
                text += "[object]";
            else if (c >= 0x80)
                text += Utf8(cells.substr(i, 2));
            else if (c >= 0x20 && c != 0x7F)
                text += static_cast<char>(c);
            else
                text += "?";
        }
        line << " \"" << text << "\"";
        Line(depth, line.str());
        if (s.FollowObj())
            Object(depth + 1, *s.FollowObj());
    }

private:
    std::ostringstream out_;
};

}  // namespace

std::string DumpDocument(const CMirelData& doc)
{
    Dumper d;
    d.Line(0, "document version=" + std::to_string(doc.fileVersion) + " charset=" + std::to_string(doc.charSet) +
                  " counter=" + std::to_string(doc.workFormCounter) + " protect=" + std::to_string(doc.protectType) +
                  (doc.filePassword.empty() ? "" : " password") + " workforms=" + std::to_string(doc.WorkFormCount()));
    for (int w = 0; w < doc.WorkFormCount(); ++w) {
        const CWorkForm& wf = *doc.GetWorkForm(w);
        std::ostringstream head;
        head << "workform \"" << Utf8(wf.name) << "\" id=0x" << std::hex << wf.id << std::dec
             << " page=" << wf.pageWidth << "x" << wf.pageHeight << " margins=(" << wf.marginLeft << ","
             << wf.marginTop << "," << wf.marginRight << "," << wf.marginBottom << ") columns=" << wf.columnCount
             << " gap=" << wf.columnGap << " numbering=" << wf.pageNumberFormat << "/" << wf.pageNumberPosition;
        if (!wf.sheetPassword.empty())
            head << " sheet-password";
        if (!wf.watermarkText.empty())
            head << " watermark=\"" << Utf8(wf.watermarkText) << "\"";
        d.Line(1, head.str());
        for (int p = 0; p < wf.PageCount(); ++p) {
            const CTablePage& page = *wf.GetPage(p);
            d.Line(2, "page " + std::to_string(p) + " columns=" + std::to_string(page.TextColumns().size()) +
                          " objects=" + std::to_string(page.Objects().size()));
            for (const auto& col : page.TextColumns())
                d.Object(3, *col);
            for (const auto& obj : page.Objects())
                d.Object(3, *obj);
        }
    }
    if (const CDocInfo* info = doc.FindDocInfo())
        d.Line(1, "info title=\"" + Utf8(info->title) + "\" author=\"" + Utf8(info->author) + "\" company=\"" +
                      Utf8(info->company) + "\"");
    return d.Take();
}

}  // namespace mirel
