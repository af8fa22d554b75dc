#pragma once
// A small document to look at: three pages with a watermark and coloured
// boxes standing in for objects, and a second work form.
#include "platform/gbk.h"
#include "view/o_frame.h"
#include "view/table_view.h"
#include "view_support.h"

namespace mirel::test {

inline void FillSampleDocument(COFrame& frame)
{
    CMirelData* doc = frame.GetDocumentData();
    CWorkForm* wf = doc->GetWorkForm(0);
    wf->watermarkText = Utf8ToGbk("样稿").text;
    EnsurePages(*wf, 3);
    const uint32_t colors[] = { 0x3050C0, 0x40A040, 0xC08030 };
    for (int i = 0; i < 3; ++i) {
        CTablePage& page = *wf->GetPage(i);
        AddPainted(page, { 200, 200, 1900, 420 }, colors[i]); // a title band
        AddPainted(page, { 200, 600, 1000, 1400 }, 0xE0E0E0, false); // below the text
        AddPainted(page, { 1100, 600 + 300 * i, 1900, 1200 + 300 * i }, colors[(i + 1) % 3]);
    }
    frame.InsertWorkForm(2);
    frame.ActivateWorkForm(0);
    doc->SetModified(false);
    CTableView* view = frame.ActiveView();
    view->Select(const_cast<CBasicObj*>(wf->GetPage(0)->Objects()[1].get()), false);
}

} // namespace mirel::test
