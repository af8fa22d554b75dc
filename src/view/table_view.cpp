#include "view/table_view.h"

#include "model/basic_obj.h"
#include "model/mirel_data.h"
#include "model/table_page.h"
#include "model/work_form.h"
#include "platform/muldiv.h"
#include "view/command_ids.h"
#include "view/page_tip.h"
#include "view/text_tool.h"

#include <QGuiApplication>
#include <QResizeEvent>
#include <QStyleHints>
#include <QScrollBar>
#include <algorithm>
#include <cstdlib>

using mirel::Point;
using mirel::Rect;
using mirel::ScrollAction;

CTableView::CTableView(QWidget* parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent); // every pixel is painted: pages or the grey around them
    setMouseTracking(true);
    autoScroll_.setInterval(50);
    QObject::connect(&autoScroll_, &QTimer::timeout, this, [this] { AutoScrollTick(); });
    // The caret blinks at the desktop's rate; a rate of 0 means it does not.
    const int flash = QGuiApplication::styleHints()->cursorFlashTime();
    caretBlink_.setInterval(std::max(100, flash / 2));
    if (flash > 0)
        QObject::connect(&caretBlink_, &QTimer::timeout, this, [this] { SetCaretOn(!caretOn_); });
    RegisterCommands();
    // Text editing: the text tool, the undo manager and their commands.
    setAttribute(Qt::WA_InputMethodEnabled);
    mirel::InstallTextEditing(*this);
}

CTableView::~CTableView()
{
    DetachScrollBars();
    if (workForm_ && workForm_->view == this)
        workForm_->view = nullptr;
}

// ---------------------------------------------------------------- attaching

void CTableView::AttachDocument(CMirelData* doc, CWorkForm* workForm)
{
    if (workForm_ && workForm_->view == this)
        workForm_->view = nullptr;
    document_ = doc;
    workForm_ = workForm;
    currentPage_ = nullptr;
    selection_.clear();
    visiblePages_.clear();
    pendingTarget_ = nullptr;
    if (workForm_)
        workForm_->view = this;
}

bool CTableView::OnInitialUpdate()
{
    grid_.dpiY = std::max(1, logicalDpiY());
    dpiX_ = std::max(1, logicalDpiX());
    if (!document_ || document_->WorkFormCount() == 0) {
        if (host_)
            host_->ExecuteCommand(mirel::cmd::kCloseDocument);
        return false;
    }
    if (!workForm_)
        AttachDocument(document_, document_->GetWorkForm(0));
    currentPage_ = workForm_->GetPage(0);
    // The first page's text is laid out by the text engine when it draws.
    SetZoom(workForm_->zoomMode, workForm_->zoomPercent);
    if (!pageTip_)
        pageTip_ = new mirel::PageTip(this);
    return true;
}

void CTableView::AttachScrollBars(QScrollBar* horizontal, QScrollBar* vertical)
{
    DetachScrollBars();
    hBar_ = horizontal;
    vBar_ = vertical;
    for (QScrollBar* bar : { horizontal, vertical }) {
        if (!bar)
            continue;
        const bool isVertical = bar == vertical;
        bar->setTracking(true);
        barConnections_.push_back(QObject::connect(bar, &QAbstractSlider::actionTriggered, this,
            [this, isVertical](int action) { OnScrollBarAction(isVertical, action); }));
        if (isVertical) {
            barConnections_.push_back(
                QObject::connect(bar, &QAbstractSlider::sliderReleased, this, [this] { ShowPageTip(false); }));
        }
    }
    UpdateScrollBars();
}

void CTableView::DetachScrollBars()
{
    for (const auto& c : barConnections_)
        QObject::disconnect(c);
    barConnections_.clear();
    hBar_ = nullptr;
    vBar_ = nullptr;
}

int CTableView::PageCount() const
{
    return workForm_ ? workForm_->PageCount() : 0;
}

// ---------------------------------------------------------------- zoom and layout

