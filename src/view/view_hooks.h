#pragma once
// What the view hands on to parts built around it: the mouse and text tools
// that receive page input, the undo history, and the host that owns the
// frame (ruler updates, host events, command-state refreshes).
#include "model/geometry.h"

#include <string>

namespace mirel {
class Surface;
}
class CTableView;

namespace mirel {

// Modifier flags passed with mouse input, as the tools expect them.
namespace MouseFlags {
inline constexpr unsigned LeftButton = 0x1;
inline constexpr unsigned Shift = 0x4;
inline constexpr unsigned Control = 0x8;
} // namespace MouseFlags

// A tool that receives the input of the current page: the selection and
// drawing tools, and each view's text tool. Points are grid pixels.
class ViewTool {
public:
    virtual ~ViewTool() = default;
    virtual void OnLButtonDown(CTableView& view, unsigned flags, Point gridPoint) { }
    virtual void OnMouseMove(CTableView& view, unsigned flags, Point gridPoint) { }
    virtual void OnLButtonUp(CTableView& view, unsigned flags, Point gridPoint) { }
    virtual void OnLButtonDblClk(CTableView& view, unsigned flags, Point gridPoint) { }
    // A key (Windows virtual-key code) for the tool; true when it used it.
    virtual bool OnKeyDown(CTableView& view, int key, unsigned flags) { return false; }
    // Leaves the operation in progress (Esc).
    virtual void Cancel(CTableView& view) { }
    // Rubber bands, drag outlines, the caret and text highlight, painted on
    // top of the pages on screen (grid pixels).
    virtual void DrawFeedback(CTableView& view, Surface& dc) { }
    // The caret blinked (CTableView::CaretOn changed): repaint it.
    virtual void CaretBlinked(CTableView& view) { }
    // The caret's text object has a text selection (copy and cut are enabled).
    virtual bool HasTextSelection() const { return false; }
    // The face name (GBK) and size code at the caret, for the host's boxes.
    virtual bool CaretFormat(std::string& faceGbk, int& sizeCode) const { return false; }
};

// A view's undo and redo stacks.
class UndoHistory {
public:
    virtual ~UndoHistory() = default;
    virtual bool CanUndo() const = 0;
    virtual bool CanRedo() const = 0;
    virtual void Undo() = 0;
    virtual void Redo() = 0;
    virtual void Clear() = 0;
};

// An event raised towards the host.
struct HostEvent {
    int id = 0; // 0 press, 1 double click, 2 release, 3 face name, 4 size, 13 key ...
    std::string text; // UTF-8: the face name (3)
    int value = 0; // the size code (4), the key code (13)
    bool flag = false; // the Control flag (13)

    static HostEvent Of(int id)
    {
        HostEvent e;
        e.id = id;
        return e;
    }
};

namespace HostEventId {
inline constexpr int ButtonDown = 0;
inline constexpr int DoubleClick = 1;
inline constexpr int ButtonUp = 2;
inline constexpr int FaceName = 3;
inline constexpr int FontSize = 4;
inline constexpr int OpeningFile = 5;
inline constexpr int FileOpened = 6;
inline constexpr int SavingFile = 7;
inline constexpr int FileSaved = 8;
inline constexpr int KeyDown = 13;
} // namespace HostEventId

// What the view asks of the window that holds it (the frame).
class ViewHost {
public:
    virtual ~ViewHost() = default;
    virtual void UpdateRulers() { }
    virtual void RaiseHostEvent(const HostEvent&) { }
    // Command states are evaluated again (the idle update).
    virtual void RefreshCommandStates() { }
    // Runs a command of the frame or the view; false when none ran.
    virtual bool ExecuteCommand(int id) { return false; }
};

} // namespace mirel
