// MirelControl: the text format of the current object (the host's font and
// size boxes and format buttons), fonts and named objects.
#include "host/mirel_control.h"
#include "model/basic_obj.h"
#include "model/mirel_data.h"
#include "platform/gbk.h"
#include "platform/prompt.h"
#include "view/o_frame.h"
#include "view/table_view.h"
#include "view/view_hooks.h"

#include <QColorDialog>
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

} // namespace

mirel::TextFormat MirelControl::GetTextFormat() const
{
    mirel::TextFormat f;
    CTableView* view = View();
    if (!view)
        return f;
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
    const std::vector<CBasicObj*> sel = view->Selection();
    // Formatting the text at the caret waits for the text tool's attribute
    // commands; selected objects take the format here.
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
        const uint32_t current = GetTextFormat().color;
        const QColor preset(current & 0xFF, (current >> 8) & 0xFF, (current >> 16) & 0xFF);
        const QColor chosen = QColorDialog::getColor(preset, this);
        if (!chosen.isValid())
            return false;
        color = static_cast<uint32_t>(chosen.red()) | (static_cast<uint32_t>(chosen.green()) << 8)
            | (static_cast<uint32_t>(chosen.blue()) << 16);
    }
    CTableView* view = View();
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
    const CBasicObj* obj = view ? view->CurrentObject() : nullptr;
    return obj && obj->GetBackColor() == kShadingColor;
}

bool MirelControl::SetShading(bool on)
{
    CTableView* view = View();
    return ForSelection(view, frame_->GetDocumentData(),
        [&](CBasicObj* obj) { obj->SetBackColor(view, on ? kShadingColor : kNoShading); });
}

bool MirelControl::SetAlignment(int alignment)
{
    if (alignment < 0 || alignment > 5)
        return false;
    CTableView* view = View();
    return ForSelection(view, frame_->GetDocumentData(), [&](CBasicObj* obj) { obj->SetAlignment(view, alignment); });
}

int MirelControl::GetAlignment() const
{
    CTableView* view = View();
    const CBasicObj* obj = view ? view->CurrentObject() : nullptr;
    return obj ? std::max(0, obj->GetAlignment()) : 0;
}

bool MirelControl::GetFirstLineIndent() const
{
    CTableView* view = View();
    const CBasicObj* obj = view ? view->CurrentObject() : nullptr;
    return obj && obj->GetFirstLineIndent() != 0;
}

bool MirelControl::SetFirstLineIndent(bool on)
{
    CTableView* view = View();
    return ForSelection(
        view, frame_->GetDocumentData(), [&](CBasicObj* obj) { obj->SetFirstLineIndent(view, on ? 2 : 0); });
}

int MirelControl::GetScriptPosition() const
{
    CTableView* view = View();
    const CBasicObj* obj = view ? view->CurrentObject() : nullptr;
    return obj ? obj->GetScriptType() : 0;
}

bool MirelControl::SetScriptPosition(int position)
{
    if (position < 0 || position > 2)
        return false;
    CTableView* view = View();
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
