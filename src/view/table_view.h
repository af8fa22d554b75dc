#pragma once
// CTableView: the scroll view of one work form. It lays the work form's
// pages out in a grid at a zoom, paints them, scrolls, turns mouse and key
// input into calls on the current page's tool, keeps the selection and
// reports to the host. It is the ViewContext through which every object
// converts units to pixels, finds its page and invalidates.
//
// Coordinates: document units (0.1 mm) relative to a page; grid pixels
// (see PageGrid: the origin is the top-left of the first visible row);
// client pixels of the widget = grid pixels + the view origin.
#include "model/view_context.h"
#include "view/command_table.h"
#include "view/page_grid.h"
#include "view/view_hooks.h"

#include <QPointer>
#include <QRect>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <vector>

class CMirelData;
class CWorkForm;
class CTablePage;
class CBasicObj;
class QScrollBar;

namespace mirel {
class Surface;
class PageTip;
} // namespace mirel

class CTableView : public QWidget, public mirel::ViewContext {
public:
    using Point = mirel::Point;
    using Rect = mirel::Rect;

    explicit CTableView(QWidget* parent = nullptr);
    ~CTableView() override;

    // --- attaching ---
    void SetHost(mirel::ViewHost* host) { host_ = host; }
    mirel::ViewHost* Host() const { return host_; }
    void AttachDocument(CMirelData* doc, CWorkForm* workForm);
    // Reads the screen resolution, makes the first page current and applies
    // the work form's stored zoom. False (and the close-document command
    // posted) when the document has no work form.
    bool OnInitialUpdate();
    CMirelData* GetDocumentData() const { return document_; }
    CWorkForm* GetWorkForm() const { return workForm_; }
    // The frame's scroll bars follow the view that has them.
    void AttachScrollBars(QScrollBar* horizontal, QScrollBar* vertical);
    void DetachScrollBars();

    // --- zoom and the page grid ---
    void SetZoom(int mode, int percent);
    int GetZoom() const { return grid_.zoom; }
    int GetZoomMode() const { return grid_.zoomMode; }
    int DpiX() const { return dpiX_; }
    // The three layout steps, always in this order.
    void LayoutPages(bool scroll);
    void PlaceVisiblePages();
    void UpdateScrollBars();
    void Relayout(bool scroll = false);
    const mirel::PageGrid& Grid() const { return grid_; }

    // --- pages ---
    CTablePage* PageAt(int x, int y) const; // grid point
    CTablePage* GetCurrentPage() const { return currentPage_; }
    int CurrentPageIndex() const;
    // No effect for null or the current page; with `relayout` the frame is
    // asked to update its rulers.
    void SetCurrentPage(CTablePage* page, bool relayout);
    const std::vector<CTablePage*>& VisiblePages() const { return visiblePages_; }
    // Scrolls so that the object (default: the current object, else the
    // current page) is inside the client area.
    void EnsureVisible(const CBasicObj* obj = nullptr);
    // Grid rectangle of a page (also for pages outside the visible rows).
    Rect PageGridRect(const CTablePage* page) const;

    // --- selection ---
    void Select(CBasicObj* obj, bool add);
    void Deselect(CBasicObj* obj);
    void ClearSelection();
    bool IsSelected(const CBasicObj* obj) const override;
    CBasicObj* CurrentObject() const { return selection_.empty() ? nullptr : selection_.front(); }
    const std::vector<CBasicObj*>& Selection() const { return selection_; }
    // The object a pending operation will act on: outlined in red.
    void SetPendingTarget(const CBasicObj* obj);

    // --- invalidation ---
    enum InvalidateHint { kInvalidateAll = 0, kInvalidateObject = 1, kInvalidateSelection = 2, kInvalidateGroup = 3 };
    void Invalidate(int hint, const CBasicObj* obj = nullptr);
    // Client rectangles invalidated since the last call (for tests and the
    // frame's statistics); collected only while recording is on.
    void RecordInvalidation(bool on);
    std::vector<QRect> TakeInvalidated();

    // --- conversions ---
    int DocToPixels(int v) const { return ToPixels(v); }
    Point DocToPixels(Point p) const { return { ToPixels(p.x), ToPixels(p.y) }; }
    Rect DocToPixels(const Rect& r) const { return ToPixels(r); }
    int PixelsToDoc(int v) const { return ToUnits(v); }
    Point PixelsToDoc(Point p) const { return { ToUnits(p.x), ToUnits(p.y) }; }
    Point GridToClient(Point p) const { return { p.x + grid_.viewOriginX, p.y + grid_.viewOriginY }; }
    Point ClientToGrid(Point p) const { return { p.x - grid_.viewOriginX, p.y - grid_.viewOriginY }; }
    Point PageToGrid(Point p, const CTablePage* page) const; // document units on the page -> grid pixels
    Rect OffsetByPage(const Rect& r, const CTablePage* page) const; // grid pixels of the page -> grid
    // A document rectangle on a page as client pixels of the widget.
    QRect DocRectToClient(const Rect& docRect, const CTablePage* page) const;

