#include "text/text_row.h"

#include "persist/archive.h"
#include "text/attribute_list.h"
#include "text/sentence.h"
#include "text/text_obj.h"

#include <algorithm>

MIREL_IMPLEMENT_CLASS(CTextRow, &CBasicObj::kClass, 2000)

CTextRow::CTextRow() = default;
CTextRow::~CTextRow() = default;

CSentence* CTextRow::GetSentence(int i) const
{
    if (i < 0 || i >= SentenceCount())
        return nullptr;
    return sentences_[i].get();
}

CSentence* CTextRow::InsertSentence(int index, std::unique_ptr<CSentence> s)
{
    index = std::clamp(index, 0, SentenceCount());
    CSentence* raw = s.get();
    raw->SetParent(this);
    sentences_.insert(sentences_.begin() + index, std::move(s));
    if (!current_)
        current_ = raw;
    TextChanged();
    return raw;
}

std::unique_ptr<CSentence> CTextRow::TakeSentence(int index)
{
    if (index < 0 || index >= SentenceCount())
        return nullptr;
    std::unique_ptr<CSentence> s = std::move(sentences_[index]);
    sentences_.erase(sentences_.begin() + index);
    if (current_ == s.get())
        current_ = sentences_.empty() ? nullptr : sentences_.front().get();
    s->SetParent(nullptr);
    TextChanged();
    return s;
}

std::vector<std::unique_ptr<CSentence>> CTextRow::TakeAllSentences()
{
    for (auto& s : sentences_)
        s->SetParent(nullptr);
    current_ = nullptr;
    std::vector<std::unique_ptr<CSentence>> out = std::move(sentences_);
    sentences_.clear();
    TextChanged();
    return out;
}

void CTextRow::TextChanged() const
{
    if (auto* obj = mirel::DynamicCast<CTextObj>(GetParent()))
        obj->TextChanged();
}

int CTextRow::TextLength() const
{
    int n = 0;
    for (const auto& s : sentences_)
        n += s->GetTextLength();
    return n;
}

bool CTextRow::HasText() const
{
    for (const auto& s : sentences_)
        if (s->GetTextLength() > 0)
            return true;
    return false;
}

bool CTextRow::StartsParagraph() const
{
    return !sentences_.empty() && sentences_.front()->StartsParagraph();
}

void CTextRow::Serialize(mirel::Archive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteRect(rect_);
        mirel::WriteParagraphAttributes(ar, para_);
        ar.WriteCount(sentences_.size());
        for (size_t i = 0; i < sentences_.size(); ++i) {
            if (i + 1 < sentences_.size())
                mirel::PrefetchObject(sentences_[i + 1].get());
            ar.WriteObject(sentences_[i].get());
        }
        return;
    }
    rect_ = ar.ReadRect();
    mirel::ReadParagraphAttributes(ar, para_);
    sentences_.clear();
    TextChanged();
    const uint32_t n = ar.ReadCount(2);
    sentences_.reserve(std::min<uint32_t>(n, 4096));
    for (uint32_t i = 0; i < n; ++i)
        if (std::unique_ptr<CSentence> s = ar.ReadOwned<CSentence>())
            InsertSentence(SentenceCount(), std::move(s));
    // A row always holds at least one sentence.
    if (sentences_.empty())
        InsertSentence(0, std::make_unique<CSentence>());
    current_ = sentences_.front().get();
    needsLayout_ = false;
}
