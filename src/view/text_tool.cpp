// CTextTool: caret, selection, typing and deleting in the body text.
#include "view/text_tool.h"

#include "model/mirel_data.h"
#include "model/table_page.h"
#include "model/work_form.h"
#include "platform/cells.h"
#include "platform/gbk.h"
#include "platform/prompt.h"
#include "surface/surface.h"
#include "text/sentence.h"
#include "text/text_edit.h"
#include "text/text_obj.h"
#include "text/text_row.h"
#include "view/key_codes.h"
#include "view/table_view.h"
#include "view/text_flow.h"
#include "view/text_geometry.h"
#include "view/undo_actions.h"
#include "view/undo_manager.h"

#include <QGuiApplication>
#include <QInputMethod>
#include <algorithm>
#include <string>

using mirel::BodyFlow;
using mirel::FlowPlace;
using mirel::Point;
using mirel::Rect;

namespace {

bool gOverwrite = false;

const std::string kMarkCell("\r\0", 2);

bool IsMarkAt(const BodyFlow& flow, int offset)
{
    return flow.Cells(offset, offset + 2) == kMarkCell;
}

// The lowest caret offset: after a paragraph mark that opens the flow.
int MinCaret(const BodyFlow& flow)
{
    return IsMarkAt(flow, 0) ? 2 : 0;
}

// The text tool only edits the text of an editable document.
bool ReadOnly(const CTableView& view)
{
    const CMirelData* doc = view.GetDocumentData();
    return !doc || doc->GetProtectType() == 1;
}

} // namespace

CTextTool::CTextTool() = default;
CTextTool::~CTextTool() = default;

bool CTextTool::Overwrite()
{
    return gOverwrite;
}

void CTextTool::SetOverwrite(bool on)
{
    gOverwrite = on;
}

// ---------------------------------------------------------------- caret and selection

void CTextTool::SetCaret(CTableView& view, int offset, bool extend)
{
    CWorkForm* wf = view.GetWorkForm();
    if (!wf)
        return;
    const BodyFlow flow(*wf);
    if (flow.Empty())
        return;
    const bool hadSelection = HasSelection();
    InvalidateCaret(view);
    if (extend) {
        if (anchor_ < 0)
            anchor_ = caret_;
    } else {
        anchor_ = -1;
    }
    caret_ = flow.Clamp(offset, MinCaret(flow));
    caretAtRowStart_ = false;
    if (hadSelection || HasSelection())
        view.Invalidate(CTableView::kInvalidateAll);
    TakeTypingAttributes(view);
    InvalidateCaret(view);
}

void CTextTool::Select(CTableView& view, int from, int to)
{
    SetCaret(view, from, false);
    SetCaret(view, to, true);
}

void CTextTool::SelectAll(CTableView& view)
{
    CWorkForm* wf = view.GetWorkForm();
    if (!wf)
        return;
    const BodyFlow flow(*wf);
    Select(view, 0, flow.Length());
}

void CTextTool::ClearSelection(CTableView& view)
{
    if (HasSelection())
        view.Invalidate(CTableView::kInvalidateAll);
    anchor_ = -1;
}

std::string CTextTool::SelectedCells(CTableView& view) const
{
    CWorkForm* wf = view.GetWorkForm();
    if (!wf || !HasSelection())
        return {};
    return BodyFlow(*wf).Cells(SelectionStart(), SelectionEnd());
}

void CTextTool::TakeTypingAttributes(CTableView& view)
{
    // Typing continues in the format of the character before the caret
    // (after a paragraph mark: of the text after it).
    CWorkForm* wf = view.GetWorkForm();
    if (!wf)
        return;
    const BodyFlow flow(*wf);
    const FlowPlace place = flow.Place(caret_);
    if (const CSentence* s = mirel::SentenceAt(place)) {
        typing_ = s->Attributes();
        typing_.emend.reset();
    }
}

