#pragma once
// Changing formatted text at the model level: what import, the text tool,
// undo and the host commands change text through.
//
// None of the edits lays out. Each one marks the rows it touched, and
// Relayout brings the layout up to date once, after any number of edits: an
// importer inserts all its text and lays out at the end; the text tool lays
// out after each keystroke, which costs the paragraph it touched and what
// really moves (see docs/text-layout.md).
//
// Positions are (row, sentence, byte offset) inside one text object; they
// hold until the next layout, which rebuilds rows (keep absolute offsets,
// PositionToOffset / OffsetToPosition, across a layout). A position outside
// the text is brought to the nearest valid one.
#include "text/text_obj.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CWorkForm;
class CMirelData;

namespace mirel {

// Inserts cell text at `at` with the given character attributes. Each
// "\r",0 cell starts a new paragraph with the paragraph attributes of the
// row it is inserted into; text that mixes single- and double-byte
// characters becomes alternating sentences, so that each stays of one
// class; odd-length text is padded with a 0 byte. Text inserted at the very
// start of a paragraph goes after its paragraph mark. Returns the position
// just after the inserted text.
TextPosition InsertCells(CTextObj& obj, TextPosition at, std::string_view cells, const SentenceAttributes& attrs);

// Puts an object into the text at `at`, carried by a sentence of its own
// (the placeholder cell 0x16,0); the object is taken from `object`. An
// object that would end up containing itself is refused: it stays with the
// caller, nothing changes and `at` (clamped) is returned.
TextPosition InsertInlineObject(CTextObj& obj, TextPosition at, std::unique_ptr<CBasicObj>& object,
                                const SentenceAttributes& attrs);

// Deletes the text between two positions (in either order), inline objects
// with it. Deleting a paragraph mark joins the paragraph to the one before.
// Returns the position where the text was.
TextPosition DeleteRange(CTextObj& obj, TextPosition from, TextPosition to);

// The cell text between two positions (in either order).
std::string GetCells(const CTextObj& obj, TextPosition from, TextPosition to);
// The whole cell text of the object.
std::string GetAllCells(const CTextObj& obj);

// Applies a character code (text/attributes.h: 1, 2, 3, 4,
// 5, 7, 8, 9, 10, 11, 19, 31, 32) to every sentence of the range; the
// sentences at its ends are split so that the range starts and ends on
// sentence boundaries. An empty range changes nothing. Returns 0 for codes
// that are not character codes.
int SetCharFormat(CTextObj& obj, TextPosition from, TextPosition to, int code, const AttrValue& value);

// Gives every sentence of the range these character attributes as a whole
// (the sentences at its ends are split as for SetCharFormat): what undo
// uses to put back the formatting a range had.
void SetCharAttributes(CTextObj& obj, TextPosition from, TextPosition to, const SentenceAttributes& attrs);

// Applies a paragraph code (6, 14, 15, 35) to every row of every paragraph
// the range touches, following a paragraph of body text into the columns
// before and after this one. Returns 0 for other codes.
int SetParagraphFormat(CTextObj& obj, TextPosition from, TextPosition to, int code, const AttrValue& value);

// Brings the layout up to date after edits: the object, or for body text
// the whole flow of its work form, from the first row an edit touched (or
// from the start when the object was resized or is new).
void Relayout(CTextObj& obj, ViewContext* view = nullptr);
// Lays out everything again.
void RelayoutAll(CTextObj& obj, ViewContext* view = nullptr);
// Everything of a work form (body text, text objects on its pages, header
// and footer) that edits, resizing or loading left waiting for layout.
void LayoutPendingText(CWorkForm& wf, ViewContext* view = nullptr);
void LayoutPendingText(CMirelData& doc, ViewContext* view = nullptr);

// Brings a position to the nearest valid one of the object (an object
// without rows gets an empty row first).
TextPosition ClampPosition(CTextObj& obj, TextPosition at);

// Positions across a flow (see FlowChain in text/text_layout.h): the object's
// place in the chain and the position inside it, to and from an offset
// counted over the cells of all objects in flow order. An offset beyond the
// end gives the end of the last object.
struct FlowPosition {
    int object = 0;
    TextPosition at;
    friend bool operator==(const FlowPosition&, const FlowPosition&) = default;
};
int FlowToOffset(const std::vector<CTextObj*>& chain, const FlowPosition& p);
FlowPosition OffsetToFlow(const std::vector<CTextObj*>& chain, int offset);

}  // namespace mirel
