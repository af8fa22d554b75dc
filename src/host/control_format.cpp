// MirelControl: the text format of the current object (the host's font and
// size boxes and format buttons), fonts and named objects.
#include "host/mirel_control.h"
#include "model/basic_obj.h"
#include "model/mirel_data.h"
#include "platform/gbk.h"
#include "platform/prompt.h"
#include "text/attributes.h"
#include "view/o_frame.h"
#include "view/table_view.h"
#include "view/text_tool.h"
#include "view/view_hooks.h"

#include <QFontDatabase>

namespace mirel {

int SizeCodeToPoints(int code)
{
    static constexpr int kPoints[] = { 42, 36, 26, 24, 22, 18, 16, 14, 12, 11, 9, 8, 7, 6, 5 };
    if (code > 0)
        return code;
    if (code >= -14)
        return kPoints[-code];
    return 11;
}

bool IsValidFontSize(int size)
{
    return (size >= 5 && size <= 747) || (size <= 0 && size >= -14);
}

} // namespace mirel

namespace {

constexpr char kBadFontSize[] = "设置的字号不合法！";
constexpr uint32_t kShadingColor = 0xC0C0C0; // RGB(192,192,192)
constexpr uint32_t kNoShading = 0xFFFFFF;
constexpr char kColorCaption[] = "文字颜色";

// The text tool when the caret stands in body text and no object is
// selected: formatting then goes to the text at the caret or the selection.
CTextTool* CaretTool(CTableView* view)
{
    if (!view || !view->TextToolActive() || !view->Selection().empty())
        return nullptr;
    return mirel::TextToolOf(*view);
}

} // namespace

mirel::TextFormat MirelControl::GetTextFormat() const
{
    mirel::TextFormat f;
    CTableView* view = View();
    if (!view)
        return f;
    if (const CTextTool* tool = CaretTool(view)) {
        const mirel::SentenceAttributes& a = tool->TypingAttributes();
        f.bold = a.weight != 400 ? 1 : 0;
        f.italic = a.italic != 0 ? 1 : 0;
        f.color = a.color;
        f.underline = a.underline != 0 ? 1 : 0;
        f.size = mirel::SizeCodeToPoints(a.sizeCode);
        f.faceName = mirel::GbkToUtf8(a.faceName).text;
        return f;
    }
    const CBasicObj* obj = view->CurrentObject();
    if (obj) {
        f.bold = obj->GetWeight() != 400 ? 1 : 0;
        f.italic = obj->GetItalic() != 0 ? 1 : 0;
        f.color = obj->GetTextColor();
        f.underline = obj->GetUnderline() != 0 ? 1 : 0;
        f.size = mirel::SizeCodeToPoints(obj->GetFontSize());
        f.faceName = mirel::GbkToUtf8(obj->GetFaceName()).text;
    }
    // At a caret the text tool knows the face and size of the typing
    // position.
    std::string face;
    int sizeCode = -9;
    if (view->TextToolActive() && view->TextTool()->CaretFormat(face, sizeCode)) {
        f.faceName = mirel::GbkToUtf8(face).text;
        f.size = mirel::SizeCodeToPoints(sizeCode);
    }
    return f;
}

bool MirelControl::SetTextFormat(const mirel::TextFormat& f)
{
    CTableView* view = View();
    const bool sizeOk = mirel::IsValidFontSize(f.size);
    if (!sizeOk)
        mirel::ShowComponentMessage(kBadFontSize, mirel::PromptIcon::Error);
    if (!view)
        return false;
    if (CTextTool* tool = CaretTool(view)) {
        // Only what differs from the caret's format is applied, so that a
        // click on one button is one undo step.
        const mirel::SentenceAttributes now = tool->TypingAttributes();
        const std::string faceGbk = mirel::Utf8ToGbk(f.faceName).text;
        const int weight = f.bold ? 700 : 400;
        if ((now.weight != 400) != (f.bold != 0))
            tool->SetFormatByCode(*view, mirel::kAttrWeight, weight);
        if ((now.italic != 0) != (f.italic != 0))
            tool->SetFormatByCode(*view, mirel::kAttrItalic, f.italic ? 1 : 0);
        if ((now.underline != 0) != (f.underline != 0))
            tool->SetFormatByCode(*view, mirel::kAttrUnderline, f.underline ? 1 : 0);
        if (now.color != f.color)
            tool->SetFormatByCode(*view, mirel::kAttrColor, f.color);
        if (sizeOk && mirel::SizeCodeToPoints(now.sizeCode) != mirel::SizeCodeToPoints(f.size))
            tool->SetFormatByCode(*view, mirel::kAttrSizeCode, f.size);
        if (!faceGbk.empty() && faceGbk != now.faceName)
            tool->SetFormatByCode(*view, mirel::kAttrFaceName, faceGbk);
        view->ReportFormatState();
        return sizeOk;
    }
    const std::vector<CBasicObj*> sel = view->Selection();
    if (sel.empty())
        return false;
    const std::string face = mirel::Utf8ToGbk(f.faceName).text;
    for (CBasicObj* obj : sel) {
        obj->SetWeight(view, f.bold ? 700 : 400);
        obj->SetItalic(view, f.italic ? 1 : 0);
        obj->SetUnderline(view, f.underline ? 1 : 0);
        obj->SetTextColor(view, f.color);
        if (sizeOk)
            obj->SetFontSize(view, f.size);
        if (!face.empty())
            obj->SetFaceName(view, face);
        view->Invalidate(CTableView::kInvalidateObject, obj);
    }
    frame_->GetDocumentData()->SetModified(true);
    view->ReportFormatState();
    return sizeOk;
}

