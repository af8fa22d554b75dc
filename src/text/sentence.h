#pragma once
// CSentence: one run of uniformly formatted characters inside a row. Text
// is held in two-byte cells (see platform/cells.h).
#include "model/basic_obj.h"
#include "text/attributes.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CSentence : public CBasicObj {
    MIREL_DECLARE_CLASS(CSentence)
public:
    CSentence();
    ~CSentence() override;
    void Serialize(mirel::Archive& ar) override;

    const std::string& GetText() const { return text_; }
    // Sets the cell text (odd-length text is padded) and refreshes the class.
    void SetText(std::string cells);
    int GetTextLength() const { return static_cast<int>(text_.size()); }
    bool IsSingleByte() const { return singleByte_ != 0; }
    bool StartsParagraph() const { return text_.size() >= 2 && text_[0] == '\r' && text_[1] == 0; }
    // Only the paragraph mark.
    bool IsBareMark() const { return text_.size() == 2 && StartsParagraph(); }
    // No characters and no inline object.
    bool IsEmpty() const { return text_.empty() && !followObj_; }
    // Offset of the first character after a leading paragraph mark.
    int TextStart() const { return StartsParagraph() ? 2 : 0; }

    const mirel::SentenceAttributes& Attributes() const { return attrs_; }
    mirel::SentenceAttributes& MutableAttributes() { return attrs_; }
    void SetAttributes(const mirel::SentenceAttributes& a) { attrs_ = a; }

    // The inline object, when the sentence carries one (then its text is the
    // single placeholder cell 0x16, 0). An object that already contains this
    // sentence is refused (it would contain itself); the refused object is
    // handed back.
    CBasicObj* FollowObj() const { return followObj_.get(); }
    std::unique_ptr<CBasicObj> SetFollowObj(std::unique_ptr<CBasicObj> obj);
    std::unique_ptr<CBasicObj> TakeFollowObj();


    // --- formatting (the sentence's own attributes; no layout here) ---
    int GetLineHeight() const override;   // 0.01 mm
    int GetFontHeight() const override;   // 0.01 mm, inline objects ignored
    // Advance of a double-byte character in 0.1 mm, without the 75 % rule.
    int GetCharAdvance() const;
    int GetWeight() const override { return attrs_.weight; }
    void SetWeight(ViewContext*, int v) override { attrs_.weight = v; }
    int GetCharSpacing() const override { return attrs_.charMargin; }
    void SetCharSpacing(ViewContext*, int v) override { attrs_.charMargin = v; }
    int GetHorzScale() const override { return attrs_.scale; }
    void SetHorzScale(ViewContext*, int v) override { attrs_.scale = v; }
    std::string GetFaceName() const override { return attrs_.faceName; }
    // The face name and the sentence's class (1 single-byte; an empty text
    // reports 0).
    std::string GetFaceName(int* singleByte) const;
    // A double-byte sentence keeps its face when the new one is not printable.
    bool SetFaceName(ViewContext*, const std::string& name) override;
    std::string GetAutoCommand() const override { return attrs_.autoCommand; }
    // "CHECKBOX()" only on a single "□" (blanks around it allowed), else a
    // message and nothing changes. A command turns the text blue; removing
    // it turns the text black and drops the underline.
    bool SetAutoCommand(ViewContext*, const std::string& command) override;
    int GetItalic() const override { return attrs_.italic; }
    void SetItalic(ViewContext*, int v) override { attrs_.italic = v; }
    uint32_t GetTextColor() const override { return attrs_.color; }
    void SetTextColor(ViewContext*, uint32_t c) override { attrs_.color = c; }
    int GetUnderline() const override { return attrs_.underline; }
    void SetUnderline(ViewContext*, int v) override { attrs_.underline = v; }
    int GetStrikeOut() const override { return attrs_.strikeOut; }
    void SetStrikeOut(ViewContext*, int v) override { attrs_.strikeOut = v; }
    int GetScriptType() const override { return attrs_.senType; }
    void SetScriptType(ViewContext*, int v) override { attrs_.senType = v; }
    int SetFormatByCode(ViewContext* view, int code, const mirel::AttrValue& value) override;
    int GetTextEffect() const override { return attrs_.effect; }
    void SetTextEffect(ViewContext*, int v) override { attrs_.effect = v; }
    uint32_t GetBackColor() const override { return attrs_.backColor; }
    void SetBackColor(ViewContext*, uint32_t c) override { attrs_.backColor = c; }
    int GetFontSize() const override { return attrs_.sizeCode; }
    void SetFontSize(ViewContext*, int v) override { attrs_.sizeCode = v; }

    // --- positions inside the sentence (0.1 mm from its left edge) ---
    // x of the caret standing before the cell at byte offset `offset`.
    int GetCaretX(int offset) const;
    // Byte offset for a point: before the first cell whose running advance
    // plus half its own reaches x; never before a leading paragraph mark;
    // an inline object answers 0 or 2 by the half that was hit.
    int HitTest(int x) const;
    using CBasicObj::HitTest;   // the handle hit test of every object

    // --- drawing ---
    void Draw(ViewContext& view, Surface& dc) const override;

private:
    std::string text_;
    mirel::SentenceAttributes attrs_;
    std::unique_ptr<CBasicObj> followObj_;
    int32_t singleByte_ = 1;
};

namespace mirel {
// Can two neighbouring runs become one? Neither carries an inline object,
// their attributes are equal and, when both have text, their classes agree.
bool Mergeable(const CSentence& a, const CSentence& b);
}  // namespace mirel
