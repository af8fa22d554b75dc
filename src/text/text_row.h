#pragma once
// CTextRow: one laid-out line of a text object, with the attributes of the
// paragraph it belongs to and its runs from left to right.
#include "model/basic_obj.h"
#include "text/attributes.h"

#include <memory>
#include <vector>

class CSentence;

class CTextRow : public CBasicObj {
    MIREL_DECLARE_CLASS(CTextRow)
public:
    // Bits of `flag`, set by layout.
    static constexpr int32_t kShapedByWrap = 1;   // slots cut around floating objects: keep positions
    static constexpr int32_t kHangingSpaces = 2;  // a full row: trailing spaces of the last run count 0

    CTextRow();
    ~CTextRow() override;
    void Serialize(mirel::Archive& ar) override;

    int SentenceCount() const { return static_cast<int>(sentences_.size()); }
    CSentence* GetSentence(int i) const;
    const std::vector<std::unique_ptr<CSentence>>& Sentences() const { return sentences_; }
    CSentence* InsertSentence(int index, std::unique_ptr<CSentence> s);
    std::unique_ptr<CSentence> TakeSentence(int index);
    std::vector<std::unique_ptr<CSentence>> TakeAllSentences();
    bool StartsParagraph() const;
    // Number of bytes of cell text in the row.
    int TextLength() const;
    // Tells the text object holding the row that its text changed.
    void TextChanged() const;
    // Whether any sentence holds text; stops at the first that does.
    bool HasText() const;

    const mirel::ParagraphAttributes& Paragraph() const { return para_; }
    void SetParagraph(const mirel::ParagraphAttributes& p) { para_ = p; }
    int GetVerAlignment() const override { return para_.verAlignment; }
    int GetAlignment() const override { return para_.alignment; }
    int GetLineSpace() const override { return para_.lineSpace; }
    int GetFirstLineIndent() const override { return para_.firstLineIndent; }
    // The row-only setters of the paragraph attributes (the caller lays out).
    void SetRowLineSpace(int v) { para_.lineSpace = v; }
    void SetRowAlignment(int v) { para_.alignment = v; }
    void SetRowVerAlignment(int v) { para_.verAlignment = v; }
    void SetRowFirstLineIndent(int v) { para_.firstLineIndent = v; }

    CSentence* CurrentSentence() const { return current_; }
    void SetCurrentSentence(CSentence* s) { current_ = s; }
    int32_t flag = 0;

    // Run-time: the row's content changed since it was laid out (new rows
    // start so; rows read from a file hold their stored layout).
    bool NeedsLayout() const { return needsLayout_; }
    void SetNeedsLayout(bool on) { needsLayout_ = on; }

    void Draw(ViewContext& view, Surface& dc) const override;

private:
    std::vector<std::unique_ptr<CSentence>> sentences_;
    CSentence* current_ = nullptr;
    mirel::ParagraphAttributes para_;
    bool needsLayout_ = true;
};
