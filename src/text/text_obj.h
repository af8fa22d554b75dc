#pragma once
// CTextObj: the text-bearing part of every text object (text columns, text
// boxes, cells, headers and footers, buttons, square seals). Its content is
// the ordered list of its rows.
#include "model/filled_obj.h"
#include "text/attributes.h"

#include <memory>
#include <vector>

class CTextRow;
class CSentence;

namespace mirel {
// A place in the text: row, sentence in the row, byte offset in the sentence.
struct TextPosition {
    int row = 0;
    int sentence = 0;
    int offset = 0;
    friend bool operator==(const TextPosition&, const TextPosition&) = default;
};
}  // namespace mirel

class CTextObj : public CFilledObj {
    MIREL_DECLARE_CLASS(CTextObj)
public:
    CTextObj();   // one row holding one empty sentence
    ~CTextObj() override;
    void Serialize(mirel::Archive& ar) override;

    int RowCount() const { return static_cast<int>(rows_.size()); }
    CTextRow* GetRow(int i) const;
    const std::vector<std::unique_ptr<CTextRow>>& Rows() const { return rows_; }
    CTextRow* InsertRow(int index, std::unique_ptr<CTextRow> row);
    std::unique_ptr<CTextRow> TakeRow(int index);
    // Hands all rows over (the object is left without rows).
    std::vector<std::unique_ptr<CTextRow>> TakeAllRows();
    void ClearRows();
    // Makes the content one row holding one empty sentence with these
    // attributes (laid out on the next layout).
    void ResetContent(const mirel::SentenceAttributes& attrs = {});
    // Holds no text at all (inline objects count as text).
    bool IsTextEmpty() const;

    const mirel::TextObjAttributes& TextAttributes() const { return attrs_; }
    mirel::TextObjAttributes& MutableTextAttributes() { return attrs_; }
    const mirel::ParagraphAttributes& DefaultParagraph() const { return defaultPara_; }
    void SetDefaultParagraph(const mirel::ParagraphAttributes& p) { defaultPara_ = p; }
    const mirel::SentenceAttributes& TypingAttributes() const { return typing_; }
    void SetTypingAttributes(const mirel::SentenceAttributes& a) { typing_ = a; }

    int GetFlowIndex() const { return flowIndex_; }
    void SetFlowIndex(int i) { flowIndex_ = i; }
    // Layout is wanted for the whole object (resized, new margins, new).
    bool NeedsLayout() const { return modified_ != 0 || firstDirtyRow_ >= 0; }
    void SetNeedsLayout(bool on)
    {
        modified_ = on ? 1 : 0;
        if (!on)
            firstDirtyRow_ = -1;
    }
    bool NeedsFullLayout() const { return modified_ != 0; }
    // Edits mark the first row they touched; layout starts one row before it.
    void MarkRowDirty(int row);
    int FirstDirtyRow() const { return firstDirtyRow_; }
    // Text columns of a page are always active.
    void SetActiveFlag(bool on) { active_ = on ? 1 : 0; }
    // The ruling-line attributes that all columns of a work form share.
    void CopyRowLineFrom(const CTextObj& other);
    // A table cell: no first-line indent and no wrapping around objects.
    virtual bool IsTableCell() const { return false; }

    // Editing state (BeginEdit / EndEdit of the editing tools).
    bool IsEditing() const { return editing_ != 0; }
    void SetEditing(bool on) { editing_ = on ? 1 : 0; }
    bool HasSelection() const override;

    mirel::TextPosition caret;
    mirel::TextPosition selectionStart{-1, -1, -1};
    mirel::TextPosition savedCaret;

    std::string GetName() const override { return attrs_.objName; }
    void SetName(const std::string& name) override { attrs_.objName = name; }

    // Absolute byte offset over the cells of all rows, and back.
    int PositionToOffset(const mirel::TextPosition& p) const;
    mirel::TextPosition OffsetToPosition(int offset) const;
    mirel::TextPosition EndPosition() const;
    int TextLength() const;
    // The text of a row or run changed: the length is counted again when
    // asked. Rows and runs call it through their parents, so the body flow
    // finds the start of a late column without counting every earlier one.
    void TextChanged() { textLength_ = -1; }

    // Lays out again from row fromRow - 1 (at least 0) on, into the next
    // objects of a flow as far as the text moves; returns the flow index of
    // the last object laid out (-1 for a free object).
    int Reflow(ViewContext* view, int fromRow, bool cascade = true);

