#pragma once
// CTextTool: the caret editor of a work form's body text, which flows
// through the text columns of all its pages. One per view.
//
// The caret, the selection anchor and the selection end are absolute
// offsets over the flow (view/text_flow.h); they hold across layout. Every
// edit is one undo step (view/undo_actions.h), ends with a layout of what
// it touched, invalidates the changed columns and marks the document
// modified.
#include "text/attributes.h"
#include "view/view_hooks.h"

#include <QPoint>
#include <QRect>
#include <QString>
#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CTableView;
class CTextObj;
class CTablePage;

namespace mirel {
struct AttrValue;
class UndoManager;
class BodyFlow;
struct FormatRun;
using FlowRun = FormatRun;
} // namespace mirel

class CTextTool : public mirel::ViewTool {
public:
    using Point = mirel::Point;

    CTextTool();
    ~CTextTool() override;

    // --- ViewTool ---
    void OnLButtonDown(CTableView& view, unsigned flags, Point gridPoint) override;
    void OnMouseMove(CTableView& view, unsigned flags, Point gridPoint) override;
    void OnLButtonUp(CTableView& view, unsigned flags, Point gridPoint) override;
    void OnLButtonDblClk(CTableView& view, unsigned flags, Point gridPoint) override;
    bool OnKeyDown(CTableView& view, int key, unsigned flags) override;
    void Cancel(CTableView& view) override;
    void DrawFeedback(CTableView& view, mirel::Surface& dc) override;
    bool HasTextSelection() const override { return HasSelection(); }
    bool CaretFormat(std::string& faceGbk, int& sizeCode) const override;

    // --- where the tool stands ---
    int Caret() const { return caret_; }
    int Anchor() const { return anchor_; }
    bool HasSelection() const { return anchor_ >= 0 && anchor_ != caret_; }
    int SelectionStart() const { return HasSelection() ? std::min(anchor_, caret_) : caret_; }
    int SelectionEnd() const { return HasSelection() ? std::max(anchor_, caret_) : caret_; }
    // Puts the caret at a flow offset; with `extend` the anchor stays (or
    // is set to the old caret), else the selection goes.
    void SetCaret(CTableView& view, int offset, bool extend = false);
    // Selects [from, to) with the caret at `to`.
    void Select(CTableView& view, int from, int to);
    void SelectAll(CTableView& view);
    void ClearSelection(CTableView& view);
    // The selected cells (empty without a selection).
    std::string SelectedCells(CTableView& view) const;
    // The flow offset under a grid point, or -1 when no body text is there.
    int OffsetAt(CTableView& view, Point gridPoint) const;
    // Does a click at the point land in body text?
    bool WantsClick(CTableView& view, Point gridPoint) const { return OffsetAt(view, gridPoint) >= 0; }

    // --- editing ---
    // Inserts cell text at the caret with the typing attributes, replacing
    // the selection (and in overwrite mode what follows the caret).
    void InsertText(CTableView& view, std::string_view cells);
    // Text typed or committed by the input method: taken whole, converted to
    // GBK; a character GBK cannot hold becomes "?" and the user is told once.
    void TypeText(CTableView& view, const QString& text);
    // A single character message (GBK byte): a lead byte waits for its trail.
    void OnChar(CTableView& view, unsigned char byte);
    void InsertParagraph(CTableView& view);
    // Backspace (forward = false) and Delete.
    void DeleteChar(CTableView& view, bool forward);
    void DeleteSelection(CTableView& view);
    // Replaces [from, to) with cells in the given attributes as one undo
    // step; the caret goes behind the new text. Returns the end offset.
    int ReplaceRange(
        CTableView& view, int from, int to, std::string_view cells, const mirel::SentenceAttributes& attrs);

    // The same with formatted runs (pasting, dropping).
    int ReplaceWithRuns(CTableView& view, int from, int to, const std::vector<mirel::FlowRun>& runs);

