// CTableView: mouse, wheel and keyboard input.
#include "graphics/charts.h"
#include "model/basic_obj.h"
#include "model/mirel_data.h"
#include "model/table_page.h"
#include "model/work_form.h"
#include "platform/gbk.h"
#include "platform/settings.h"
#include "table/table_classes.h"
#include "text/text_frame.h"
#include "view/command_ids.h"
#include "view/key_codes.h"
#include "view/table_view.h"
#include "view/text_tool.h"

#include <QCursor>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleHints>
#include <QWheelEvent>

using mirel::Point;
using mirel::Rect;
using mirel::ScrollAction;

namespace {

Point GridPointOf(const CTableView& view, const QPointF& pos)
{
    return view.ClientToGrid({ static_cast<int>(pos.x()), static_cast<int>(pos.y()) });
}

} // namespace

unsigned CTableView::MouseFlagsOf(Qt::KeyboardModifiers mods) const
{
    unsigned flags = 0;
    if (mods & Qt::ShiftModifier)
        flags |= mirel::MouseFlags::Shift;
    if (mods & Qt::ControlModifier)
        flags |= mirel::MouseFlags::Control;
    return flags;
}

// ---------------------------------------------------------------- mouse

void CTableView::mousePressEvent(QMouseEvent* event)
{
    RestartCaretBlink();
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const Point p = GridPointOf(*this, event->position());
    if (CTablePage* hit = PageAt(p.x, p.y)) {
        if (hit != currentPage_ && preview_) {
            // The highlight of the current page moves in preview.
            const Rect oldRect = PageGridRect(currentPage_).Inflated(2);
            InvalidatePixels(oldRect);
            InvalidatePixels(PageGridRect(hit).Inflated(2));
        }
        SetCurrentPage(hit, false);
    }
    if (host_)
        host_->UpdateRulers();
    const unsigned flags = MouseFlagsOf(event->modifiers()) | mirel::MouseFlags::LeftButton;
    // With no tool chosen, a click into body text starts the text tool.
    if (!currentTool_)
        if (CTextTool* text = mirel::TextToolOf(*this); text && text->WantsClick(*this, p))
            currentTool_ = text;
    if (currentTool_)
        currentTool_->OnLButtonDown(*this, flags, p);
    autoScroll_.start();
    RaiseEvent(mirel::HostEventId::ButtonDown);
    if (host_)
        host_->RefreshCommandStates();
}

void CTableView::mouseMoveEvent(QMouseEvent* event)
{
    const Point p = GridPointOf(*this, event->position());
    const bool leftDown = event->buttons() & Qt::LeftButton;
    if (leftDown && TextToolActive())
        if (CTablePage* hit = PageAt(p.x, p.y))
            SetCurrentPage(hit, false);
    if (document_ && document_->GetProtectType() == 2) {
        // Fill-in protection: only an object that may be filled in follows the mouse.
        const CBasicObj* current = CurrentObject();
        if (!current || (current->GetLock() != 0 && !current->IsActive()))
            return;
    }
    unsigned flags = MouseFlagsOf(event->modifiers());
    if (leftDown)
        flags |= mirel::MouseFlags::LeftButton;
    if (currentTool_)
        currentTool_->OnMouseMove(*this, flags, p);
}

void CTableView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    autoScroll_.stop();
    const Point p = GridPointOf(*this, event->position());
    if (TextToolActive())
        if (CTablePage* hit = PageAt(p.x, p.y))
            SetCurrentPage(hit, false);
    if (currentTool_)
        currentTool_->OnLButtonUp(*this, MouseFlagsOf(event->modifiers()), p);
    ReportFormatState();
    RaiseEvent(mirel::HostEventId::ButtonUp);
    if (host_)
        host_->RefreshCommandStates();
}

void CTableView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const int protect = document_ ? document_->GetProtectType() : 0;
    if (protect == 1)
        return;
    if (protect == 2) {
        // Only tables, text boxes and charts can be opened for filling in.
        const CBasicObj* current = CurrentObject();
        if (!current
            || !(current->IsKindOf(CTableFrame::kClass) || current->IsKindOf(CTextFrame::kClass)
                || current->IsKindOf(CTableChart::kClass)))
            return;
    }
    const Point p = GridPointOf(*this, event->position());
    if (currentTool_)
        currentTool_->OnLButtonDblClk(*this, MouseFlagsOf(event->modifiers()) | mirel::MouseFlags::LeftButton, p);
    ReportFormatState();
    RaiseEvent(mirel::HostEventId::DoubleClick);
}

void CTableView::AutoScrollTick()
{
    if (!(QGuiApplication::mouseButtons() & Qt::LeftButton)) {
        autoScroll_.stop();
        return;
    }
    const QPoint at = mapFromGlobal(QCursor::pos());
    if (rect().contains(at))
        return;
    if (at.x() < 0)
        ScrollHorizontal(ScrollAction::LineBack);
    else if (at.x() >= width())
        ScrollHorizontal(ScrollAction::LineForward);
    if (at.y() < 0)
        ScrollVertical(ScrollAction::LineBack);
    else if (at.y() >= height())
        ScrollVertical(ScrollAction::LineForward);
    const Qt::KeyboardModifiers mods = QGuiApplication::keyboardModifiers();
    const unsigned flags = (mods & Qt::ShiftModifier) ? mirel::MouseFlags::Shift
        : (mods & Qt::ControlModifier)                ? mirel::MouseFlags::Control
                                                      : mirel::MouseFlags::LeftButton;
    if (currentTool_)
        currentTool_->OnMouseMove(*this, flags, ClientToGrid({ at.x(), at.y() }));
}

