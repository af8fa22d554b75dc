#include "text/text_obj.h"

#include "persist/archive.h"
#include "platform/muldiv.h"
#include "text/attribute_list.h"
#include "text/sentence.h"
#include "text/text_edit.h"
#include "text/text_layout.h"
#include "text/text_row.h"

#include <algorithm>

MIREL_IMPLEMENT_CLASS(CTextObj, &CFilledObj::kClass, 2000)

CTextObj::CTextObj()
{
    ResetContent();
}

CTextObj::~CTextObj() = default;

CTextRow* CTextObj::GetRow(int i) const
{
    if (i < 0 || i >= RowCount())
        return nullptr;
    return rows_[i].get();
}

CTextRow* CTextObj::InsertRow(int index, std::unique_ptr<CTextRow> row)
{
    index = std::clamp(index, 0, RowCount());
    CTextRow* raw = row.get();
    raw->SetParent(this);
    rows_.insert(rows_.begin() + index, std::move(row));
    TextChanged();
    if (raw->NeedsLayout())
        MarkRowDirty(index);
    return raw;
}

std::vector<std::unique_ptr<CTextRow>> CTextObj::TakeAllRows()
{
    for (auto& row : rows_)
        row->SetParent(nullptr);
    std::vector<std::unique_ptr<CTextRow>> out = std::move(rows_);
    rows_.clear();
    TextChanged();
    // Layout takes the rows to put them back, mostly as many again.
    rows_.reserve(out.size());
    return out;
}

void CTextObj::ResetContent(const mirel::SentenceAttributes& attrs)
{
    rows_.clear();
    TextChanged();
    auto row = std::make_unique<CTextRow>();
    row->SetParagraph(defaultPara_);
    auto s = std::make_unique<CSentence>();
    s->SetAttributes(attrs);
    row->InsertSentence(0, std::move(s));
    InsertRow(0, std::move(row));
}

bool CTextObj::IsTextEmpty() const
{
    for (const auto& row : rows_)
        for (const auto& s : row->Sentences())
            if (s->GetTextLength() > 0 || s->FollowObj())
                return false;
    return true;
}

void CTextObj::MarkRowDirty(int row)
{
    row = std::max(row, 0);
    if (firstDirtyRow_ < 0 || row < firstDirtyRow_)
        firstDirtyRow_ = row;
}

bool CTextObj::HasSelection() const
{
    return selectionStart.row >= 0 && selectionStart != caret;
}

int CTextObj::TextLength() const
{
    if (textLength_ < 0) {
        int n = 0;
        for (const auto& row : rows_)
            n += row->TextLength();
        textLength_ = n;
    }
    return textLength_;
}

std::unique_ptr<CTextRow> CTextObj::TakeRow(int index)
{
    if (index < 0 || index >= RowCount())
        return nullptr;
    std::unique_ptr<CTextRow> row = std::move(rows_[index]);
    rows_.erase(rows_.begin() + index);
    row->SetParent(nullptr);
    TextChanged();
    return row;
}

void CTextObj::ClearRows()
{
    rows_.clear();
    TextChanged();
}

void CTextObj::CopyRowLineFrom(const CTextObj& other)
{
    attrs_.rowLine = other.attrs_.rowLine;
    attrs_.rowLineColor = other.attrs_.rowLineColor;
}

// ---------------------------------------------------------------- positions

int CTextObj::PositionToOffset(const mirel::TextPosition& p) const
{
    int offset = 0;
    for (int r = 0; r < RowCount() && r <= p.row; ++r) {
        const CTextRow* row = rows_[r].get();
        for (int s = 0; s < row->SentenceCount(); ++s) {
            if (r == p.row && s == p.sentence)
                return offset + p.offset;
            offset += row->GetSentence(s)->GetTextLength();
        }
    }
    return offset;
}

mirel::TextPosition CTextObj::OffsetToPosition(int offset) const
{
    int at = 0;
    for (int r = 0; r < RowCount(); ++r) {
        const CTextRow* row = rows_[r].get();
        for (int s = 0; s < row->SentenceCount(); ++s) {
            const int len = row->GetSentence(s)->GetTextLength();
            if (offset <= at + len)
                return {r, s, offset - at};
            at += len;
        }
    }
    return EndPosition();
}

mirel::TextPosition CTextObj::EndPosition() const
{
    if (rows_.empty())
        return {0, 0, 0};
    const int r = RowCount() - 1;
    const CTextRow* row = rows_.back().get();
    if (row->SentenceCount() == 0)
        return {r, 0, 0};
    const int s = row->SentenceCount() - 1;
    return {r, s, row->GetSentence(s)->GetTextLength()};
}

// ---------------------------------------------------------------- the record

void CTextObj::SerializeText(mirel::Archive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteCount(rows_.size());
        for (size_t i = 0; i < rows_.size(); ++i) {
            // Two rows ahead, and the first run of the next row (whose row
            // came into the cache a row ago).
            if (i + 2 < rows_.size())
                mirel::PrefetchObject(rows_[i + 2].get());
            if (i + 1 < rows_.size() && !rows_[i + 1]->Sentences().empty())
                mirel::PrefetchObject(rows_[i + 1]->Sentences().front().get());
            ar.WriteObject(rows_[i].get());
        }
        mirel::WriteTextObjAttributes(ar, attrs_);
        return;
    }
    rows_.clear();
    TextChanged();
    const uint32_t n = ar.ReadCount(2);
    rows_.reserve(std::min<uint32_t>(n, 4096)); // a damaged count reserves little
    for (uint32_t i = 0; i < n; ++i)
        if (std::unique_ptr<CTextRow> row = ar.ReadOwned<CTextRow>())
            InsertRow(RowCount(), std::move(row));
    mirel::ReadTextObjAttributes(ar, attrs_);
    // A text object always holds at least one row.
    if (rows_.empty())
        ResetContent();
    caret = {};
    // The stored layout is drawn as it is; edits lay out again.
    modified_ = 0;
    firstDirtyRow_ = -1;
    for (int r = 0; r < RowCount(); ++r)
        if (rows_[r]->NeedsLayout())
            MarkRowDirty(r);
}