    // Character codes: to the typing attributes and the selection; paragraph
    // codes (6, 14, 15, 35): to the paragraphs the selection touches. Text
    // effects given twice are removed. False for a code that is not taken.
    bool SetFormatByCode(CTableView& view, int code, const mirel::AttrValue& value);
    const mirel::SentenceAttributes& TypingAttributes() const { return typing_; }
    // The attributes of the caret's paragraph.
    mirel::ParagraphAttributes CaretParagraph(CTableView& view) const;
    // Gives every paragraph the selection touches these attributes, as one
    // undo step.
    bool SetParagraph(CTableView& view, const mirel::ParagraphAttributes& para);

    // The input method's composition, drawn at the caret.
    void SetPreedit(CTableView& view, const QString& text);
    const QString& Preedit() const { return preedit_; }
    // The caret in client pixels (input-method placement).
    QRect CaretClientRect(CTableView& view) const;
    // Scrolls the caret into view and updates its rectangle.
    void UpdateCaret(CTableView& view);
    void CaretBlinked(CTableView& view) override { InvalidateCaret(view); }

    // Overwrite mode, shared by all views (command 59140).
    static bool Overwrite();
    static void SetOverwrite(bool on);

    // Undo put text back: the caret goes to `caret`, the view repaints.
    void AfterUndo(CTableView& view, int caret);

    // The text the quick menu of an auto command offers (the items of
    // "MENU(a|b|c)"), and choosing one: the whole run of sentences with that
    // command around the caret is replaced, attributes and command kept.
    static std::vector<std::string> QuickMenuItems(std::string_view command);
    bool ChooseQuickMenuItem(CTableView& view, int offset, std::string_view itemGbk);

private:
    int Replace(CTableView& view, int from, int to, const std::vector<mirel::FlowRun>& runs, bool keepParagraphs);
    void AfterEdit(CTableView& view, mirel::BodyFlow& flow, int caret);
    // After a format change: the document is modified, the text laid out
    // again and repainted, the selection kept.
    void FinishFormatting(CTableView& view, mirel::BodyFlow& flow);
    void TakeTypingAttributes(CTableView& view);
    void MoveVertical(CTableView& view, bool down);
    void MoveToRowEdge(CTableView& view, bool end, bool extend);
    void PlaceAfterPageScroll(CTableView& view);
    bool RunAutoCommand(CTableView& view, unsigned flags);
    void InvalidateCaret(CTableView& view);
    void InvalidateRange(CTableView& view, int from, int to);

    int caret_ = 0;
    int anchor_ = -1;
    bool selecting_ = false; // the mouse is captured for selecting
    bool dragging_ = false; // the press landed in the selection: a drop moves it
    bool caretAtRowStart_ = false; // an offset on a soft row break shows on the later row
    int pendingLead_ = -1; // a lead byte waiting for its trail byte
    mirel::SentenceAttributes typing_;
    QString preedit_;
    int lastCaretClientX_ = -1;
    int lastCaretClientY_ = -1;
};

namespace mirel {

// Gives a view its text tool and undo manager and registers the commands
// of text editing in its command table. The view calls it once.
void InstallTextEditing(CTableView& view);

// How the quick menu of a "MENU(...)" command lets the user choose: the
// index of the item chosen, or -1 (a QMenu at the point by default; tests
// answer for the user).
void SetQuickMenuChooser(std::function<int(CTableView&, const std::vector<std::string>&, QPoint)> chooser);

// How the paragraph dialog asks: the attributes chosen, or nothing when the
// user cancels (the Qt dialog by default; tests answer for the user).
void SetParagraphDialogRunner(
    std::function<std::optional<ParagraphAttributes>(CTableView&, const ParagraphAttributes&)> runner);

// The text tool of a view (null when it has none).
CTextTool* TextToolOf(const CTableView& view);
UndoManager* UndoManagerOf(const CTableView& view);

// The overwrite toggle and its status-bar texts.
inline constexpr int kCmdOverwrite = 59140;
inline constexpr char kOverwriteText[] = "改写";
inline constexpr char kInsertText[] = "插入";

} // namespace mirel
