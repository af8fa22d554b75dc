#include "model/work_form.h"

#include "graphics/image.h"
#include "model/mirel_data.h"
#include "model/table_page.h"
#include "persist/archive.h"
#include "persist/password.h"
#include "text/text_frame.h"
#include "text/text_obj.h"

#include <algorithm>
#include <cstdio>

MIREL_IMPLEMENT_CLASS(CWorkForm, nullptr, 2005)

using mirel::Rect;

CWorkForm::CWorkForm()
{
    AddPage();
}

CWorkForm::~CWorkForm() = default;

// ---------------------------------------------------------------- pages

CTablePage* CWorkForm::GetPage(int index) const
{
    if (index < 0 || index >= PageCount())
        return nullptr;
    return pages_[index].get();
}

int CWorkForm::IndexOfPage(const CTablePage* page) const
{
    // Pages are mostly asked for at the end, or know their index through
    // their columns; both are checked before the search.
    const int count = PageCount();
    if (count && pages_.back().get() == page)
        return count - 1;
    if (const CTextObj* col = page ? page->TextColumn(0) : nullptr) {
        const int i = col->GetPageIndex();
        if (i >= 0 && i < count && pages_[i].get() == page)
            return i;
    }
    for (size_t i = 0; i < pages_.size(); ++i)
        if (pages_[i].get() == page)
            return static_cast<int>(i);
    return -1;
}

CTablePage* CWorkForm::AddPage()
{
    return InsertPage(PageCount(), std::make_unique<CTablePage>());
}

CTablePage* CWorkForm::InsertPage(int index, std::unique_ptr<CTablePage> page)
{
    index = std::clamp(index, 0, PageCount());
    CTablePage* raw = page.get();
    if (!raw->TextColumns().empty())
        maxFlow_ = kUnknownFlow;   // a page that brings columns of its own
    pages_.insert(pages_.begin() + index, std::move(page));
    raw->SetWorkForm(this);
    raw->LayoutColumns(view);
    for (int i = index; i < PageCount(); ++i)
        for (const auto& col : pages_[i]->TextColumns())
            col->SetPageIndex(i);
    return raw;
}

CTablePage* CWorkForm::DeletePage(CTablePage* page, bool del, std::unique_ptr<CTablePage>* released)
{
    if (PageCount() <= 1)
        return nullptr;
    const int i = IndexOfPage(page);
    if (i < 0)
        return nullptr;
    std::unique_ptr<CTablePage> taken = std::move(pages_[i]);
    pages_.erase(pages_.begin() + i);
    maxFlow_ = kUnknownFlow;
    taken->SetWorkForm(nullptr);
    if (!del && released)
        *released = std::move(taken);
    return pages_[i > 0 ? i - 1 : 0].get();
}

// ---------------------------------------------------------------- setup

void CWorkForm::SetMargins(int l, int t, int r, int b)
{
    if (pageWidth - r - l < 10 || pageHeight - b - t < 10)
        return;
    marginLeft = l;
    marginTop = t;
    marginRight = r;
    marginBottom = b;
}

void CWorkForm::SetBackgroundPicture(std::unique_ptr<CImage> picture)
{
    backgroundPicture_ = std::move(picture);
    if (backgroundPicture_)
        backgroundPicture_->SetRect(0, 0, pageWidth, pageHeight);
}

void CWorkForm::SetHeader(std::unique_ptr<CPageHeadFoot> frame)
{
    header_ = std::move(frame);
}

void CWorkForm::SetFooter(std::unique_ptr<CPageHeadFoot> frame)
{
    footer_ = std::move(frame);
}

// ---------------------------------------------------------------- flow

CTextObj* CWorkForm::FindTextColumn(int flowIndex) const
{
    for (const auto& page : pages_)
        for (const auto& col : page->TextColumns())
            if (col->GetFlowIndex() == flowIndex)
                return col.get();
    return nullptr;
}

void CWorkForm::NoteFlowIndex(int flowIndex) const
{
    if (maxFlow_ != kUnknownFlow)
        maxFlow_ = std::max(maxFlow_, flowIndex);
}

int CWorkForm::MaxFlowIndex() const
{
    if (maxFlow_ != kUnknownFlow)
        return maxFlow_;
    int m = -1;
    for (const auto& page : pages_)
        for (const auto& col : page->TextColumns())
            m = std::max(m, col->GetFlowIndex());
    maxFlow_ = m;
    return m;
}

void CWorkForm::RenumberFlow()
{
    int k = 0;
    maxFlow_ = kUnknownFlow;
    for (size_t p = 0; p < pages_.size(); ++p)
        for (const auto& col : pages_[p]->TextColumns()) {
            col->SetFlowIndex(k++);
            col->SetPageIndex(static_cast<int>(p));
            col->SetPage(pages_[p].get());
        }
}

