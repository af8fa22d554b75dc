#pragma once
// CTablePage: one page of a work form. It holds the text columns into which
// the work form's body text flows and the floating objects placed on it;
// objects above the text come first in the list, then those below it.
#include "model/basic_obj.h"

#include <memory>
#include <vector>

class CWorkForm;
class CTextObj;
class CTextFrame;

class CTablePage : public CBasicObj {
    MIREL_DECLARE_CLASS(CTablePage)
public:
    CTablePage();
    ~CTablePage() override;
    void Serialize(mirel::Archive& ar) override;

    CWorkForm* GetWorkForm() const { return workForm_; }
    void SetWorkForm(CWorkForm* wf) { workForm_ = wf; }

    // Floating objects, above-text ones first.
    const std::vector<std::unique_ptr<CBasicObj>>& Objects() const { return objects_; }
    // Inserts keeping the above/below order: an above-text object goes after
    // the last above-text one, a below-text object at the end.
    CBasicObj* AddObject(std::unique_ptr<CBasicObj> obj);
    std::unique_ptr<CBasicObj> TakeObject(CBasicObj* obj);

    const std::vector<std::unique_ptr<CTextObj>>& TextColumns() const { return textColumns_; }
    CTextObj* TextColumn(int i) const;
    void AppendTextColumn(std::unique_ptr<CTextObj> column);

    // Sizes the text columns from the work form's page setup, creating the
    // missing ones.
    void LayoutColumns(ViewContext* view);
    // Draws the paper: background, watermark, shadow and margin marks.
    void DrawPaper(ViewContext& view, Surface& dc) const;
    // Gives every unnamed object "Obj%d" with the running counter.
    void NameObjects(int32_t& counter);
    // Strips "Page%d" prefixes (1000 down to 0) and prefixes the page number.
    void PrefixObjectNames(int pageNumber);

    CTextFrame* NumberFrame() const { return numberFrame_.get(); }
    void SetNumberFrame(std::unique_ptr<CTextFrame> frame);

private:
    void AttachObject(CBasicObj* obj);

    std::vector<std::unique_ptr<CBasicObj>> objects_;
    std::unique_ptr<CTextFrame> numberFrame_;
    CWorkForm* workForm_ = nullptr;
    std::vector<std::unique_ptr<CTextObj>> textColumns_;
};
