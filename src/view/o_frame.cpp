#include "view/o_frame.h"

#include "model/mirel_data.h"
#include "model/table_page.h"
#include "model/work_form.h"
#include "platform/gbk.h"
#include "platform/settings.h"
#include "surface/system_colors.h"
#include "view/command_ids.h"
#include "view/label_bar.h"
#include "view/ruler_bar.h"
#include "view/table_view.h"

#include <QMenu>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

COFrame::COFrame(QWidget* parent)
    : QWidget(parent)
    , document_(std::make_unique<CMirelData>())
{
    hRuler_ = new mirel::RulerBar(Qt::Horizontal, this);
    vRuler_ = new mirel::RulerBar(Qt::Vertical, this);
    labelBar_ = new mirel::LabelBar(this);
    hBar_ = new QScrollBar(Qt::Horizontal, this);
    vBar_ = new QScrollBar(Qt::Vertical, this);
    sizeBox_ = new QWidget(this);
    sizeBox_->setAutoFillBackground(true);
    QPalette pal = sizeBox_->palette();
    pal.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    sizeBox_->setPalette(pal);
    for (QScrollBar* bar : { hBar_, vBar_ })
        bar->setFocusPolicy(Qt::NoFocus);

    // Where the current page stands along each ruler.
    auto span = [this](bool horizontal) {
        mirel::RulerSpan s;
        CTableView* view = ActiveView();
        const CTablePage* page = view ? view->GetCurrentPage() : nullptr;
        if (!view || !page || !active_)
            return s;
        const mirel::Rect r = view->PageGridRect(page);
        const mirel::Point client = view->GridToClient({ r.left, r.top });
        mirel::RulerBar* ruler = horizontal ? hRuler_ : vRuler_;
        s.valid = true;
        s.pageStart = horizontal ? view->x() - ruler->x() + client.x : view->y() - ruler->y() + client.y;
        s.pageUnits = horizontal ? active_->pageWidth : active_->pageHeight;
        s.dpi = view->DpiY();
        s.zoom = view->GetZoom();
        s.cornerSize = horizontal && vRulerShown_ ? vRuler_->Thickness() : 0;
        return s;
    };
    hRuler_->SetSpanSource([span] { return span(true); });
    vRuler_->SetSpanSource([span] { return span(false); });
    for (mirel::RulerBar* ruler : { hRuler_, vRuler_ }) {
        ruler->SetOnDoubleClick([this] { ExecuteCommand(mirel::cmd::kPageSetup); });
        ruler->SetOnContextMenu([this](QPoint at) { ShowRulerMenu(at); });
    }

    labelBar_->SetTabsSource([this] {
        std::vector<mirel::LabelTab> tabs;
        for (int i = 0; i < document_->WorkFormCount(); ++i) {
            const CWorkForm* wf = document_->GetWorkForm(i);
            QString text = mirel::GbkToQString(wf->name);
            if (!wf->sheetPassword.empty())
                text.prepend('*');
            tabs.push_back({ text, wf == active_ });
        }
        return tabs;
    });
    labelBar_->SetOnActivate([this](int index) { ActivateWorkForm(index); });
    labelBar_->SetOnContextMenu([this](int index, QPoint at) { ShowLabelMenu(index, at); });
    labelBar_->SetOnResize([this](int x) {
        const int barH = labelBar_->height();
        if (x >= 2 * barH + 5 && x <= width() - 3 * barH)
            SetLabelBarWidth(x);
    });

    RegisterCommands();
    ShowView(document_->GetWorkForm(0));
}

COFrame::~COFrame()
{
    // The views go first: they refer to the work forms of the document.
    for (CTableView* view : views_) {
        view->AttachDocument(nullptr, nullptr);
        delete view;
    }
    views_.clear();
}

// ---------------------------------------------------------------- views

CTableView* COFrame::ActiveView() const
{
    return ViewOf(active_);
}

CTableView* COFrame::ViewOf(const CWorkForm* wf) const
{
    if (!wf)
        return nullptr;
    for (CTableView* view : views_)
        if (view->GetWorkForm() == wf)
            return view;
    return nullptr;
}

int COFrame::IndexOf(const CWorkForm* wf) const
{
    for (int i = 0; i < document_->WorkFormCount(); ++i)
        if (document_->GetWorkForm(i) == wf)
            return i;
    return -1;
}

int COFrame::ActiveWorkFormIndex() const
{
    return IndexOf(active_);
}

CTableView* COFrame::CreateView(CWorkForm* wf)
{
    auto* view = new CTableView(this);
    view->hide();
    view->SetHost(this);
    view->AttachDocument(document_.get(), wf);
    views_.push_back(view);
    view->OnInitialUpdate();
    return view;
}

void COFrame::DestroyView(CTableView* view)
{
    views_.erase(std::remove(views_.begin(), views_.end(), view), views_.end());
    view->DetachScrollBars();
    view->AttachDocument(nullptr, nullptr);
    delete view;
}

void COFrame::ShowView(CWorkForm* wf)
{
    if (!wf)
        return;
    CTableView* old = ActiveView();
    CTableView* view = ViewOf(wf);
    if (!view)
        view = CreateView(wf);
    if (old && old != view) {
        old->DetachScrollBars();
        old->hide();
    }
    active_ = wf;
    view->AttachScrollBars(hBar_, vBar_);
    view->show();
    RecalcLayout();
    view->setFocus(Qt::OtherFocusReason);
    labelBar_->Refresh();
    UpdateRulers();
    RefreshCommandStates();
}