    // --- scrolling ---
    void ScrollVertical(mirel::ScrollAction action, int thumb = 0);
    void ScrollHorizontal(mirel::ScrollAction action, int thumb = 0);

    // --- tools and undo (built elsewhere; the view only holds them) ---
    void SetCurrentTool(mirel::ViewTool* tool) { currentTool_ = tool; }
    mirel::ViewTool* CurrentTool() const { return currentTool_; }
    // The tool Esc returns to (the shared selection tool).
    void SetDefaultTool(mirel::ViewTool* tool) { defaultTool_ = tool; }
    void SetTextTool(std::unique_ptr<mirel::ViewTool> tool);
    mirel::ViewTool* TextTool() const { return textTool_.get(); }
    bool TextToolActive() const { return textTool_ && currentTool_ == textTool_.get(); }
    // Whether the blinking caret is in its visible phase. It shows while the
    // view has the focus and after every key and click, and hides when the
    // focus goes elsewhere.
    bool CaretOn() const { return caretOn_; }
    void SetUndoHistory(std::unique_ptr<mirel::UndoHistory> undo);
    mirel::UndoHistory* UndoStack() const { return undo_.get(); }

    // --- modes ---
    bool IsPreviewing() const override { return preview_; }
    void SetPreview(bool on) { preview_ = on; }
    bool IsPrinting() const override { return printing_; }
    void SetPrinting(bool on) { printing_ = on; }
    bool PrintsBackground() const override { return printBackground_; }
    void SetPrintBackground(bool on) { printBackground_ = on; }
    bool BufferNextPaint() const { return bufferNextPaint_; }

    // --- commands and host reports ---
    mirel::CommandTable& Commands() { return commands_; }
    const mirel::CommandTable& Commands() const { return commands_; }
    // Sends the host the face name and size at the caret or of the current
    // object (events 3 and 4); "宋体" and -9 when nothing is selected.
    void ReportFormatState();
    // Key handling of the view (Windows virtual-key codes); raises host
    // event 13 afterwards.
    void HandleKey(int key, bool control, bool shift);

    // --- ViewContext ---
    int ZoomPercent() const override { return grid_.zoom; }
    int DpiY() const override { return grid_.dpiY; }
    Point PageOrigin(const CTablePage* page) const override;
    void InvalidatePixels(const Rect& gridPixels) override;
    const CTablePage* CurrentPage() const override { return currentPage_; }
    CMirelData* Document() const override { return document_; }

    // What the input method asks: enabled, and the caret rectangle.
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

    // Paints the pages and overlays into any surface whose viewport origin
    // stands at the view origin; `clip` in grid pixels.
    void PaintContent(mirel::Surface& dc, const Rect& clip);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    // The input method: its composition is drawn at the text caret and its
    // result typed there (view/text_tool.h).
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    void RegisterCommands();
    void PaintPage(const CTablePage& page, mirel::Surface& dc);
    void PaintOverlays(mirel::Surface& dc, const Rect& clip);
    void AfterScroll(int dx, int dy);
    void AutoScrollTick();
    // Shows the caret and starts its blinking over.
    void RestartCaretBlink();
    void SetCaretOn(bool on);
    void OnScrollBarAction(bool vertical, int action);
    void ShowPageTip(bool show);
    void RaiseEvent(int id, const std::string& text = {}, int value = 0, bool flag = false);
    bool KeyBlockedByProtection(int key) const;
    void TypeCharacters(QKeyEvent* event);
    void MoveSelection(int dx, int dy);
    void GoToDocumentEnd(bool end);
    unsigned MouseFlagsOf(Qt::KeyboardModifiers mods) const;
    int PageCount() const;

    mirel::ViewHost* host_ = nullptr;
    CMirelData* document_ = nullptr;
    CWorkForm* workForm_ = nullptr;
    CTablePage* currentPage_ = nullptr;
    int dpiX_ = 96;
    mirel::PageGrid grid_;
    mirel::ZoomSetting request_ { mirel::kZoomWholePage, 100 }; // re-applied on a size change
    std::vector<CTablePage*> visiblePages_;
    std::vector<CBasicObj*> selection_;
    const CBasicObj* pendingTarget_ = nullptr;

    mirel::ViewTool* currentTool_ = nullptr;
    mirel::ViewTool* defaultTool_ = nullptr;
    std::unique_ptr<mirel::ViewTool> textTool_;
    std::unique_ptr<mirel::UndoHistory> undo_;

    bool bufferNextPaint_ = false;
    bool printing_ = false;
    bool preview_ = false;
    bool printBackground_ = false;
    bool paintingPages_ = false; // objects do not paint their own handles then
    bool recordInvalidation_ = false;
    std::vector<QRect> invalidated_;

    QPointer<QScrollBar> hBar_, vBar_;
    std::vector<QMetaObject::Connection> barConnections_;
    QTimer autoScroll_;
    QTimer caretBlink_;
    bool caretOn_ = true;
    mirel::PageTip* pageTip_ = nullptr;
    mirel::CommandTable commands_;
};
