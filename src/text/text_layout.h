#pragma once
// Layout of text objects: sentences are streamed into rows of the available
// width, broken by the Chinese and Latin rules, shaped around floating
// objects, arranged vertically and aligned or justified. Body text flows
// from column to column and page to page, adding pages as it needs them.
//
// Layout is incremental: it starts one row before the first row an edit
// touched, rebuilds whole paragraphs, moves rows that only changed place,
// and stops as soon as an unchanged row would stand where it stood before.
// See docs/text-layout.md for the rules this file decides.
#include "text/attributes.h"

#include <string>
#include <vector>

class CTextObj;
class CWorkForm;

namespace mirel {

class ViewContext;

// What one layout did (for tests and measurements).
struct LayoutStats {
    int rowsBuilt = 0;     // rows broken anew
    int rowsShifted = 0;   // rows only moved to a new place
    int pagesAdded = 0;
    int pagesRemoved = 0;
    LayoutStats& operator+=(const LayoutStats& o)
    {
        rowsBuilt += o.rowsBuilt;
        rowsShifted += o.rowsShifted;
        pagesAdded += o.pagesAdded;
        pagesRemoved += o.pagesRemoved;
        return *this;
    }
};

// The objects one text flows through, in flow order (pages in order, the
// columns of each page in order). A text object that is not body text of a
// work form is a flow of its own. `index` receives the object's place.
std::vector<CTextObj*> FlowChain(const CTextObj& obj, int* index = nullptr);
std::vector<CTextObj*> FlowChain(const CWorkForm& wf);

// Lays out what edits left pending in the object, or in the flow it
// belongs to; `everything` lays out the whole flow again.
LayoutStats LayoutText(CTextObj& obj, ViewContext* view = nullptr, bool everything = false);
// The body text of a work form.
LayoutStats LayoutBodyText(CWorkForm& wf, ViewContext* view = nullptr, bool everything = false);

// True while a layout runs (the formatting getters of a text object then
// answer from its first sentence).
bool LayoutInProgress();

// Indent of a paragraph's first row in 0.1 mm: none in a table cell or for
// centred and right-aligned paragraphs; a negative value is minus the
// indent in 0.1 mm, a positive one a number of characters of the first
// run's size; never more than the width less one character, never negative.
int FirstLineIndent(const ParagraphAttributes& para, const SentenceAttributes& firstRun, int availableWidth,
                    bool tableCell);

// The layout of a text object as text, one line per row, for tests:
//   "<left>,<top>,<right>,<bottom>| <left>-<right>@<top> "text" | …"
// with ¶ for the paragraph mark and [obj] for an inline object.
std::string DumpLayout(const CTextObj& obj);

}  // namespace mirel