void CTableView::SetZoom(int mode, int percent)
{
    if (!workForm_)
        return;
    const int pageW100 = mirel::MulDiv(100 * workForm_->pageWidth, grid_.dpiY, 25400);
    const int pageH100 = mirel::MulDiv(100 * workForm_->pageHeight, grid_.dpiY, 25400);
    const mirel::ZoomSetting z = mirel::ResolveZoom(mode, percent, grid_.zoom, width(), height(), pageW100, pageH100);
    // A relative step is stored as the percentage it gave, so that applying
    // the stored setting again does not step again.
    const mirel::ZoomSetting stored = mode == mirel::kZoomStep ? z : mirel::ZoomSetting { mode, percent };
    workForm_->SetZoomMode(stored.mode);
    workForm_->SetZoomPercent(stored.percent);
    if (PageCount() == 0 || workForm_->pageWidth <= 0 || workForm_->pageHeight <= 0)
        return;
    request_ = stored;
    grid_.zoomMode = z.mode;
    grid_.zoom = z.percent;
    Relayout(false);
    if (host_)
        host_->UpdateRulers();
    EnsureVisible();
    bufferNextPaint_ = true;
    update();
}

void CTableView::LayoutPages(bool scroll)
{
    if (!workForm_ || PageCount() == 0)
        return;
    grid_.clientW = width();
    grid_.clientH = height();
    const int oldX = grid_.gridOriginX;
    const int dy = grid_.Layout(workForm_->GetPageSize(), PageCount(), CurrentPageIndex());
    if (scroll && grid_.gridOriginX == oldX && dy != 0 && std::abs(dy) < grid_.clientH) {
        QWidget::scroll(0, dy);
        update(dy > 0 ? QRect(0, 0, width(), dy + 3) : QRect(0, height() + dy - 3, width(), 3 - dy));
    } else {
        update();
    }
}

void CTableView::PlaceVisiblePages()
{
    visiblePages_.clear();
    if (!workForm_ || PageCount() == 0)
        return;
    // Text that flowed onto new pages changes the count: place again then.
    grid_.PlaceVisible(PageCount());
    for (int i = grid_.first; i <= grid_.last; ++i)
        visiblePages_.push_back(workForm_->GetPage(i));
}

void CTableView::UpdateScrollBars()
{
    grid_.ComputeScrollScale();
    const mirel::ScrollBarState h = grid_.Horizontal();
    const mirel::ScrollBarState v = grid_.Vertical();
    auto apply = [](QScrollBar* bar, const mirel::ScrollBarState& s, int line) {
        if (!bar)
            return;
        bar->setRange(0, s.MaxPosition());
        bar->setPageStep(std::max(1, s.page));
        bar->setSingleStep(std::max(1, line));
        bar->setValue(s.position);
        // The frame keeps room for its bars; a bar that is not needed is disabled.
        bar->setEnabled(s.shown);
    };
    apply(hBar_, h, grid_.clientW / 10);
    apply(vBar_, v, std::max(1, grid_.clientH / 10 / grid_.vScrollScale));
}

void CTableView::Relayout(bool scroll)
{
    LayoutPages(scroll);
    PlaceVisiblePages();
    UpdateScrollBars();
}

// ---------------------------------------------------------------- pages

int CTableView::CurrentPageIndex() const
{
    if (!workForm_ || !currentPage_)
        return 0;
    return std::max(0, workForm_->IndexOfPage(currentPage_));
}

CTablePage* CTableView::PageAt(int x, int y) const
{
    const int i = grid_.PageAt({ x, y });
    return i >= 0 && workForm_ ? workForm_->GetPage(i) : nullptr;
}

void CTableView::SetCurrentPage(CTablePage* page, bool relayout)
{
    if (!page || page == currentPage_)
        return;
    currentPage_ = page;
    if (relayout && host_)
        host_->UpdateRulers();
}

Rect CTableView::PageGridRect(const CTablePage* page) const
{
    const int index = workForm_ && page ? workForm_->IndexOfPage(page) : -1;
    if (index < 0)
        return { -32767, -32767, -32767 + grid_.pageW, -32767 + grid_.pageH };
    return grid_.PageRect(index);
}