void CWorkForm::FixUpAfterLoad()
{
    for (const auto& page : pages_)
        page->SetWorkForm(this);
    RenumberFlow();
    if (objectCounter == 0)
        for (const auto& page : pages_)
            page->NameObjects(objectCounter);
}

// ---------------------------------------------------------------- numbers

std::string CWorkForm::PageNumberText(int i) const
{
    const int count = PageCount();
    int format = pageNumberFormat;
    if (i == 0 && firstPageUnnumbered)
        format = 0;
    if (format == 0)
        return {};
    const int n = i + pageNumberStart - (firstPageUnnumbered ? 1 : 0);
    std::string total;
    if (showPageTotal)
        total = std::to_string(count + pageNumberStart - 2 + (firstPageUnnumbered ? 0 : 1));
    const std::string num = std::to_string(n);
    const bool t = !total.empty();
    switch (format) {
    case 1: return t ? num + "/" + total : num;
    case 2: return t ? "- " + num + "/" + total + " -" : "- " + num + " -";
    case 3: return num + "." + total;
    case 4: return t ? "( " + num + "/" + total + " )" : "( " + num + " )";
    case 5: return t ? "第 " + num + " 页  共 " + total + " 页" : "第 " + num + " 页";
    case 6: return t ? "·" + num + "/" + total + "·" : "·" + num + "·";
    default: return num;
    }
}

Rect CWorkForm::PageNumberRect(int i, int* alignment) const
{
    const Rect content = GetContentRect();
    const int L = content.left, R = content.right;
    const int cx = L + (R - L) / 2;
    const int head = headMargin;
    const int footY = pageHeight - footMargin;
    const int f = (footer_ && numberBelowFooter) ? footer_->GetRect().Height() : 0;
    const int my = head + (footY - head) / 2;
    int position = pageNumberPosition;
    if (position == 8) {
        const int n = i + pageNumberStart - (firstPageUnnumbered ? 1 : 0);
        position = (n % 2 == 0) ? 7 : 6;
    }
    int align = 1;
    Rect r;
    switch (position) {
    case 0: r = {L, head - 300, L + 900, head}; align = 0; break;
    case 1: r = {cx - 450, head - 300, cx + 450, head}; break;
    case 2: r = {R - 900, head - 300, R, head}; align = 2; break;
    case 3: r = {L, footY + f, L + 900, footY + f + 300}; align = 0; break;
    case 4: r = {cx - 450, footY + f, cx + 450, footY + f + 300}; break;
    case 5: r = {R - 450, footY + f, R, footY + f + 450}; align = 2; break;
    case 6: r = {R - 450, my - 112, R + 450, my + 112}; break;
    case 7: r = {L - 450, my - 112, L + 450, my + 112}; break;
    default: r = {R - 450, footY + f, R, footY + f + 450}; align = 2; break;
    }
    if (alignment)
        *alignment = align;
    return r;
}

// ---------------------------------------------------------------- copy

void CWorkForm::CopyFrom(const CWorkForm& o)
{
    for (const auto& page : o.pages_) {
        auto copy = page->Clone();
        InsertPage(PageCount(), std::unique_ptr<CTablePage>(static_cast<CTablePage*>(copy.release())));
    }
    id = o.id;
    name = o.name;
    backgroundPicture_.reset();
    if (o.backgroundPicture_)
        backgroundPicture_.reset(static_cast<CImage*>(o.backgroundPicture_->Clone().release()));
    pageWidth = o.pageWidth;
    pageHeight = o.pageHeight;
    orientation = o.orientation;
    marginLeft = o.marginLeft;
    marginTop = o.marginTop;
    marginRight = o.marginRight;
    marginBottom = o.marginBottom;
    backgroundColor = o.backgroundColor;
    zoomMode = o.zoomMode;
    zoomPercent = o.zoomPercent;
    header_.reset();
    footer_.reset();
    if (o.header_)
        header_.reset(static_cast<CPageHeadFoot*>(o.header_->Clone().release()));
    if (o.footer_)
        footer_.reset(static_cast<CPageHeadFoot*>(o.footer_->Clone().release()));
    pageNumberFormat = o.pageNumberFormat;
    pageNumberPosition = o.pageNumberPosition;
    pageNumberStart = o.pageNumberStart;
    firstPageUnnumbered = o.firstPageUnnumbered;
    headMargin = o.headMargin;
    footMargin = o.footMargin;
    reservedValue = o.reservedValue;
    columnCount = o.columnCount;
    columnGap = o.columnGap;
    columnLineType = o.columnLineType;
    columnLineWidth = o.columnLineWidth;
    columnLineColor = o.columnLineColor;
    columnOrient = o.columnOrient;
    sheetPassword = o.sheetPassword;
    watermarkText = o.watermarkText;
    watermarkFont = o.watermarkFont;
    watermarkSize = o.watermarkSize;
    watermarkColor = o.watermarkColor;
    watermarkHorizontal = o.watermarkHorizontal;
    objectCounter = o.objectCounter;
    showPageTotal = o.showPageTotal;
    numberBelowFooter = o.numberBelowFooter;
    RenumberFlow();
}