    // --- formatting: the selection while editing, else the whole text ---
    // While the object is edited the getters answer from the typing
    // attributes, otherwise (and while layout runs) from the first sentence;
    // paragraph getters answer from the caret's row.
    int GetWeight() const override { return FormatSource().weight; }
    int GetCharSpacing() const override { return FormatSource().charMargin; }
    int GetHorzScale() const override { return FormatSource().scale; }
    std::string GetFaceName() const override { return FormatSource().faceName; }
    std::string GetAutoCommand() const override { return FormatSource().autoCommand; }
    int GetItalic() const override { return FormatSource().italic; }
    uint32_t GetTextColor() const override { return FormatSource().color; }
    int GetFontHeight() const override;
    int GetUnderline() const override { return FormatSource().underline; }
    int GetStrikeOut() const override { return FormatSource().strikeOut; }
    int GetScriptType() const override { return FormatSource().senType; }
    int GetTextEffect() const override { return FormatSource().effect; }
    uint32_t GetBackColor() const override { return FormatSource().backColor; }
    int GetFontSize() const override { return FormatSource().sizeCode; }
    int GetVerAlignment() const override;
    int GetAlignment() const override;
    int GetLineSpace() const override;
    int GetFirstLineIndent() const override;
    mirel::Rect GetTextMargins() const override { return {attrs_.leftMargin, attrs_.topMargin, attrs_.rightMargin, 0}; }

    void SetWeight(ViewContext* v, int x) override { SetFormatByCode(v, mirel::kAttrWeight, x); }
    void SetCharSpacing(ViewContext* v, int x) override { SetFormatByCode(v, mirel::kAttrCharMargin, x); }
    void SetHorzScale(ViewContext* v, int x) override { SetFormatByCode(v, mirel::kAttrScale, x); }
    bool SetFaceName(ViewContext* v, const std::string& x) override;
    bool SetAutoCommand(ViewContext* v, const std::string& x) override;
    void SetItalic(ViewContext* v, int x) override { SetFormatByCode(v, mirel::kAttrItalic, x); }
    void SetTextColor(ViewContext* v, uint32_t x) override { SetFormatByCode(v, mirel::kAttrColor, x); }
    void SetUnderline(ViewContext* v, int x) override { SetFormatByCode(v, mirel::kAttrUnderline, x); }
    void SetStrikeOut(ViewContext* v, int x) override { SetFormatByCode(v, mirel::kAttrStrikeOut, x); }
    void SetScriptType(ViewContext* v, int x) override { SetFormatByCode(v, mirel::kAttrSenType, x); }
    void SetTextEffect(ViewContext* v, int x) override { SetFormatByCode(v, mirel::kAttrEffect, x); }
    void SetBackColor(ViewContext* v, uint32_t x) override { SetFormatByCode(v, mirel::kAttrBackColor, x); }
    void SetFontSize(ViewContext* v, int x) override { SetFormatByCode(v, mirel::kAttrSizeCode, x); }
    void SetVerAlignment(ViewContext* v, int x) override { SetFormatByCode(v, mirel::kAttrVerAlignment, x); }
    void SetAlignment(ViewContext* v, int x) override { SetFormatByCode(v, mirel::kAttrAlignment, x); }
    void SetLineSpace(ViewContext* v, int x) override { SetFormatByCode(v, mirel::kAttrLineSpace, x); }
    void SetFirstLineIndent(ViewContext* v, int x) override { SetFormatByCode(v, mirel::kAttrFirstLineIndent, x); }
    void SetTextMargins(ViewContext* view, int left, int top, int right, int bottom) override;
    // Character codes go to the typing attributes and to the selection (or
    // every sentence), paragraph codes to the paragraphs touched, text-object
    // codes to the object; then the text is laid out again. 0 for a code the
    // object does not take.
    int SetFormatByCode(ViewContext* view, int code, const mirel::AttrValue& value) override;

    // --- drawing ---
    void Draw(ViewContext& view, Surface& dc) const override;

protected:
    // The CTextObj part after the filled-object record: rows and attributes.
    void SerializeText(mirel::Archive& ar);
    const mirel::SentenceAttributes& FormatSource() const;

    mirel::TextObjAttributes attrs_;
    mirel::ParagraphAttributes defaultPara_;
    std::vector<std::unique_ptr<CTextRow>> rows_;
    mutable int textLength_ = -1;   // cells in all rows; -1: to be counted
    mirel::SentenceAttributes typing_;
    int32_t flowIndex_ = -1;
    int32_t modified_ = 0;
    int32_t editing_ = 0;
    int32_t firstDirtyRow_ = -1;
};
