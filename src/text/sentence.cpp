#include "text/sentence.h"

#include "persist/archive.h"
#include "platform/cells.h"
#include "platform/messages.h"
#include "platform/muldiv.h"
#include "platform/prompt.h"
#include "text/attribute_list.h"
#include "text/text_measure.h"
#include "text/text_row.h"

#include <algorithm>

MIREL_IMPLEMENT_CLASS(CSentence, &CBasicObj::kClass, 2000)

namespace {
// "□" in GBK.
constexpr std::string_view kCheckBox = "\xA1\xF5";
constexpr std::string_view kCheckBoxCommand = "CHECKBOX()";
}  // namespace

CSentence::CSentence() = default;
CSentence::~CSentence() = default;

void CSentence::SetText(std::string cells)
{
    if (cells.size() % 2)
        cells.push_back('\0');
    const bool lengthChanged = cells.size() != text_.size();
    text_ = std::move(cells);
    singleByte_ = mirel::IsSingleByteText(text_) ? 1 : 0;
    if (lengthChanged)
        if (auto* row = mirel::DynamicCast<CTextRow>(GetParent()))
            row->TextChanged();
}

std::unique_ptr<CBasicObj> CSentence::SetFollowObj(std::unique_ptr<CBasicObj> obj)
{
    if (obj) {
        // An object that holds this sentence somewhere inside cannot be
        // carried by it: that would make the object its own ancestor.
        for (const CBasicObj* p = this; p; p = p->GetParent())
            if (p == obj.get())
                return obj;
    }
    followObj_ = std::move(obj);
    if (followObj_) {
        followObj_->SetParent(this);
        SetText(std::string("\x16\0", 2));
    }
    return nullptr;
}

std::unique_ptr<CBasicObj> CSentence::TakeFollowObj()
{
    if (followObj_)
        followObj_->SetParent(nullptr);
    return std::move(followObj_);
}

void CSentence::Serialize(mirel::Archive& ar)
{
    // Only the rectangle of the base record: no lock or no-print here.
    if (ar.IsStoring()) {
        ar.WriteRect(rect_);
        mirel::WriteSentenceAttributes(ar, attrs_, followObj_.get());
        ar.WriteString(text_);
        return;
    }
    rect_ = ar.ReadRect();
    std::unique_ptr<CBasicObj> follow;
    mirel::ReadSentenceAttributes(ar, attrs_, follow);
    SetText(ar.ReadString());
    if (follow)
        SetFollowObj(std::move(follow));
}

// ---------------------------------------------------------------- formatting

int CSentence::GetLineHeight() const
{
    if (followObj_)
        return mirel::InlineObjectHeight(*followObj_) * 10;
    return GetFontHeight();
}

int CSentence::GetFontHeight() const
{
    const int size = mirel::SizeToHundredthsMm(attrs_.sizeCode);
    return (attrs_.senType == 1 || attrs_.senType == 2) ? mirel::MulDiv(size, 75, 100) : size;
}

int CSentence::GetCharAdvance() const
{
    return (mirel::SizeToHundredthsMm(attrs_.sizeCode) + 5) / 10 + attrs_.charMargin;
}

std::string CSentence::GetFaceName(int* singleByte) const
{
    if (singleByte)
        *singleByte = text_.empty() ? 0 : singleByte_;
    return attrs_.faceName;
}

bool CSentence::SetFaceName(ViewContext*, const std::string& name)
{
    if (!IsSingleByte() && !mirel::IsPrintableFaceName(name))
        return false;
    attrs_.faceName = name;
    return true;
}

bool CSentence::SetAutoCommand(ViewContext*, const std::string& command)
{
    if (command == kCheckBoxCommand) {
        std::string_view cells = text_;
        if (StartsParagraph())
            cells.remove_prefix(2);
        // Cell by cell: a blank beside the box makes the sentence look single-byte.
        std::string text = mirel::FromCells(cells, false);
        const size_t first = text.find_first_not_of(" \t");
        const size_t last = text.find_last_not_of(" \t");
        const std::string_view trimmed =
            first == std::string::npos ? std::string_view() : std::string_view(text).substr(first, last - first + 1);
        if (trimmed != kCheckBox) {
            mirel::ShowComponentMessage("只能对单个字符“□”设置自动指令“CHECKBOX()”。", mirel::PromptIcon::Information);
            return false;
        }
    }
    attrs_.autoCommand = command;
    if (!command.empty()) {
        attrs_.color = 0xFF0000;
    } else {
        attrs_.color = 0;
        attrs_.underline = 0;
    }
    return true;
}

int CSentence::SetFormatByCode(ViewContext* view, int code, const mirel::AttrValue& v)
{
    using namespace mirel;
    switch (code) {
    case kAttrFaceName: SetFaceName(view, v.text); return 1;
    case kAttrSizeCode: SetFontSize(view, v.Int()); return 1;
    case kAttrColor: SetTextColor(view, v.Color()); return 1;
    case kAttrWeight: SetWeight(view, v.Int()); return 1;
    case kAttrItalic: SetItalic(view, v.Int()); return 1;
    case kAttrCharMargin: SetCharSpacing(view, v.Int()); return 1;
    case kAttrUnderline: SetUnderline(view, v.Int()); return 1;
    case kAttrStrikeOut: SetStrikeOut(view, v.Int()); return 1;
    case kAttrScale: SetHorzScale(view, v.Int()); return 1;
    case kAttrSenType: SetScriptType(view, v.Int()); return 1;
    case kAttrAutoCommand: SetAutoCommand(view, v.text); return 1;
    case kAttrEffect: SetTextEffect(view, v.Int()); return 1;
    case kAttrBackColor: SetBackColor(view, v.Color()); return 1;
    default: return 0;
    }
}

// ---------------------------------------------------------------- positions

int CSentence::GetCaretX(int offset) const
{
    const mirel::TextMeasure m(attrs_);
    long long sum = 0;
    const int end = std::clamp(offset, 0, GetTextLength());
    for (int i = 0; i + 1 < GetTextLength() && i < end; i += 2)
        sum += m.CellAdvance(static_cast<unsigned char>(text_[i]), static_cast<unsigned char>(text_[i + 1]),
                             followObj_.get());
    return static_cast<int>((sum + 5) / 10);
}

int CSentence::HitTest(int x) const
{
    if (followObj_)
        return x * 2 < mirel::InlineObjectWidth(*followObj_) ? 0 : 2;
    const mirel::TextMeasure m(attrs_);
    const long long target = static_cast<long long>(x) * 10;
    long long sum = 0;
    int i = TextStart();
    for (; i + 1 < GetTextLength(); i += 2) {
        const int a = m.CellAdvance(static_cast<unsigned char>(text_[i]), static_cast<unsigned char>(text_[i + 1]));
        if (sum + a / 2 >= target)
            return i;
        sum += a;
    }
    return GetTextLength();
}

namespace mirel {

bool Mergeable(const CSentence& a, const CSentence& b)
{
    if (a.FollowObj() || b.FollowObj())
        return false;
    if (!a.Attributes().SameFormat(b.Attributes()))
        return false;
    if (a.GetTextLength() > 0 && b.GetTextLength() > 0 && a.IsSingleByte() != b.IsSingleByte())
        return false;
    return true;
}

}  // namespace mirel