void CTextObj::Serialize(mirel::Archive& ar)
{
    SerializeBase(ar);
    SerializeFill(ar);
    SerializeText(ar);
}

// ---------------------------------------------------------------- layout

int CTextObj::Reflow(ViewContext* view, int fromRow, bool)
{
    const int row = std::clamp(fromRow, 0, std::max(0, RowCount() - 1));
    if (CTextRow* changed = GetRow(row)) {
        changed->SetNeedsLayout(true);
        MarkRowDirty(row);
    }
    mirel::LayoutText(*this, view);
    Invalidate(view);
    int index = 0;
    const std::vector<CTextObj*> chain = mirel::FlowChain(*this, &index);
    return flowIndex_ < 0 ? -1 : chain.back()->GetFlowIndex();
}

// ---------------------------------------------------------------- formatting

const mirel::SentenceAttributes& CTextObj::FormatSource() const
{
    if (mirel::LayoutInProgress() || !IsEditing()) {
        for (const auto& row : rows_)
            if (row->SentenceCount() > 0)
                return row->GetSentence(0)->Attributes();
    }
    return typing_;
}

int CTextObj::GetFontHeight() const
{
    const mirel::SentenceAttributes& a = FormatSource();
    const int size = mirel::SizeToHundredthsMm(a.sizeCode);
    return (a.senType == 1 || a.senType == 2) ? mirel::MulDiv(size, 75, 100) : size;
}

namespace {
const mirel::ParagraphAttributes& CaretParagraph(const CTextObj& obj, const mirel::ParagraphAttributes& fallback)
{
    if (const CTextRow* row = obj.GetRow(std::clamp(obj.caret.row, 0, std::max(0, obj.RowCount() - 1))))
        return row->Paragraph();
    return fallback;
}
}  // namespace

int CTextObj::GetVerAlignment() const { return CaretParagraph(*this, defaultPara_).verAlignment; }
int CTextObj::GetAlignment() const { return CaretParagraph(*this, defaultPara_).alignment; }
int CTextObj::GetLineSpace() const { return CaretParagraph(*this, defaultPara_).lineSpace; }
int CTextObj::GetFirstLineIndent() const { return CaretParagraph(*this, defaultPara_).firstLineIndent; }

bool CTextObj::SetFaceName(ViewContext* view, const std::string& name)
{
    return SetFormatByCode(view, mirel::kAttrFaceName, name) != 0;
}

bool CTextObj::SetAutoCommand(ViewContext* view, const std::string& command)
{
    return SetFormatByCode(view, mirel::kAttrAutoCommand, command) != 0;
}

void CTextObj::SetTextMargins(ViewContext* view, int left, int top, int right, int)
{
    attrs_.leftMargin = left;
    attrs_.topMargin = top;
    attrs_.rightMargin = right;
    SetNeedsLayout(true);
    mirel::LayoutText(*this, view);
    Invalidate(view);
    MarkModified();
}

int CTextObj::SetFormatByCode(ViewContext* view, int code, const mirel::AttrValue& value)
{
    using namespace mirel;
    TextPosition from{0, 0, 0};
    TextPosition to = EndPosition();
    const bool ranged = IsEditing();
    if (ranged) {
        from = selectionStart;
        to = caret;
    }
    int done = 0;
    switch (code) {
    case kAttrVerAlignment:
    case kAttrAlignment:
    case kAttrLineSpace:
    case kAttrFirstLineIndent:
        if (ranged && selectionStart.row < 0)
            from = caret;
        done = SetParagraphFormat(*this, from, to, code, value);
        break;
    case kAttrLeftMargin:
    case kAttrTopMargin:
    case kAttrRightMargin:
        done = attrs_.Set(code, value) ? 1 : 0;
        SetNeedsLayout(true);
        break;
    case kAttrQuickMenuName:
    case kAttrQuickInputReplace:
    case kAttrObjName:
    case kAttrRowLine:
    case kAttrRowLineColor:
    case kAttrQuickInputList:
        done = attrs_.Set(code, value) ? 1 : 0;
        break;
    default:
        if (ranged) {
            // The value goes to the typing attributes first, then to the
            // selection when there is one.
            SentenceAttributes probe = typing_;
            if (!probe.Set(code, value))
                return 0;
            if (code != kAttrAutoCommand)
                typing_ = probe;
            done = 1;
            if (HasSelection())
                done = SetCharFormat(*this, from, to, code, value);
        } else {
            // Every sentence, empty ones too (an empty box keeps the format
            // for the text typed into it).
            SentenceAttributes probe = typing_;
            if (!probe.Set(code, value))
                return 0;
            if (code != kAttrAutoCommand)
                typing_ = probe;
            bool refused = false;
            for (int r = 0; r < RowCount() && !refused; ++r) {
                CTextRow* row = rows_[r].get();
                for (const auto& sentence : row->Sentences()) {
                    // A refused command is refused once, with one message.
                    if (code == kAttrAutoCommand) {
                        refused = !sentence->SetAutoCommand(view, value.text);
                        if (refused)
                            break;
                        continue;
                    }
                    sentence->SetFormatByCode(view, code, value);
                }
                row->SetNeedsLayout(true);
                MarkRowDirty(r);
            }
            done = 1;
        }
        break;
    }
    if (!done)
        return 0;
    LayoutText(*this, view);
    Invalidate(view);
    MarkModified();
    return 1;
}
