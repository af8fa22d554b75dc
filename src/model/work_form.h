#pragma once
// CWorkForm: one sheet of a document, with its own page setup, numbering,
// header and footer, watermark, optional sheet password and ordered pages.
#include "model/geometry.h"
#include "model/mirel_object.h"

#include <memory>
#include <string>
#include <vector>

class CMirelData;
class CTablePage;
class CTextObj;
class CImage;
class CPageHeadFoot;

namespace mirel {
class ViewContext;
}

class CWorkForm : public mirel::CMirelObject {
    MIREL_DECLARE_CLASS(CWorkForm)
public:
    CWorkForm();   // one empty page, named "sheet" until a document names it
    ~CWorkForm() override;
    void Serialize(mirel::Archive& ar) override;

    // --- pages ---
    int PageCount() const { return static_cast<int>(pages_.size()); }
    CTablePage* GetPage(int index) const;
    int IndexOfPage(const CTablePage* page) const;
    CTablePage* AddPage();                                    // a new page with its columns, at the end
    CTablePage* InsertPage(int index, std::unique_ptr<CTablePage> page);
    // Refused (null) when the work form has a single page; returns the page
    // before the removed one, or the first. Hands the page back when !del.
    CTablePage* DeletePage(CTablePage* page, bool del, std::unique_ptr<CTablePage>* released = nullptr);

    // --- page setup ---
    mirel::Size GetPageSize() const { return {pageWidth, pageHeight}; }
    mirel::Rect GetContentRect() const
    {
        return {marginLeft, marginTop, pageWidth - marginRight, pageHeight - marginBottom};
    }
    void SetMargins(int l, int t, int r, int b);   // ignored when less than 10 units would be left
    void SetBackgroundPicture(std::unique_ptr<CImage> picture);
    CImage* GetBackgroundPicture() const { return backgroundPicture_.get(); }
    void SetHeader(std::unique_ptr<CPageHeadFoot> frame);
    void SetFooter(std::unique_ptr<CPageHeadFoot> frame);
    CPageHeadFoot* GetHeader() const { return header_.get(); }
    CPageHeadFoot* GetFooter() const { return footer_.get(); }
    void SetZoomMode(int m) { zoomMode = m; }
    void SetZoomPercent(int p) { zoomPercent = p; }

    // --- text flow ---
    CTextObj* FindTextColumn(int flowIndex) const;
    int MaxFlowIndex() const;
    // Tells the work form a column took this flow index (keeps MaxFlowIndex cheap).
    void NoteFlowIndex(int flowIndex) const;
    void RenumberFlow();   // 0, 1, 2 … in page order and column order

    // The page-number text for page i (0-based), or empty when it shows none.
    std::string PageNumberText(int pageIndex) const;   // UTF-8
    // Where page i's number box stands, and its alignment (0 left, 1 centre, 2 right).
    mirel::Rect PageNumberRect(int pageIndex, int* alignment) const;

    // Copies the page setup, pages (cloned), header, footer and settings.
    void CopyFrom(const CWorkForm& other);
    // After loading: page links, flow indices, automatic names.
    void FixUpAfterLoad();

    CMirelData* GetDocument() const { return document_; }
    void SetDocument(CMirelData* doc) { document_ = doc; }

    // Fields, named as in the file; strings are GBK.
    int32_t id = 0xE900;
    std::string name = "sheet";
    int32_t pageWidth = 2100, pageHeight = 2970;
    int32_t orientation = 1;
    int32_t marginLeft = 200, marginTop = 200, marginRight = 200, marginBottom = 200;
    int32_t headMargin = 150, footMargin = 170;
    int32_t reservedValue = 0;
    int32_t showMarginMarks = 1;
    int32_t zoomMode = 1, zoomPercent = 100;
    uint32_t backgroundColor = 0xFFFFFF;
    int32_t pageNumberFormat = 0, pageNumberPosition = 5, pageNumberStart = 1;
    int32_t firstPageUnnumbered = 0, showPageTotal = 0, numberBelowFooter = 0;
    int32_t columnCount = 1, columnGap = 65;
    int32_t columnLineType = 0, columnLineWidth = 1;
    uint32_t columnLineColor = 0xC0C0C0;
    int32_t columnOrient = 1;
    std::string sheetPassword;   // plain in memory, scrambled in the file
    std::string watermarkText;
    std::string watermarkFont = "\xCB\xCE\xCC\xE5";   // 宋体
    int16_t watermarkSize = 5000;
    uint32_t watermarkColor = 0xE1E1E1;
    int32_t watermarkHorizontal = 0;
    int32_t objectCounter = 0;
    mirel::ViewContext* view = nullptr;   // run-time

private:
    std::vector<std::unique_ptr<CTablePage>> pages_;
    std::unique_ptr<CImage> backgroundPicture_;
    std::unique_ptr<CPageHeadFoot> header_, footer_;
    CMirelData* document_ = nullptr;
    // The largest flow index, or kUnknownFlow until it is counted again.
    static constexpr int kUnknownFlow = -2;
    mutable int maxFlow_ = kUnknownFlow;
};
