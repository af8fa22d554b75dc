#pragma once
// Attribute lists in the file: before a sentence, row or text object is
// written, each property that differs from the reference record of its kind
// becomes an attribute object, inserted at the head of the list; reading
// applies each attribute of the list in order.
#include "text/attributes.h"

#include <memory>

class CBasicObj;
namespace mirel {
class Archive;

void WriteSentenceAttributes(Archive& ar, const SentenceAttributes& a, const CBasicObj* followObj);
void ReadSentenceAttributes(Archive& ar, SentenceAttributes& a, std::unique_ptr<CBasicObj>& followObj);

void WriteParagraphAttributes(Archive& ar, const ParagraphAttributes& p);
void ReadParagraphAttributes(Archive& ar, ParagraphAttributes& p);

void WriteTextObjAttributes(Archive& ar, const TextObjAttributes& t);
void ReadTextObjAttributes(Archive& ar, TextObjAttributes& t);

}  // namespace mirel