void CTableView::wheelEvent(QWheelEvent* event)
{
    // One line per 120 units of delta: up for a positive delta.
    static thread_local int rest = 0;
    rest += event->angleDelta().y();
    while (rest >= 120) {
        ScrollVertical(ScrollAction::LineBack);
        rest -= 120;
    }
    while (rest <= -120) {
        ScrollVertical(ScrollAction::LineForward);
        rest += 120;
    }
    event->accept();
}

// ---------------------------------------------------------------- keys

void CTableView::SetCaretOn(bool on)
{
    if (caretOn_ == on)
        return;
    caretOn_ = on;
    if (currentTool_)
        currentTool_->CaretBlinked(*this);
}

void CTableView::RestartCaretBlink()
{
    SetCaretOn(true);
    if (hasFocus() && QGuiApplication::styleHints()->cursorFlashTime() > 0)
        caretBlink_.start();
}

void CTableView::focusInEvent(QFocusEvent* event)
{
    RestartCaretBlink();
    QWidget::focusInEvent(event);
}

void CTableView::focusOutEvent(QFocusEvent* event)
{
    caretBlink_.stop();
    SetCaretOn(false);
    QWidget::focusOutEvent(event);
}

void CTableView::keyPressEvent(QKeyEvent* event)
{
    RestartCaretBlink();
    const int key = mirel::VirtualKeyFromQt(event->key());
    if (key == 0) {
        TypeCharacters(event);
        if (!event->text().isEmpty())
            return;
        QWidget::keyPressEvent(event);
        return;
    }
    const bool typed = !event->text().isEmpty() && event->text().front().unicode() >= 0x20
        && event->text().front().unicode() != 0x7F && !(event->modifiers() & Qt::ControlModifier);
    if (typed && key != mirel::vk::Delete) {
        // A character key: the view's handling (and host event 13), then
        // the character itself.
        HandleKey(key, false, event->modifiers() & Qt::ShiftModifier);
        TypeCharacters(event);
        event->accept();
        return;
    }
    HandleKey(key, event->modifiers() & Qt::ControlModifier, event->modifiers() & Qt::ShiftModifier);
    event->accept();
}

void CTableView::TypeCharacters(QKeyEvent* event)
{
    // Characters go to the text tool when it is current or nothing is
    // selected (typing then starts the text tool).
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return;
    const QString text = event->text();
    if (text.isEmpty() || text.front().unicode() < 0x20 || text.front().unicode() == 0x7F)
        return;
    CTextTool* tool = mirel::TextToolOf(*this);
    if (!tool || KeyBlockedByProtection(0))
        return;
    if (!TextToolActive()) {
        if (!selection_.empty())
            return; // a selected object takes typing through its own tool
        currentTool_ = tool;
    }
    tool->TypeText(*this, text);
    if (host_)
        host_->RefreshCommandStates();
}

void CTableView::inputMethodEvent(QInputMethodEvent* event)
{
    RestartCaretBlink();
    CTextTool* tool = mirel::TextToolOf(*this);
    if (!tool || KeyBlockedByProtection(0)) {
        event->ignore();
        return;
    }
    if (!TextToolActive() && selection_.empty())
        currentTool_ = tool;
    if (!TextToolActive()) {
        event->ignore();
        return;
    }
    // The result is taken whole, however long; the composition shows at
    // the caret until it is committed.
    tool->SetPreedit(*this, event->preeditString());
    if (!event->commitString().isEmpty())
        tool->TypeText(*this, event->commitString());
    event->accept();
    if (host_)
        host_->RefreshCommandStates();
}

QVariant CTableView::inputMethodQuery(Qt::InputMethodQuery query) const
{
    CTextTool* tool = mirel::TextToolOf(*this);
    switch (query) {
    case Qt::ImEnabled:
        return tool != nullptr && workForm_ != nullptr;
    case Qt::ImCursorRectangle:
        if (tool)
            return QRectF(tool->CaretClientRect(const_cast<CTableView&>(*this)));
        return QRectF();
    default:
        return QWidget::inputMethodQuery(query);
    }
}

bool CTableView::KeyBlockedByProtection(int key) const
{
    const int protect = document_ ? document_->GetProtectType() : 0;
    if (protect == 1)
        return true;
    if (protect == 2 && key != mirel::vk::Escape) {
        const CBasicObj* current = CurrentObject();
        return !current || (current->GetLock() != 0 && !current->IsActive());
    }
    return false;
}