int CTextTool::OffsetAt(CTableView& view, Point gridPoint) const
{
    CWorkForm* wf = view.GetWorkForm();
    if (!wf)
        return -1;
    const BodyFlow flow(*wf);
    return mirel::HitFlow(view, flow, gridPoint, false);
}

// ---------------------------------------------------------------- editing

int CTextTool::ReplaceRange(
    CTableView& view, int from, int to, std::string_view cells, const mirel::SentenceAttributes& attrs)
{
    std::vector<mirel::FlowRun> runs;
    if (!cells.empty())
        runs.push_back(mirel::FlowRun { std::string(cells), attrs, {} });
    return Replace(view, from, to, runs, false);
}

int CTextTool::ReplaceWithRuns(CTableView& view, int from, int to, const std::vector<mirel::FlowRun>& runs)
{
    return Replace(view, from, to, runs, true);
}

int CTextTool::Replace(CTableView& view, int from, int to, const std::vector<mirel::FlowRun>& runs, bool keepParagraphs)
{
    CWorkForm* wf = view.GetWorkForm();
    if (!wf || ReadOnly(view))
        return caret_;
    BodyFlow flow(*wf);
    if (flow.Empty())
        return caret_;
    if (from > to)
        std::swap(from, to);
    from = flow.Clamp(from);
    to = flow.Clamp(to, from);
    if (from == to && runs.empty())
        return caret_;
    std::vector<mirel::FlowRun> former = flow.Runs(from, to);
    flow.Delete(from, to);
    int end = from;
    // Typed text takes the paragraph it lands in; pasted runs keep theirs.
    if (!keepParagraphs && !runs.empty())
        end = flow.Insert(from, runs.front().cells, runs.front().attrs);
    else
        end = flow.InsertRuns(from, runs);
    if (mirel::UndoManager* undo = mirel::UndoManagerOf(view))
        mirel::RecordTextRange(*undo, mirel::kUndoNewAction, from, end, std::move(former));
    if (CMirelData* doc = view.GetDocumentData())
        doc->SetModified(true);
    AfterEdit(view, flow, end);
    return end;
}

void CTextTool::AfterEdit(CTableView& view, BodyFlow& flow, int caret)
{
    CWorkForm* wf = view.GetWorkForm();
    const int pagesBefore = wf->PageCount();
    const FlowPlace before = flow.Place(caret);
    flow.Relayout(&view);
    anchor_ = -1;
    caret_ = flow.Clamp(caret);
    caretAtRowStart_ = false;
    if (wf->PageCount() != pagesBefore) {
        view.Relayout(false);
        view.Invalidate(CTableView::kInvalidateAll);
    } else {
        // The edited column and the columns after it on the pages shown.
        const int first = std::max(0, before.index);
        const auto& objects = flow.Objects();
        const auto& visible = view.VisiblePages();
        for (int i = first; i < static_cast<int>(objects.size()); ++i) {
            const CTablePage* page = objects[i]->GetPage();
            if (i > first && std::find(visible.begin(), visible.end(), page) == visible.end())
                break;
            view.Invalidate(CTableView::kInvalidateObject, objects[i]);
        }
    }
    UpdateCaret(view);
}

void CTextTool::InsertText(CTableView& view, std::string_view cells)
{
    CWorkForm* wf = view.GetWorkForm();
    if (!wf || cells.empty())
        return;
    int from = SelectionStart();
    int to = SelectionEnd();
    if (Overwrite() && !HasSelection()) {
        // What follows the caret, as long as the new text, but never past
        // the end of the paragraph or of the text.
        const BodyFlow flow(*wf);
        const std::string after = flow.Cells(caret_, caret_ + static_cast<int>(cells.size()));
        size_t n = 0;
        while (n + 1 < after.size() && !(after[n] == '\r' && after[n + 1] == 0))
            n += 2;
        to = caret_ + static_cast<int>(n);
    }
    ReplaceRange(view, from, to, cells, typing_);
}

