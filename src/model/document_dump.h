#pragma once
// A readable outline of a document: work forms with their fields, pages,
// and every object with its class, rectangle and children, as indented
// UTF-8 text. Used by `lanzhou --dump` and by tests.
#include <string>

class CMirelData;

namespace mirel {

std::string DumpDocument(const CMirelData& doc);

}  // namespace mirel
