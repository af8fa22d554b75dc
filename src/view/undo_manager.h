#pragma once
// UndoManager: a view's pair of bounded stacks of recorded actions.
//
// Every editing operation records one action. Executing an action (Undo or
// Redo) applies the state it holds and records its own inverse on the
// other stack. Recording modes: kUndoNewAction (a new user action: onto
// the undo stack, and the redo stack is emptied), kUndoOnly (onto the undo
// stack, redo untouched: the inverse of a redo) and kRedoOnly (the inverse
// of an undo). Each stack holds at most `capacity` actions; the oldest go.
//
// The document's modified flag follows a clean point: every state of the
// document reached through the stacks has a number; the state that was
// saved (or that was current when an edit started on an unmodified
// document) is the clean one, and after Undo or Redo the document counts
// as modified exactly when it stands elsewhere. So undoing past a save
// brings "modified" back, and redoing to the saved state clears it.
#include "view/view_hooks.h"

#include <cstdint>
#include <deque>
#include <memory>

class CTableView;
class CMirelData;
class CBasicObj;

namespace mirel {

enum UndoMode : int { kRedoOnly = 0, kUndoOnly = 1, kUndoNewAction = 2 };

class UndoManager;

class UndoAction {
public:
    virtual ~UndoAction() = default;
    // 1 while on the undo stack, 0 on the redo stack.
    int GetSide() const { return side_; }
    // Applies the held state and records the inverse through the manager
    // (kRedoOnly from the undo side, kUndoOnly from the redo side). False
    // when the state cannot be applied.
    virtual bool Execute(UndoManager& manager) = 0;
    // The mode the inverse of this action is recorded with.
    int InverseMode() const { return side_ == 1 ? kRedoOnly : kUndoOnly; }

private:
    friend class UndoManager;
    int side_ = 1;
    uint64_t stateBefore_ = 0; // the document state the action leads back to
    uint64_t stateAfter_ = 0; // the state it was recorded in
};

class UndoManager : public UndoHistory {
public:
    // Capacity 0 or less: the profile's MaxUndoTimes.
    explicit UndoManager(CTableView* view, int capacity = 0);
    ~UndoManager() override;

    bool CanUndo() const override { return !undo_.empty(); }
    bool CanRedo() const override { return !redo_.empty(); }
    void Undo() override;
    void Redo() override;
    void Clear() override;

    // Puts a recorded action on its stack (see the modes above). Recording
    // is off while the view's document is being loaded (SetRecording).
    void Record(std::unique_ptr<UndoAction> action, int mode);
    void SetRecording(bool on) { recording_ = on; }
    bool IsRecording() const { return recording_; }

    // The current state is the saved one.
    void MarkClean();
    bool AtCleanState() const { return state_ == clean_; }

    int Capacity() const { return capacity_; }
    void SetCapacity(int capacity);
    int UndoCount() const { return static_cast<int>(undo_.size()); }
    int RedoCount() const { return static_cast<int>(redo_.size()); }
    CTableView* View() const { return view_; }
    CMirelData* Document() const;

private:
    void Run(std::deque<std::unique_ptr<UndoAction>>& from);
    void Trim(std::deque<std::unique_ptr<UndoAction>>& stack);

    CTableView* view_;
    int capacity_;
    bool recording_ = true;
    std::deque<std::unique_ptr<UndoAction>> undo_; // oldest first
    std::deque<std::unique_ptr<UndoAction>> redo_;
    uint64_t state_ = 0; // the document state now
    uint64_t clean_ = 0; // the saved state
    uint64_t nextState_ = 1;
    const UndoAction* executing_ = nullptr; // the action whose inverse is being recorded
};

} // namespace mirel