Point CTableView::PageOrigin(const CTablePage* page) const
{
    // Headers, footers and page-number boxes belong to no page: they stand
    // on the page being drawn, which is current while it draws.
    const Rect r = PageGridRect(page ? page : currentPage_);
    return { r.left, r.top };
}

Point CTableView::PageToGrid(Point p, const CTablePage* page) const
{
    const Point o = PageOrigin(page);
    return { o.x + ToPixels(p.x), o.y + ToPixels(p.y) };
}

Rect CTableView::OffsetByPage(const Rect& r, const CTablePage* page) const
{
    const Point o = PageOrigin(page);
    return r.Offset(o.x, o.y);
}

QRect CTableView::DocRectToClient(const Rect& docRect, const CTablePage* page) const
{
    const Rect g = OffsetByPage(ToPixels(docRect), page);
    const Point tl = GridToClient({ g.left, g.top });
    return QRect(tl.x, tl.y, g.Width(), g.Height());
}

void CTableView::EnsureVisible(const CBasicObj* obj)
{
    if (!workForm_ || PageCount() == 0 || width() <= 0 || height() <= 0)
        return;
    if (!obj)
        obj = CurrentObject();
    Rect target;
    if (obj) {
        target = obj->GetClientRect(*this).Inflated(4); // with its handles
    } else if (currentPage_) {
        target = PageGridRect(currentPage_);
    } else {
        return;
    }
    const Point tl = GridToClient({ target.left, target.top });
    const Rect client { tl.x, tl.y, tl.x + target.Width(), tl.y + target.Height() };
    const Point d = grid_.ScrollIntoView(client);
    if (d.x != 0 || d.y != 0)
        AfterScroll(d.x, d.y);
}

// ---------------------------------------------------------------- selection

void CTableView::Select(CBasicObj* obj, bool add)
{
    if (!obj)
        return;
    if (!add) {
        for (CBasicObj* o : selection_)
            if (o != obj)
                o->Invalidate(this);
        selection_.erase(std::remove_if(selection_.begin(), selection_.end(), [obj](CBasicObj* o) { return o != obj; }),
            selection_.end());
    }
    if (!IsSelected(obj))
        selection_.push_back(obj);
    obj->Invalidate(this);
}

void CTableView::Deselect(CBasicObj* obj)
{
    const auto it = std::find(selection_.begin(), selection_.end(), obj);
    if (it == selection_.end())
        return;
    obj->Invalidate(this); // while still selected: the handles' margin too
    selection_.erase(it);
}

void CTableView::ClearSelection()
{
    for (CBasicObj* o : selection_)
        o->Invalidate(this);
    selection_.clear();
}

bool CTableView::IsSelected(const CBasicObj* obj) const
{
    if (paintingPages_)
        return false; // handles are painted once, on top of everything
    return std::find(selection_.begin(), selection_.end(), obj) != selection_.end();
}

void CTableView::SetPendingTarget(const CBasicObj* obj)
{
    if (pendingTarget_)
        Invalidate(kInvalidateObject, pendingTarget_);
    pendingTarget_ = obj;
    if (pendingTarget_)
        Invalidate(kInvalidateObject, pendingTarget_);
}

// ---------------------------------------------------------------- invalidation

void CTableView::Invalidate(int hint, const CBasicObj* obj)
{
    switch (hint) {
    case kInvalidateObject:
        if (obj)
            obj->Invalidate(this);
        break;
    case kInvalidateSelection:
        for (CBasicObj* o : selection_)
            o->Redraw(this);
        break;
    case kInvalidateGroup:
        // The text flowing around each member is re-flowed by the text engine.
        if (obj)
            for (int i = 0; i < obj->ChildCount(); ++i)
                obj->GetChild(i)->Invalidate(this);
        break;
    default:
        update();
        if (recordInvalidation_)
            invalidated_.push_back(rect());
        break;
    }
}

void CTableView::InvalidatePixels(const Rect& gridPixels)
{
    const Rect r = gridPixels.Normalized();
    if (r.IsEmpty())
        return;
    const Point tl = GridToClient({ r.left, r.top });
    const QRect client(tl.x, tl.y, r.Width(), r.Height());
    update(client);
    if (recordInvalidation_)
        invalidated_.push_back(client);
}