void CTextTool::OnChar(CTableView& view, unsigned char byte)
{
    if (pendingLead_ >= 0) {
        const char cell[2] = { static_cast<char>(pendingLead_), static_cast<char>(byte) };
        pendingLead_ = -1;
        InsertText(view, std::string_view(cell, 2));
        return;
    }
    if (byte < 0x20 && byte != '\t')
        return;
    if (byte == '\t') {
        OnKeyDown(view, mirel::vk::Tab, 0);
        return;
    }
    if (byte >= 0x7F && byte != 0x7F) {
        pendingLead_ = byte;
        return;
    }
    const char cell[2] = { static_cast<char>(byte), 0 };
    InsertText(view, std::string_view(cell, 2));
}

void CTextTool::TypeText(CTableView& view, const QString& text)
{
    QString kept;
    kept.reserve(text.size());
    for (const QChar c : text)
        if (c.unicode() >= 0x20 && c.unicode() != 0x7F)
            kept.append(c);
    if (kept.isEmpty())
        return;
    const mirel::Converted<std::string> gbk = mirel::QStringToGbkCounted(kept);
    InsertText(view, mirel::ToCells(gbk.text, false));
    if (gbk.lost > 0) {
        std::string msg = "有 " + std::to_string(gbk.lost) + " 个字符无法保存为 GBK 文字，已换成“?”。";
        mirel::ShowComponentMessage(msg, mirel::PromptIcon::Information);
    }
}

void CTextTool::InsertParagraph(CTableView& view)
{
    CWorkForm* wf = view.GetWorkForm();
    if (!wf)
        return;
    // The new paragraph takes the attributes of the text where it breaks.
    mirel::SentenceAttributes attrs = typing_;
    {
        const BodyFlow flow(*wf);
        if (const CSentence* s = mirel::SentenceAt(flow.Place(SelectionStart()))) {
            attrs = s->Attributes();
            attrs.emend.reset();
        }
    }
    ReplaceRange(view, SelectionStart(), SelectionEnd(), kMarkCell, attrs);
}

void CTextTool::DeleteSelection(CTableView& view)
{
    if (HasSelection())
        ReplaceRange(view, SelectionStart(), SelectionEnd(), {}, typing_);
}

void CTextTool::DeleteChar(CTableView& view, bool forward)
{
    if (HasSelection()) {
        DeleteSelection(view);
        return;
    }
    CWorkForm* wf = view.GetWorkForm();
    if (!wf)
        return;
    const BodyFlow flow(*wf);
    if (flow.Empty())
        return;
    if (forward) {
        if (flow.Clamp(caret_ + 1) > caret_)
            ReplaceRange(view, caret_, caret_ + 2, {}, typing_);
    } else if (caret_ > MinCaret(flow)) {
        ReplaceRange(view, caret_ - 2, caret_, {}, typing_);
    }
}

void CTextTool::AfterUndo(CTableView& view, int caret)
{
    anchor_ = -1;
    caret_ = caret;
    caretAtRowStart_ = false;
    view.Invalidate(CTableView::kInvalidateAll);
    if (CWorkForm* wf = view.GetWorkForm()) {
        const BodyFlow flow(*wf);
        caret_ = flow.Clamp(caret, MinCaret(flow));
    }
    TakeTypingAttributes(view);
    UpdateCaret(view);
}

// ---------------------------------------------------------------- keys