// ---------------------------------------------------------------- the record

void CWorkForm::Serialize(mirel::Archive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteCount(pages_.size());
        for (const auto& p : pages_)
            ar.WriteObject(p.get());
        ar.WriteI32(id);
        ar.WriteString(name);
        ar.WriteObject(backgroundPicture_.get());
        ar.WriteI32(pageWidth);
        ar.WriteI32(pageHeight);
        ar.WriteI32(orientation);
        ar.WriteI32(marginLeft);
        ar.WriteI32(marginTop);
        ar.WriteI32(marginRight);
        ar.WriteI32(marginBottom);
        ar.WriteU32(backgroundColor);
        ar.WriteI32(zoomMode);
        ar.WriteI32(zoomPercent);
        ar.WriteObject(header_.get());
        ar.WriteObject(footer_.get());
        ar.WriteI32(pageNumberFormat);
        ar.WriteI32(pageNumberPosition);
        ar.WriteI32(pageNumberStart);
        ar.WriteI32(firstPageUnnumbered);
        ar.WriteI32(headMargin);
        ar.WriteI32(footMargin);
        ar.WriteI32(reservedValue);
        ar.WriteI32(columnCount);
        ar.WriteI32(columnGap);
        ar.WriteI32(columnLineType);
        ar.WriteI32(columnLineWidth);
        ar.WriteU32(columnLineColor);
        ar.WriteI32(columnOrient);
        ar.WriteString(mirel::ScramblePassword(sheetPassword).value_or(std::string()));
        ar.WriteString(watermarkText);
        ar.WriteString(watermarkFont);
        ar.WriteI16(watermarkSize);
        ar.WriteU32(watermarkColor);
        ar.WriteI32(watermarkHorizontal);
        ar.WriteI32(objectCounter);
        ar.WriteI32(showPageTotal);
        ar.WriteI32(numberBelowFooter);
        return;
    }

    const uint32_t schema = ar.GetObjectSchema();
    pages_.clear();
    const uint32_t n = ar.ReadCount(2);
    for (uint32_t i = 0; i < n; ++i) {
        std::unique_ptr<CTablePage> page = ar.ReadOwned<CTablePage>();
        if (!page)
            throw mirel::ArchiveError(mirel::ArchiveError::Kind::BadRecord, "null page");
        page->SetWorkForm(this);
        pages_.push_back(std::move(page));
    }
    if (pages_.empty())
        throw mirel::ArchiveError(mirel::ArchiveError::Kind::BadRecord, "a work form without pages");
    id = ar.ReadI32();
    name = ar.ReadString();
    backgroundPicture_ = ar.ReadOwned<CImage>();
    pageWidth = ar.ReadI32();
    pageHeight = ar.ReadI32();
    orientation = ar.ReadI32();
    marginLeft = ar.ReadI32();
    marginTop = ar.ReadI32();
    marginRight = ar.ReadI32();
    marginBottom = ar.ReadI32();
    backgroundColor = ar.ReadU32();
    zoomMode = ar.ReadI32();
    zoomPercent = ar.ReadI32();
    header_ = ar.ReadOwned<CPageHeadFoot>();
    footer_ = ar.ReadOwned<CPageHeadFoot>();
    pageNumberFormat = ar.ReadI32();
    pageNumberPosition = ar.ReadI32();
    pageNumberStart = ar.ReadI32();
    firstPageUnnumbered = ar.ReadI32();
    headMargin = ar.ReadI32();
    footMargin = ar.ReadI32();
    reservedValue = ar.ReadI32();
    if (schema > 2000) {
        columnCount = ar.ReadI32();
        if (columnCount == 0)
            columnCount = 1;
        columnGap = ar.ReadI32();
        columnLineType = ar.ReadI32();
        columnLineWidth = ar.ReadI32();
        columnLineColor = ar.ReadU32();
        columnOrient = ar.ReadI32();
    }
    if (schema > 2001)
        sheetPassword = mirel::UnscramblePassword(ar.ReadString());
    if (schema > 2002) {
        watermarkText = ar.ReadString();
        watermarkFont = ar.ReadString();
        watermarkSize = ar.ReadI16();
        watermarkColor = ar.ReadU32();
        watermarkHorizontal = ar.ReadI32();
    }
    if (schema > 2003)
        objectCounter = ar.ReadI32();
    if (schema > 2004) {
        showPageTotal = ar.ReadI32();
        numberBelowFooter = ar.ReadI32();
    }
    FixUpAfterLoad();
}
