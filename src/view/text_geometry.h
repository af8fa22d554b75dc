#pragma once
// Where body text stands on screen: the caret's rectangle, the selection's
// rectangles and the flow offset under a point, in the view's grid pixels.
#include "model/geometry.h"
#include "view/text_flow.h"

#include <vector>

class CTableView;
class CSentence;

namespace mirel {

// The sentence a place lies in (null when the object has no rows).
const CSentence* SentenceAt(const FlowPlace& place);
// The place's offset inside its sentence.
int OffsetInSentence(const FlowPlace& place);
// The caret's place; an offset on a soft row break belongs to the end of
// the earlier row unless `atRowStart`.
FlowPlace CaretPlace(const BodyFlow& flow, int offset, bool atRowStart);
// The caret as a zero-width rectangle (one pixel wide) in grid pixels.
bool CaretGridRect(const CTableView& view, const BodyFlow& flow, int offset, bool atRowStart, Rect& out);
// The flow offset under a grid point: in the text column that contains it,
// or, with `nearest`, in the nearest column of the page under it (or of the
// current page). -1 when there is none.
int HitFlow(const CTableView& view, const BodyFlow& flow, Point gridPoint, bool nearest);
// The offset one row up or down from the caret at the same x (into the
// neighbouring object of the flow at the first or last row); -1 at the ends.
int VerticalNeighbour(const BodyFlow& flow, int offset, bool atRowStart, bool down);
// One rectangle a row for the range [from, to), on the visible pages.
std::vector<Rect> SelectionGridRects(const CTableView& view, const BodyFlow& flow, int from, int to);
// The position under a point of an object (0.1 mm, relative to the object).
TextPosition HitInObject(const CTextObj& obj, int x, int y);

} // namespace mirel
