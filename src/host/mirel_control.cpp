// MirelControl: creation, properties, events and the state queries.
#include "host/mirel_control.h"

#include "model/basic_obj.h"
#include "model/table_page.h"
#include "model/work_form.h"
#include "view/o_frame.h"
#include "view/table_view.h"
#include "view/text_tool.h"
#include "view/view_hooks.h"

#include <QChildEvent>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QWheelEvent>
#include <algorithm>
#include <cstring>

namespace {

constexpr int kMinZoom = 10;
constexpr int kMaxZoom = 400;
constexpr int kWheelZoomStep = 10;

// True when the object's class or one of its bases has this name (the
// control does not need the classes' headers for that).
bool IsOfClass(const CBasicObj* obj, const char* name)
{
    if (!obj)
        return false;
    for (const mirel::ClassInfo* c = &obj->GetClass(); c; c = c->base)
        if (std::strcmp(c->name, name) == 0)
            return true;
    return false;
}

} // namespace

MirelControl::MirelControl(QWidget* parent)
    : QWidget(parent)
{
    frame_ = new COFrame(this);
    frame_->setGeometry(rect());
    frame_->SetHostEventSink([this](const mirel::HostEvent& e) { Raise(e); });
    frame_->SetCommandStateListener([this] { emit commandStatesChanged(); });
    frame_->installEventFilter(this);
    for (QObject* child : frame_->children())
        WatchView(child);
    frame_->show();
}

MirelControl::~MirelControl()
{
    // The frame's listeners point back here: cut them before it goes.
    frame_->SetHostEventSink(nullptr);
    frame_->SetCommandStateListener(nullptr);
    frame_->removeEventFilter(this);
}

void MirelControl::resizeEvent(QResizeEvent* event)
{
    frame_->setGeometry(0, 0, event->size().width(), event->size().height());
}

void MirelControl::WatchView(QObject* child)
{
    auto* view = dynamic_cast<CTableView*>(child);
    if (!view)
        return;
    view->installEventFilter(this); // installed once however often it is called
    // Every view edits text; one that was not given its text tool yet gets
    // it here.
    if (!view->TextTool())
        mirel::InstallTextEditing(*view);
}

bool MirelControl::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == frame_) {
        // Views are created as the frame's children when a work form is
        // first shown; a child is only complete once it is polished.
        if (event->type() == QEvent::ChildPolished)
            WatchView(static_cast<QChildEvent*>(event)->child());
        return false;
    }
    if (event->type() == QEvent::Wheel) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        if (wheel->modifiers() & Qt::ControlModifier) {
            const int steps = wheel->angleDelta().y() / 120;
            if (steps != 0)
                SetZoomPercent(std::clamp(GetZoom() + steps * kWheelZoomStep, kMinZoom, kMaxZoom));
            return true;
        }
    } else if (event->type() == QEvent::MouseButtonPress) {
        if (static_cast<QMouseEvent*>(event)->button() == Qt::RightButton)
            Raise(mirel::HostEvent::Of(14));
    }
    return false;
}

// ---------------------------------------------------------------- events