bool CTextTool::OnKeyDown(CTableView& view, int key, unsigned flags)
{
    namespace vk = mirel::vk;
    const bool shift = flags & mirel::MouseFlags::Shift;
    const bool control = flags & mirel::MouseFlags::Control;
    CWorkForm* wf = view.GetWorkForm();
    if (!wf)
        return false;
    const BodyFlow flow(*wf);
    if (flow.Empty())
        return false;
    switch (key) {
    case vk::Back:
        DeleteChar(view, false);
        break;
    case vk::Delete:
        DeleteChar(view, true);
        break;
    case vk::Tab:
        InsertText(view, std::string_view(" \0 \0 \0 \0", 8)); // four single-byte spaces
        break;
    case vk::Return:
        InsertParagraph(view);
        break;
    case vk::Insert:
        SetOverwrite(!Overwrite());
        break;
    case vk::Shift:
        if (!HasSelection())
            anchor_ = caret_;
        return true;
    case vk::Home:
    case vk::End:
        if (control)
            SetCaret(view, key == vk::Home ? 0 : flow.Length(), shift);
        else
            MoveToRowEdge(view, key == vk::End, shift);
        break;
    case vk::Left:
        SetCaret(view, caret_ - 2, shift);
        break;
    case vk::Right:
        SetCaret(view, caret_ + 2, shift);
        break;
    case vk::Up:
    case vk::Down:
        if (!shift)
            ClearSelection(view);
        MoveVertical(view, key == vk::Down);
        if (shift && anchor_ < 0)
            anchor_ = caret_;
        break;
    case vk::Prior:
    case vk::Next:
        ClearSelection(view);
        PlaceAfterPageScroll(view);
        break;
    default:
        return false;
    }
    UpdateCaret(view);
    return true;
}

void CTextTool::MoveToRowEdge(CTableView& view, bool end, bool extend)
{
    CWorkForm* wf = view.GetWorkForm();
    const BodyFlow flow(*wf);
    const FlowPlace place = mirel::CaretPlace(flow, caret_, caretAtRowStart_);
    if (!place.obj || place.obj->RowCount() == 0)
        return;
    const int rowStart = flow.Offset(place.index, { place.pos.row, 0, 0 });
    const CTextRow* row = place.obj->GetRow(place.pos.row);
    const int target = end ? rowStart + row->TextLength() : rowStart + (row->StartsParagraph() ? 2 : 0);
    SetCaret(view, target, extend);
    // A row that a soft break starts shows its caret at its own start.
    caretAtRowStart_ = !end;
}

void CTextTool::MoveVertical(CTableView& view, bool down)
{
    CWorkForm* wf = view.GetWorkForm();
    const BodyFlow flow(*wf);
    const int target = mirel::VerticalNeighbour(flow, caret_, caretAtRowStart_, down);
    if (target < 0)
        return;
    const int anchor = anchor_;
    const bool extending = anchor >= 0;
    SetCaret(view, target, extending);
}

void CTextTool::PlaceAfterPageScroll(CTableView& view)
{
    // The caret goes to the text row nearest the height it had on screen.
    if (lastCaretClientY_ < 0)
        return;
    for (int step = 0; step < 3; ++step) {
        for (int sign : { 1, -1 }) {
            const Point client { lastCaretClientX_, lastCaretClientY_ + sign * step * 6 };
            const int at = OffsetAt(view, view.ClientToGrid(client));
            if (at >= 0) {
                SetCaret(view, at, false);
                return;
            }
        }
    }
}

void CTextTool::Cancel(CTableView& view)
{
    selecting_ = false;
    dragging_ = false;
    SetPreedit(view, {});
}

// ---------------------------------------------------------------- mouse

void CTextTool::OnLButtonDown(CTableView& view, unsigned flags, Point gridPoint)
{
    const int at = OffsetAt(view, gridPoint);
    if (at < 0)
        return;
    pendingLead_ = -1;
    if (HasSelection() && at > SelectionStart() && at < SelectionEnd() && !ReadOnly(view)) {
        // A press inside the selection starts dragging it.
        dragging_ = true;
        view.setCursor(Qt::DragMoveCursor);
        return;
    }
    selecting_ = true;
    SetCaret(view, at, (flags & mirel::MouseFlags::Shift) != 0);
    if (!(flags & mirel::MouseFlags::Shift))
        anchor_ = caret_;
    UpdateCaret(view);
    RunAutoCommand(view, flags);
}