void COFrame::ResetViews()
{
    CTableView* keep = ActiveView();
    if (!keep && !views_.empty())
        keep = views_.front();
    const std::vector<CTableView*> all = views_;
    for (CTableView* view : all)
        if (view != keep)
            DestroyView(view);
    active_ = document_->GetWorkForm(0);
    if (keep) {
        keep->ClearSelection();
        if (keep->UndoStack())
            keep->UndoStack()->Clear();
        keep->AttachDocument(document_.get(), active_);
        keep->OnInitialUpdate();
    }
    ShowView(active_);
}

// ---------------------------------------------------------------- layout

void COFrame::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    RecalcLayout();
    labelBar_->update();
    hRuler_->update();
    vRuler_->update();
}

void COFrame::RecalcLayout()
{
    const int w = width(), h = height();
    const int thick = hRuler_->Thickness();
    int left = 0, top = 0;
    hRuler_->setVisible(hRulerShown_);
    vRuler_->setVisible(vRulerShown_);
    if (hRulerShown_) {
        hRuler_->setGeometry(0, 0, w, thick);
        top = thick;
    }
    if (vRulerShown_) {
        vRuler_->setGeometry(0, top, vRuler_->Thickness(), std::max(0, h - top));
        left = vRuler_->Thickness();
    }
    const int sx = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, vBar_);
    const int sy = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, hBar_);
    const int right = std::max(left, w - sx);
    const int bottom = std::max(top, h - sy);
    const int labelW = std::clamp(labelBarWidth_, 0, right - left);
    labelBar_->setGeometry(left, bottom, labelW, sy);
    hBar_->setGeometry(left + labelW, bottom, std::max(0, right - left - labelW), sy);
    vBar_->setGeometry(right, top, sx, std::max(0, bottom - top));
    sizeBox_->setGeometry(right, bottom, sx, sy);
    if (CTableView* view = ActiveView())
        view->setGeometry(left, top, right - left, bottom - top);
}

void COFrame::SetLabelBarWidth(int width)
{
    labelBarWidth_ = std::max(0, width);
    RecalcLayout();
}

// ---------------------------------------------------------------- rulers

void COFrame::ShowRuler(bool horizontal, bool show)
{
    (horizontal ? hRulerShown_ : vRulerShown_) = show;
    RecalcLayout();
    UpdateRulers();
    // The host restores ruler states itself; the frame only records them.
    mirel::Profile::Application().WriteRulerState(hRulerShown_, vRulerShown_);
}

void COFrame::SetRulerStyle(int style)
{
    if (style < 0 || style > 2)
        return;
    rulerStyle_ = style;
    UpdateRulers();
}

void COFrame::SetRulerUnit(int unit)
{
    hRuler_->SetUnit(unit);
    vRuler_->SetUnit(unit);
}

void COFrame::UpdateRulers()
{
    hRuler_->update();
    vRuler_->update();
}

void COFrame::ShowRulerMenu(QPoint globalPos)
{
    QMenu menu(this);
    for (const int id :
        { mirel::cmd::kRulerStyleScale, mirel::cmd::kRulerStyleRowColumn, mirel::cmd::kRulerStyleTableHeader }) {
        const mirel::Command* c = commands_.Find(id);
        QAction* action = menu.addAction(QString::fromStdString(c ? c->text : std::string()));
        action->setCheckable(true);
        action->setChecked(commands_.IsChecked(id).value_or(false));
        action->setData(id);
    }
    if (QAction* chosen = menu.exec(globalPos))
        ExecuteCommand(chosen->data().toInt());
}

// ---------------------------------------------------------------- commands

bool COFrame::ExecuteCommand(int id)
{
    bool ran = false;
    CTableView* view = ActiveView();
    if (view && view->Commands().Has(id))
        ran = view->Commands().Execute(id);
    else
        ran = commands_.Execute(id);
    RefreshCommandStates();
    return ran;
}

bool COFrame::IsCommandEnabled(int id) const
{
    return CommandStateOf(id).enabled;
}

mirel::CommandState COFrame::CommandStateOf(int id) const
{
    const CTableView* view = ActiveView();
    if (view && view->Commands().Has(id))
        return view->Commands().State(id);
    return commands_.State(id);
}

void COFrame::RefreshCommandStates()
{
    std::map<int, mirel::CommandState> states;
    for (const int id : commands_.Ids())
        states[id] = commands_.State(id);
    if (const CTableView* view = ActiveView())
        for (const int id : view->Commands().Ids())
            states[id] = view->Commands().State(id);
    if (states == states_)
        return;
    states_ = std::move(states);
    if (stateListener_)
        stateListener_();
}

// ---------------------------------------------------------------- host

void COFrame::RaiseHostEvent(const mirel::HostEvent& event)
{
    if (sink_)
        sink_(event);
}

void COFrame::OnMessageActiveWorkForm(int index, const std::string* name)
{
    if (name)
        ActivateWorkFormByName(*name);
    else
        ActivateWorkForm(index);
}

void COFrame::OnMessageInsertWorkForm(int position, std::unique_ptr<CWorkForm> wf)
{
    InsertWorkForm(position, std::move(wf));
}

void COFrame::OnMessageMoveCursorPos()
{
    // The caret belongs to the text tool: it moves itself when it is built
    // in; the frame only keeps the rulers in step.
    UpdateRulers();
}

bool COFrame::Protected() const
{
    return document_->GetProtectType() != 0;
}