void MirelControl::Raise(const mirel::HostEvent& e)
{
    const QString text = QString::fromStdString(e.text);
    emit eventRaised(e.id);
    switch (e.id) {
    case 0:
        emit buttonPressed();
        break;
    case 1:
        emit doubleClicked();
        break;
    case 2:
        emit buttonReleased();
        break;
    case 3:
        emit faceNameChanged(text);
        break;
    case 4:
        emit fontSizeChanged(e.value);
        break;
    case 5:
        emit fileOpening();
        break;
    case 6:
        emit fileOpened();
        break;
    case 7:
        emit documentSaving();
        break;
    case 8:
        emit documentSaved();
        break;
    case 9:
        emit cellEditEnded(text, {});
        break;
    case 10:
        emit cellValueChanged(text, {});
        break;
    case 11:
        emit buttonClicked(text);
        break;
    case 12:
        emit cellEntered(text, {});
        break;
    case 13:
        emit keyPressed(e.value, e.flag);
        break;
    case 14:
        emit rightButtonPressed();
        break;
    case 15:
        emit menuItemChosen(text);
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------- properties

bool MirelControl::HorizontalRulerShown() const
{
    return frame_->IsRulerShown(true);
}

void MirelControl::SetHorizontalRulerShown(bool shown)
{
    frame_->ShowRuler(true, shown);
    frame_->RecalcLayout();
}

bool MirelControl::VerticalRulerShown() const
{
    return frame_->IsRulerShown(false);
}

void MirelControl::SetVerticalRulerShown(bool shown)
{
    frame_->ShowRuler(false, shown);
    frame_->RecalcLayout();
}

// ---------------------------------------------------------------- helpers

CTableView* MirelControl::View() const
{
    return frame_->ActiveView();
}

CWorkForm* MirelControl::WorkForm() const
{
    return frame_->ActiveWorkForm();
}

std::vector<CBasicObj*> MirelControl::Selected() const
{
    CTableView* view = View();
    return view ? view->Selection() : std::vector<CBasicObj*> {};
}

CBasicObj* MirelControl::FindObject(const std::string& name) const
{
    CWorkForm* wf = WorkForm();
    if (!wf || name.empty())
        return nullptr;
    for (int i = 0; i < wf->PageCount(); ++i)
        for (const auto& obj : wf->GetPage(i)->Objects())
            if (obj->GetName() == name)
                return obj.get();
    return nullptr;
}

// ---------------------------------------------------------------- state queries

bool MirelControl::HasSelection() const
{
    return Selected().size() >= 1;
}
bool MirelControl::HasMultipleSelection() const
{
    return Selected().size() >= 2;
}
bool MirelControl::HasThreeOrMore() const
{
    return Selected().size() >= 3;
}

namespace {

// The place of an object in its page's list (front = bottom), or -1.
int StackIndex(const CBasicObj* obj, const CTablePage* page, int* count)
{
    if (!page)
        return -1;
    const auto& objects = page->Objects();
    *count = static_cast<int>(objects.size());
    for (int i = 0; i < *count; ++i)
        if (objects[i].get() == obj)
            return i;
    return -1;
}

} // namespace

bool MirelControl::CanBringForward() const
{
    const std::vector<CBasicObj*> sel = Selected();
    if (sel.size() != 1)
        return false;
    int count = 0;
    const int at = StackIndex(sel.front(), sel.front()->GetPage(), &count);
    return at >= 0 && at < count - 1;
}

bool MirelControl::CanSendBackward() const
{
    const std::vector<CBasicObj*> sel = Selected();
    if (sel.size() != 1)
        return false;
    int count = 0;
    const int at = StackIndex(sel.front(), sel.front()->GetPage(), &count);
    return at > 0;
}

bool MirelControl::CanSendBackwardNonChart() const
{
    const std::vector<CBasicObj*> sel = Selected();
    return CanSendBackward() && !IsOfClass(sel.front(), "CTableChart");
}

bool MirelControl::IsTableCurrent() const
{
    CTableView* view = View();
    return view && IsOfClass(view->CurrentObject(), "CTableFrame");
}

// Cell selections, splits and merges of tables wait for the table editing
// commands; until then nothing of that kind is possible.
bool MirelControl::CanMergeCells() const
{
    return false;
}
bool MirelControl::CanSplitCell() const
{
    return false;
}
bool MirelControl::CanDeleteRow() const
{
    return false;
}
bool MirelControl::CanDeleteColumn() const
{
    return false;
}
bool MirelControl::CanSplitTableHorizontally() const
{
    return false;
}
bool MirelControl::CanSplitTableVertically() const
{
    return false;
}
bool MirelControl::CanFill() const
{
    return false;
}

bool MirelControl::CanMergeTables() const
{
    const std::vector<CBasicObj*> sel = Selected();
    return sel.size() == 2 && IsOfClass(sel[0], "CTableFrame") && IsOfClass(sel[1], "CTableFrame");
}

bool MirelControl::CanMergeTablesStrict() const
{
    // Tables that flow with the text are not free-floating objects of a page
    // list, so two selected page objects already are free tables.
    return CanMergeTables();
}

int MirelControl::GetSelectionKind() const
{
    CTableView* view = View();
    const CBasicObj* obj = view ? view->CurrentObject() : nullptr;
    if (!obj)
        return 0;
    if (IsOfClass(obj, "CSeal") || IsOfClass(obj, "CRectSeal"))
        return 4;
    if (IsOfClass(obj, "CTextFrame"))
        return 1;
    if (IsOfClass(obj, "CTableFrame"))
        return 2;
    if (IsOfClass(obj, "CImage"))
        return 3;
    return 0;
}