void CTableView::RecordInvalidation(bool on)
{
    recordInvalidation_ = on;
    invalidated_.clear();
}

std::vector<QRect> CTableView::TakeInvalidated()
{
    std::vector<QRect> out;
    out.swap(invalidated_);
    return out;
}

// ---------------------------------------------------------------- scrolling

void CTableView::ScrollVertical(ScrollAction action, int thumb)
{
    const int dy = grid_.ScrollVertical(action, thumb);
    AfterScroll(0, dy);
}

void CTableView::ScrollHorizontal(ScrollAction action, int thumb)
{
    const int dx = grid_.ScrollHorizontal(action, thumb);
    AfterScroll(dx, 0);
}

void CTableView::AfterScroll(int dx, int dy)
{
    PlaceVisiblePages();
    UpdateScrollBars();
    if (dx == 0 && dy == 0)
        return;
    if (std::abs(dx) > grid_.clientW || std::abs(dy) > grid_.clientH || (dx != 0 && dy != 0)) {
        bufferNextPaint_ = true;
        update();
        return;
    }
    QWidget::scroll(dx, dy);
    if (dy > 0)
        update(QRect(0, 0, width(), dy + 3));
    else if (dy < 0)
        update(QRect(0, height() + dy - 3, width(), 3 - dy));
}

void CTableView::OnScrollBarAction(bool vertical, int action)
{
    QScrollBar* bar = vertical ? vBar_.data() : hBar_.data();
    if (!bar)
        return;
    ScrollAction a;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        a = ScrollAction::LineForward;
        break;
    case QAbstractSlider::SliderSingleStepSub:
        a = ScrollAction::LineBack;
        break;
    case QAbstractSlider::SliderPageStepAdd:
        a = ScrollAction::PageForward;
        break;
    case QAbstractSlider::SliderPageStepSub:
        a = ScrollAction::PageBack;
        break;
    case QAbstractSlider::SliderToMinimum:
        a = ScrollAction::ToStart;
        break;
    case QAbstractSlider::SliderToMaximum:
        a = ScrollAction::ToEnd;
        break;
    case QAbstractSlider::SliderMove:
        a = ScrollAction::Thumb;
        break;
    default:
        return;
    }
    const int thumb = bar->sliderPosition();
    if (vertical)
        ScrollVertical(a, thumb);
    else
        ScrollHorizontal(a, thumb);
    // The slider takes the position the grid settled on.
    bar->setSliderPosition(vertical ? grid_.Vertical().position : grid_.Horizontal().position);
    if (vertical && a == ScrollAction::Thumb && bar->isSliderDown())
        ShowPageTip(true);
}

void CTableView::ShowPageTip(bool show)
{
    if (!pageTip_)
        return;
    if (!show || !vBar_) {
        pageTip_->hide();
        return;
    }
    const int n = mirel::PageTip::PageForPosition(vBar_->sliderPosition(), vBar_->minimum(),
        std::max(1, vBar_->maximum() - vBar_->minimum()), grid_.rows, grid_.columns, PageCount());
    const QPoint at(mapToGlobal(QPoint(width() - 40, 0)).x(), QCursor::pos().y());
    pageTip_->ShowPage(n, at);
}

// ---------------------------------------------------------------- tools and undo

void CTableView::SetTextTool(std::unique_ptr<mirel::ViewTool> tool)
{
    if (currentTool_ == textTool_.get())
        currentTool_ = tool.get();
    textTool_ = std::move(tool);
}

void CTableView::SetUndoHistory(std::unique_ptr<mirel::UndoHistory> undo)
{
    undo_ = std::move(undo);
}

// ---------------------------------------------------------------- events

void CTableView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (!workForm_ || PageCount() == 0)
        return;
    // A change of client size re-applies the current mode and percentage.
    SetZoom(request_.mode, request_.percent);
}

void CTableView::RaiseEvent(int id, const std::string& text, int value, bool flag)
{
    if (host_)
        host_->RaiseHostEvent(mirel::HostEvent { id, text, value, flag });
}