void CTableView::HandleKey(int key, bool control, bool shift)
{
    namespace vk = mirel::vk;
    namespace cmd = mirel::cmd;
    auto run = [this](int id) {
        if (host_)
            host_->ExecuteCommand(id);
        else
            commands_.Execute(id);
    };
    auto handled = [&]() -> bool {
        if (key == vk::F5 || key == vk::F6) { // the frame's accelerators
            run(key == vk::F5 ? cmd::kPreviousWorkForm : cmd::kNextWorkForm);
            return true;
        }
        if (control && shift && (key == vk::End || key == vk::Home)) {
            run(key == vk::End ? cmd::kExtendToDocumentEnd : cmd::kExtendToDocumentStart);
            return true;
        }
        if (control && (key == vk::End || key == vk::Home)) {
            run(key == vk::End ? cmd::kCaretToDocumentEnd : cmd::kCaretToDocumentStart);
            return true;
        }
        if (control) {
            switch (key) {
            case 'A':
                run(cmd::kSelectAll);
                return true;
            case 'C':
                run(cmd::kCopy);
                return true;
            case 'V':
                run(cmd::kPaste);
                return true;
            case 'X':
                run(cmd::kCut);
                return true;
            case 'Y':
                run(cmd::kRedo);
                return true;
            case 'Z':
                run(cmd::kUndo);
                return true;
            default:
                break;
            }
        }
        if (shift) {
            switch (key) {
            case vk::End:
                run(cmd::kExtendToLineEnd);
                return true;
            case vk::Home:
                run(cmd::kExtendToLineStart);
                return true;
            case vk::Left:
                run(cmd::kExtendLeft);
                return true;
            case vk::Up:
                run(cmd::kExtendUp);
                return true;
            case vk::Right:
                run(cmd::kExtendRight);
                return true;
            case vk::Down:
                run(cmd::kExtendDown);
                return true;
            default:
                break;
            }
        }
        if (key == vk::Prior || key == vk::Next) {
            // The text tool leaves a pending selection and puts its caret on
            // the newly shown page when it gets the key after the scroll.
            ScrollVertical(key == vk::Prior ? ScrollAction::PageBack : ScrollAction::PageForward);
            if (TextToolActive())
                textTool_->OnKeyDown(*this, key, 0);
            return true;
        }
        if (KeyBlockedByProtection(key))
            return true;
        if (TextToolActive() && textTool_->OnKeyDown(*this, key, shift ? mirel::MouseFlags::Shift : 0))
            return true;
        const bool singleEditing = selection_.size() == 1 && selection_.front()->IsActive();
        if (key == vk::Delete || key == vk::Back) {
            run(cmd::kDelete);
            if (host_)
                host_->RefreshCommandStates();
            return true;
        }
        if (key == vk::Escape) {
            if (currentTool_)
                currentTool_->Cancel(*this);
            if (defaultTool_)
                currentTool_ = defaultTool_;
            return true;
        }
        if (!singleEditing && (key == vk::Left || key == vk::Right || key == vk::Up || key == vk::Down)) {
            const int step = mirel::Profile::Application().MoveStep();
            const int dx = key == vk::Left ? -step : key == vk::Right ? step : 0;
            const int dy = key == vk::Up ? -step : key == vk::Down ? step : 0;
            MoveSelection(dx, dy);
            return true;
        }
        // A single object being edited in place (a table editing a cell)
        // takes every other key through its tool.
        if (singleEditing && currentTool_)
            return currentTool_->OnKeyDown(*this, key, shift ? mirel::MouseFlags::Shift : 0);
        return false;
    };
    handled();
    RaiseEvent(mirel::HostEventId::KeyDown, {}, key, key == vk::Control);
    if (control && key != vk::Control)
        RaiseEvent(mirel::HostEventId::KeyDown, {}, key, true);
}

void CTableView::MoveSelection(int dx, int dy)
{
    if (selection_.empty() || (dx == 0 && dy == 0))
        return;
    bool moved = false;
    for (CBasicObj* obj : selection_)
        moved = obj->MoveBy(this, dx, dy) || moved; // refuses locked objects and read-only documents
    if (moved && document_)
        document_->SetModified(true);
}

void CTableView::GoToDocumentEnd(bool end)
{
    if (TextToolActive()) {
        textTool_->OnKeyDown(*this, end ? mirel::vk::End : mirel::vk::Home, mirel::MouseFlags::Control);
        return;
    }
    if (!workForm_ || PageCount() == 0)
        return;
    SetCurrentPage(workForm_->GetPage(end ? PageCount() - 1 : 0), true);
    ScrollVertical(end ? ScrollAction::ToEnd : ScrollAction::ToStart);
}

// ---------------------------------------------------------------- reports

void CTableView::ReportFormatState()
{
    std::string face = "\xCB\xCE\xCC\xE5"; // 宋体
    int size = -9;
    if (TextToolActive() && textTool_->CaretFormat(face, size)) {
        // the caret's format
    } else if (const CBasicObj* current = CurrentObject()) {
        face = current->GetFaceName();
        size = current->GetFontSize();
    }
    RaiseEvent(mirel::HostEventId::FaceName, mirel::GbkToUtf8(face).text);
    RaiseEvent(mirel::HostEventId::FontSize, {}, size);
}
