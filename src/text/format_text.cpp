#include "text/format_text.h"

#include "model/basic_obj.h"
#include "persist/archive.h"
#include "text/sentence.h"
#include "text/text_row.h"

namespace mirel {

std::string WriteFormatText(const std::vector<FormatRun>& runs)
{
    std::vector<std::unique_ptr<CTextRow>> rows;
    for (const FormatRun& run : runs) {
        const bool mark = run.cells.size() >= 2 && run.cells[0] == '\r' && run.cells[1] == 0;
        if (rows.empty() || mark) {
            rows.push_back(std::make_unique<CTextRow>());
            rows.back()->SetParagraph(run.para);
        }
        auto s = std::make_unique<CSentence>();
        s->SetAttributes(run.attrs);
        s->SetText(run.cells);
        if (run.object)
            s->SetFollowObj(run.object->Clone());
        rows.back()->InsertSentence(rows.back()->SentenceCount(), std::move(s));
    }
    Archive ar;
    ar.WriteCount(rows.size());
    for (const auto& row : rows)
        ar.WriteObject(row.get());
    return ar.TakeBuffer();
}

bool ReadFormatText(std::string_view bytes, std::vector<FormatRun>& runs)
{
    runs.clear();
    try {
        Archive ar(bytes);
        const uint32_t count = ar.ReadCount(4);
        for (uint32_t i = 0; i < count; ++i) {
            std::unique_ptr<CTextRow> row = ar.ReadOwned<CTextRow>();
            if (!row)
                continue;
            for (const auto& s : row->Sentences()) {
                if (s->GetText().empty())
                    continue;
                if (s->FollowObj()) {
                    runs.push_back(FormatRun { s->GetText(), s->Attributes(), row->Paragraph(),
                        std::shared_ptr<const CBasicObj>(s->TakeFollowObj()) });
                    continue;
                }
                if (!runs.empty() && !s->StartsParagraph() && !runs.back().object
                    && runs.back().attrs.SameFormat(s->Attributes()))
                    runs.back().cells += s->GetText();
                else
                    runs.push_back(FormatRun { s->GetText(), s->Attributes(), row->Paragraph() });
            }
            // The stream knows the row and its sentences by address: they
            // live as long as it does, so that a later reference to them
            // finds them (and is refused) instead of freed memory.
            ar.Adopt(std::move(row));
        }
        return true;
    } catch (const ArchiveError&) {
        runs.clear();
        return false;
    }
}

} // namespace mirel
