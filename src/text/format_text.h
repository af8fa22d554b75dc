#pragma once
// Formatted text as it travels on the clipboard ("Mirel FormatText"): an
// archive stream holding one object array of CTextRow, one row per
// paragraph piece, each with its paragraph attributes and its sentences.
// Reading it is reading outside data: it is bounded by the archive's checks
// and refused whole when any part is damaged.
#include "text/attributes.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CBasicObj;

namespace mirel {

// A formatted piece of text, as cut out for undo or the clipboard. A run
// that begins with a paragraph mark carries that paragraph's attributes, so
// that restoring it restores the paragraph too.
struct FormatRun {
    std::string cells;
    SentenceAttributes attrs;
    ParagraphAttributes para;
    // An inline object (its cells are the placeholder): a copy, cloned
    // again each time the run is put back.
    std::shared_ptr<const CBasicObj> object = {};
};

// The bytes of runs: a row starts at every paragraph mark.
std::string WriteFormatText(const std::vector<FormatRun>& runs);

// The runs held by the bytes, neighbours of one format merged; false (and
// no runs) when the bytes are not a readable row array.
bool ReadFormatText(std::string_view bytes, std::vector<FormatRun>& runs);

} // namespace mirel
