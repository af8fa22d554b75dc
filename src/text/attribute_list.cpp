#include "text/attribute_list.h"

#include "model/basic_obj.h"
#include "persist/archive.h"
#include "text/attribute_objects.h"
#include "text/emend.h"

#include <array>
#include <optional>
#include <variant>

namespace mirel {

namespace {

// Collects the attribute records of one list on the stack, in creation
// order, and writes them head first (the reverse order) as fresh records.
class ListWriter {
public:
    explicit ListWriter(Archive& ar) : ar_(ar) {}
    template <class T, class... Args>
    T* Add(Args&&... args)
    {
        std::optional<AnyAttribute>& slot = items_.at(count_++);
        slot.emplace(std::in_place_type<T>, std::forward<Args>(args)...);
        return &std::get<T>(*slot);
    }
    void Write()
    {
        ar_.WriteCount(count_);
        for (size_t i = count_; i-- > 0;)
            std::visit([this](const auto& attr) { ar_.WriteFresh(attr); }, *items_[i]);
    }

private:
    using AnyAttribute =
        std::variant<CAttrib_Int, CAttrib_Color, CAttrib_String, CAttrib_ToNxtRow, CAttrib_FollowObj, CAttrib_Emend>;
    Archive& ar_;
    std::array<std::optional<AnyAttribute>, 16> items_;
    size_t count_ = 0;
};

// Reads an object list of attributes; each one is handed to apply() and
// then discarded.
template <class Fn>
void ReadList(Archive& ar, Fn&& apply)
{
    const uint32_t n = ar.ReadCount(2);
    for (uint32_t i = 0; i < n; ++i) {
        std::unique_ptr<CAttribute> attr = ar.ReadOwned<CAttribute>();
        if (!attr)
            continue;
        apply(*attr);
        ar.Discard(std::move(attr));
    }
}

const CAttrib_Int* AsInt(const CAttribute& a) { return DynamicCast<CAttrib_Int>(&a); }
const CAttrib_String* AsString(const CAttribute& a) { return DynamicCast<CAttrib_String>(&a); }
const CAttrib_Color* AsColor(const CAttribute& a) { return DynamicCast<CAttrib_Color>(&a); }

}  // namespace

// ---------------------------------------------------------------- sentence

void WriteSentenceAttributes(Archive& ar, const SentenceAttributes& a, const CBasicObj* followObj)
{
    static const SentenceAttributes ref;   // built once: a document writes millions of runs
    ListWriter w(ar);
    if (a.faceName != ref.faceName) w.Add<CAttrib_String>(kAttrFaceName, a.faceName);
    if (a.sizeCode != ref.sizeCode) w.Add<CAttrib_Int>(kAttrSizeCode, a.sizeCode);
    if (a.color != ref.color) w.Add<CAttrib_Color>(kAttrColor, a.color);
    if (a.weight != ref.weight) w.Add<CAttrib_Int>(kAttrWeight, a.weight);
    if (a.italic != ref.italic) w.Add<CAttrib_Int>(kAttrItalic, a.italic);
    if (a.charMargin != ref.charMargin) w.Add<CAttrib_Int>(kAttrCharMargin, a.charMargin);
    if (a.underline != ref.underline) w.Add<CAttrib_Int>(kAttrUnderline, a.underline);
    if (a.strikeOut != ref.strikeOut) w.Add<CAttrib_Int>(kAttrStrikeOut, a.strikeOut);
    if (a.scale != ref.scale) w.Add<CAttrib_Int>(kAttrScale, a.scale);
    if (a.senType != ref.senType) w.Add<CAttrib_Int>(kAttrSenType, a.senType);
    if (a.autoCommand != ref.autoCommand) w.Add<CAttrib_String>(kAttrAutoCommand, a.autoCommand);
    if (followObj)
        w.Add<CAttrib_FollowObj>()->object = followObj;
    if (a.effect != ref.effect) w.Add<CAttrib_Int>(kAttrEffect, a.effect);
    if (a.backColor != ref.backColor) w.Add<CAttrib_Color>(kAttrBackColor, a.backColor);
    if (a.emend && !a.emend->IsEmpty()) {
        // Copies of a sentence share one record in memory; each sentence
        // writes its own, since a record in a file has a single owner.
        std::unique_ptr<CMirelObject> copy = a.emend->CloneThroughArchive();
        w.Add<CAttrib_Emend>()->record = copy.get();
        ar.Adopt(std::move(copy));
    }
    w.Write();
}

void ReadSentenceAttributes(Archive& ar, SentenceAttributes& a, std::unique_ptr<CBasicObj>& followObj)
{
    ReadList(ar, [&](CAttribute& attr) {
        switch (attr.code) {
        case kAttrFaceName: if (auto s = AsString(attr)) a.faceName = s->value; break;
        case kAttrSizeCode: if (auto i = AsInt(attr)) a.sizeCode = ConvertLegacySize(i->value); break;
        case kAttrColor: if (auto c = AsColor(attr)) a.color = c->value; break;
        case kAttrWeight: if (auto i = AsInt(attr)) a.weight = i->value; break;
        case kAttrItalic: if (auto i = AsInt(attr)) a.italic = i->value; break;
        case kAttrCharMargin: if (auto i = AsInt(attr)) a.charMargin = i->value; break;
        case kAttrUnderline: if (auto i = AsInt(attr)) a.underline = i->value; break;
        case kAttrStrikeOut: if (auto i = AsInt(attr)) a.strikeOut = i->value; break;
        case kAttrScale: if (auto i = AsInt(attr)) a.scale = i->value; break;
        case kAttrSenType: if (auto i = AsInt(attr)) a.senType = i->value; break;
        case kAttrAutoCommand: if (auto s = AsString(attr)) a.autoCommand = s->value; break;
        case kAttrEffect: if (auto i = AsInt(attr)) a.effect = i->value; break;
        case kAttrBackColor: if (auto c = AsColor(attr)) a.backColor = c->value; break;
        case kAttrFollowObj:
            if (auto* f = DynamicCast<CAttrib_FollowObj>(&attr); f && f->read)
                followObj = std::move(f->read);
            break;
        case kAttrEmend:
            if (auto* e = DynamicCast<CAttrib_Emend>(&attr); e && e->read)
                a.emend.reset(static_cast<const CEmendInfo*>(e->read.release()));
            break;
        default: break;
        }
    });
}

// ---------------------------------------------------------------- paragraph

void WriteParagraphAttributes(Archive& ar, const ParagraphAttributes& p)
{
    static const ParagraphAttributes ref;
    ListWriter w(ar);
    if (p.lineSpace != ref.lineSpace) w.Add<CAttrib_ToNxtRow>(p.lineSpace);
    if (p.alignment != ref.alignment) w.Add<CAttrib_Int>(kAttrAlignment, p.alignment);
    if (p.verAlignment != ref.verAlignment) w.Add<CAttrib_Int>(kAttrVerAlignment, p.verAlignment);
    if (p.firstLineIndent != ref.firstLineIndent) w.Add<CAttrib_Int>(kAttrFirstLineIndent, p.firstLineIndent);
    w.Write();
}

void ReadParagraphAttributes(Archive& ar, ParagraphAttributes& p)
{
    ReadList(ar, [&](CAttribute& attr) {
        switch (attr.code) {
        case kAttrLineSpace:
            if (auto* t = DynamicCast<CAttrib_ToNxtRow>(&attr))
                p.lineSpace = t->value;
            else if (auto i = AsInt(attr))
                p.lineSpace = i->value;
            break;
        case kAttrAlignment: if (auto i = AsInt(attr)) p.alignment = i->value; break;
        case kAttrVerAlignment: if (auto i = AsInt(attr)) p.verAlignment = i->value; break;
        case kAttrFirstLineIndent: if (auto i = AsInt(attr)) p.firstLineIndent = i->value; break;
        default: break;
        }
    });
}

// ---------------------------------------------------------------- text object

void WriteTextObjAttributes(Archive& ar, const TextObjAttributes& t)
{
    static const TextObjAttributes ref = TextObjAttributes::ArchiveDefaults();
    ListWriter w(ar);
    if (t.leftMargin != ref.leftMargin) w.Add<CAttrib_Int>(kAttrLeftMargin, t.leftMargin);
    if (t.topMargin != ref.leftMargin) w.Add<CAttrib_Int>(kAttrTopMargin, t.topMargin);
    if (t.rightMargin != ref.leftMargin) w.Add<CAttrib_Int>(kAttrRightMargin, t.rightMargin);
    if (t.quickMenuName != ref.quickMenuName) w.Add<CAttrib_String>(kAttrQuickMenuName, t.quickMenuName);
    if (t.quickInputReplace != ref.quickInputReplace) w.Add<CAttrib_Int>(kAttrQuickInputReplace, t.quickInputReplace);
    if (t.objName != ref.objName) w.Add<CAttrib_String>(kAttrObjName, t.objName);
    if (t.rowLine != ref.rowLine) w.Add<CAttrib_Int>(kAttrRowLine, t.rowLine);
    if (t.rowLineColor != ref.rowLineColor) w.Add<CAttrib_Color>(kAttrRowLineColor, t.rowLineColor);
    if (t.quickInputList != ref.quickInputList) w.Add<CAttrib_String>(kAttrQuickInputList, t.quickInputList);
    w.Write();
}

void ReadTextObjAttributes(Archive& ar, TextObjAttributes& t)
{
    // Values absent from the list are those of the reference record.
    t = TextObjAttributes::ArchiveDefaults();
    ReadList(ar, [&](CAttribute& attr) {
        switch (attr.code) {
        case kAttrLeftMargin: if (auto i = AsInt(attr)) t.leftMargin = i->value; break;
        case kAttrTopMargin: if (auto i = AsInt(attr)) t.topMargin = i->value; break;
        case kAttrRightMargin: if (auto i = AsInt(attr)) t.rightMargin = i->value; break;
        case kAttrQuickMenuName: if (auto s = AsString(attr)) t.quickMenuName = s->value; break;
        case kAttrQuickInputReplace: if (auto i = AsInt(attr)) t.quickInputReplace = i->value; break;
        case kAttrObjName: if (auto s = AsString(attr)) t.objName = s->value; break;
        case kAttrRowLine: if (auto i = AsInt(attr)) t.rowLine = i->value; break;
        case kAttrRowLineColor: if (auto c = AsColor(attr)) t.rowLineColor = c->value; break;
        case kAttrQuickInputList: if (auto s = AsString(attr)) t.quickInputList = s->value; break;
        default: break;
        }
    });
}

}  // namespace mirel