void CTextTool::OnMouseMove(CTableView& view, unsigned flags, Point gridPoint)
{
    if (!(flags & mirel::MouseFlags::LeftButton)) {
        // Hovering over a command shows the hand and the command as a tip.
        const int at = OffsetAt(view, gridPoint);
        const CSentence* s = nullptr;
        if (at >= 0)
            if (CWorkForm* wf = view.GetWorkForm())
                s = mirel::SentenceAt(BodyFlow(*wf).Place(at));
        if (s && !s->Attributes().autoCommand.empty()) {
            view.setCursor(Qt::PointingHandCursor);
            view.setToolTip(mirel::GbkToQString(s->Attributes().autoCommand));
        } else {
            view.setCursor(Qt::IBeamCursor);
            view.setToolTip({});
        }
        return;
    }
    if (dragging_) {
        view.setCursor((flags & mirel::MouseFlags::Control) ? Qt::DragCopyCursor : Qt::DragMoveCursor);
        return;
    }
    if (!selecting_)
        return;
    CWorkForm* wf = view.GetWorkForm();
    if (!wf)
        return;
    const int at = mirel::HitFlow(view, BodyFlow(*wf), gridPoint, true);
    if (at < 0 || at == caret_)
        return;
    if (anchor_ < 0)
        anchor_ = caret_;
    InvalidateCaret(view);
    caret_ = at;
    caretAtRowStart_ = false;
    view.Invalidate(CTableView::kInvalidateAll);
}

void CTextTool::OnLButtonUp(CTableView& view, unsigned flags, Point gridPoint)
{
    selecting_ = false;
    if (!dragging_)
        return;
    dragging_ = false;
    view.setCursor(Qt::IBeamCursor);
    const int at = OffsetAt(view, gridPoint);
    const int a = SelectionStart();
    const int b = SelectionEnd();
    if (at < 0 || (at >= a && at <= b)) {
        SetCaret(view, at < 0 ? caret_ : at, false);
        return;
    }
    // Move (or copy with Control) the selected text to the drop point, as
    // one undo step over the whole stretch that changes.
    CWorkForm* wf = view.GetWorkForm();
    BodyFlow flow(*wf);
    const std::vector<mirel::FlowRun> moved = flow.Runs(a, b);
    const bool copy = (flags & mirel::MouseFlags::Control) != 0;
    const int lo = std::min(a, at);
    const int hi = std::max(b, at);
    std::vector<mirel::FlowRun> former = flow.Runs(lo, hi);
    int end;
    int caret;
    if (at > b) {
        caret = flow.InsertRuns(at, moved);
        if (!copy)
            flow.Delete(a, b);
        end = copy ? caret : hi;
        caret = copy ? caret : caret - (b - a);
    } else {
        if (!copy)
            flow.Delete(a, b);
        caret = flow.InsertRuns(at, moved);
        end = copy ? hi + (b - a) : hi;
    }
    if (mirel::UndoManager* undo = mirel::UndoManagerOf(view))
        mirel::RecordTextRange(*undo, mirel::kUndoNewAction, lo, end, std::move(former));
    if (CMirelData* doc = view.GetDocumentData())
        doc->SetModified(true);
    AfterEdit(view, flow, caret);
    Select(view, caret - (b - a), caret);
}