bool MirelControl::ChooseTextColor(int64_t mode)
{
    uint32_t color = static_cast<uint32_t>(mode);
    if (mode == 1) {
        const std::optional<uint32_t> chosen = mirel::CurrentPrompt().AskColor(kColorCaption, GetTextFormat().color);
        if (!chosen)
            return false;
        color = *chosen;
    }
    CTableView* view = View();
    if (CTextTool* tool = CaretTool(view))
        return tool->SetFormatByCode(*view, mirel::kAttrColor, color & 0xFFFFFF);
    if (!view || view->Selection().empty())
        return false;
    for (CBasicObj* obj : view->Selection()) {
        obj->SetTextColor(view, color);
        view->Invalidate(CTableView::kInvalidateObject, obj);
    }
    frame_->GetDocumentData()->SetModified(true);
    return true;
}

namespace {

// Applies `apply` to every selected object; false when there is none.
template <class F> bool ForSelection(CTableView* view, CMirelData* doc, F apply)
{
    if (!view || view->Selection().empty())
        return false;
    for (CBasicObj* obj : view->Selection()) {
        apply(obj);
        view->Invalidate(CTableView::kInvalidateObject, obj);
    }
    doc->SetModified(true);
    return true;
}

} // namespace

bool MirelControl::GetShading() const
{
    CTableView* view = View();
    if (const CTextTool* tool = CaretTool(view))
        return tool->TypingAttributes().backColor == kShadingColor;
    const CBasicObj* obj = view ? view->CurrentObject() : nullptr;
    return obj && obj->GetBackColor() == kShadingColor;
}

bool MirelControl::SetShading(bool on)
{
    CTableView* view = View();
    if (CTextTool* tool = CaretTool(view))
        return tool->SetFormatByCode(*view, mirel::kAttrBackColor, on ? kShadingColor : kNoShading);
    return ForSelection(view, frame_->GetDocumentData(),
        [&](CBasicObj* obj) { obj->SetBackColor(view, on ? kShadingColor : kNoShading); });
}

bool MirelControl::SetAlignment(int alignment)
{
    if (alignment < 0 || alignment > 5)
        return false;
    CTableView* view = View();
    if (CTextTool* tool = CaretTool(view))
        return tool->SetFormatByCode(*view, mirel::kAttrAlignment, alignment);
    return ForSelection(view, frame_->GetDocumentData(), [&](CBasicObj* obj) { obj->SetAlignment(view, alignment); });
}

int MirelControl::GetAlignment() const
{
    CTableView* view = View();
    if (CTextTool* tool = CaretTool(view))
        return tool->CaretParagraph(*view).alignment;
    const CBasicObj* obj = view ? view->CurrentObject() : nullptr;
    return obj ? std::max(0, obj->GetAlignment()) : 0;
}

bool MirelControl::GetFirstLineIndent() const
{
    CTableView* view = View();
    if (CTextTool* tool = CaretTool(view))
        return tool->CaretParagraph(*view).firstLineIndent != 0;
    const CBasicObj* obj = view ? view->CurrentObject() : nullptr;
    return obj && obj->GetFirstLineIndent() != 0;
}

bool MirelControl::SetFirstLineIndent(bool on)
{
    CTableView* view = View();
    if (CTextTool* tool = CaretTool(view))
        return tool->SetFormatByCode(*view, mirel::kAttrFirstLineIndent, on ? 2 : 0);
    return ForSelection(
        view, frame_->GetDocumentData(), [&](CBasicObj* obj) { obj->SetFirstLineIndent(view, on ? 2 : 0); });
}

int MirelControl::GetScriptPosition() const
{
    CTableView* view = View();
    if (const CTextTool* tool = CaretTool(view))
        return tool->TypingAttributes().senType;
    const CBasicObj* obj = view ? view->CurrentObject() : nullptr;
    return obj ? obj->GetScriptType() : 0;
}

bool MirelControl::SetScriptPosition(int position)
{
    if (position < 0 || position > 2)
        return false;
    CTableView* view = View();
    if (CTextTool* tool = CaretTool(view))
        return tool->SetFormatByCode(*view, mirel::kAttrSenType, position);
    return ForSelection(view, frame_->GetDocumentData(), [&](CBasicObj* obj) { obj->SetScriptType(view, position); });
}

std::string MirelControl::GetFontList() const
{
    return QFontDatabase::families().join(QLatin1Char('|')).toStdString();
}

// The operations below wait for the subsystems that hold what they change
// (see docs/waiting-operations.md).
bool MirelControl::SetFieldNames(const std::string&)
{
    return false;
}
bool MirelControl::SetObjectText(const std::string&, const std::string&)
{
    return false;
}
std::string MirelControl::GetObjectText(const std::string&) const
{
    return {};
}
bool MirelControl::SetObjectFlag(const std::string&, int)
{
    return false;
}

bool MirelControl::SetCellVerticalAlignment(const std::string&, int value)
{
    if (value < 0 || value > 2)
        return false;
    return false; // waits for the table engine's cell attributes
}

bool MirelControl::InsertPicture(int, int, int, int, const std::string&)
{
    return false;
}