void CTextTool::OnLButtonDblClk(CTableView& view, unsigned flags, Point gridPoint)
{
    (void)flags;
    CWorkForm* wf = view.GetWorkForm();
    if (!wf)
        return;
    const int at = OffsetAt(view, gridPoint);
    if (at < 0)
        return;
    const BodyFlow flow(*wf);
    const FlowPlace place = flow.Place(at);
    const CSentence* s = mirel::SentenceAt(place);
    if (!s || s->IsBareMark() || !s->Attributes().autoCommand.empty())
        return;
    const int sentenceStart = at - mirel::OffsetInSentence(place);
    const std::string& text = s->GetText();
    int from = sentenceStart + s->TextStart();
    int to = sentenceStart + s->GetTextLength();
    if (s->IsSingleByte()) {
        // The run of characters of one class around the point.
        auto classOf = [&](int off) {
            const unsigned char c = static_cast<unsigned char>(text[static_cast<size_t>(off)]);
            return std::isalpha(c) ? 0 : std::isdigit(c) ? 1 : c == ' ' ? 2 : 3;
        };
        int local = std::clamp(at - sentenceStart, s->TextStart(), s->GetTextLength() - 2);
        if (local < s->TextStart())
            return;
        const int k = classOf(local);
        int lo = local;
        int hi = local + 2;
        while (lo - 2 >= s->TextStart() && classOf(lo - 2) == k)
            lo -= 2;
        while (hi + 2 <= s->GetTextLength() && classOf(hi) == k)
            hi += 2;
        from = sentenceStart + lo;
        to = sentenceStart + hi;
    }
    Select(view, from, to);
}

// ---------------------------------------------------------------- the caret on screen

QRect CTextTool::CaretClientRect(CTableView& view) const
{
    CWorkForm* wf = view.GetWorkForm();
    if (!wf)
        return {};
    const BodyFlow flow(*wf);
    Rect r;
    if (!mirel::CaretGridRect(view, flow, caret_, caretAtRowStart_, r))
        return {};
    const Point tl = view.GridToClient({ r.left, r.top });
    return QRect(tl.x, tl.y, std::max(1, r.Width()), std::max(1, r.Height()));
}

void CTextTool::InvalidateCaret(CTableView& view)
{
    const QRect r = CaretClientRect(view);
    if (r.isEmpty())
        return;
    const Point g = view.ClientToGrid({ r.left(), r.top() });
    view.InvalidatePixels(Rect { g.x - 2, g.y - 2, g.x + r.width() + 3, g.y + r.height() + 3 });
}

void CTextTool::UpdateCaret(CTableView& view)
{
    const QRect r = CaretClientRect(view);
    if (r.isEmpty())
        return;
    lastCaretClientX_ = r.left();
    lastCaretClientY_ = r.top() + r.height() / 2;
    InvalidateCaret(view);
    if (QInputMethod* im = QGuiApplication::inputMethod(); im && view.hasFocus())
        im->update(Qt::ImCursorRectangle);
}

void CTextTool::SetPreedit(CTableView& view, const QString& text)
{
    if (text == preedit_)
        return;
    preedit_ = text;
    view.Invalidate(CTableView::kInvalidateAll);
}

void CTextTool::DrawFeedback(CTableView& view, mirel::Surface& dc)
{
    CWorkForm* wf = view.GetWorkForm();
    if (!wf || view.TextTool() != this)
        return;
    const BodyFlow flow(*wf);
    if (HasSelection()) {
        for (const Rect& r : mirel::SelectionGridRects(view, flow, SelectionStart(), SelectionEnd()))
            dc.patBlt({ r.left, r.top, r.right, r.bottom }, mirel::BltOp::InvertDest);
        return; // the caret is hidden while a selection shows
    }
    Rect caret;
    if (!mirel::CaretGridRect(view, flow, caret_, caretAtRowStart_, caret))
        return;
    if (!preedit_.isEmpty()) {
        mirel::FontSpec font;
        font.height = -std::max(4, caret.Height() * 3 / 4);
        font.faceName = mirel::GbkToQString(typing_.faceName);
        font.underline = true;
        const mirel::FontSpec old = dc.setFont(font);
        dc.textOut({ caret.left, caret.top }, preedit_);
        dc.setFont(old);
        return;
    }
    if (!view.CaretOn())
        return;
    dc.patBlt(
        { caret.left, caret.top, caret.left + 2, std::max(caret.bottom, caret.top + 4) }, mirel::BltOp::InvertDest);
}

bool CTextTool::CaretFormat(std::string& faceGbk, int& sizeCode) const
{
    faceGbk = typing_.faceName;
    sizeCode = typing_.sizeCode;
    return true;
}
