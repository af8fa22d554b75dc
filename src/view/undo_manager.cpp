#include "view/undo_manager.h"

#include "model/mirel_data.h"
#include "platform/settings.h"
#include "view/table_view.h"

#include <algorithm>

namespace mirel {

UndoManager::UndoManager(CTableView* view, int capacity)
    : view_(view)
    , capacity_(capacity > 0 ? capacity : std::max(1, Profile::Application().MaxUndoTimes()))
{
}

UndoManager::~UndoManager() = default;

CMirelData* UndoManager::Document() const
{
    return view_ ? view_->GetDocumentData() : nullptr;
}

void UndoManager::SetCapacity(int capacity)
{
    capacity_ = std::max(1, capacity);
    Trim(undo_);
    Trim(redo_);
}

void UndoManager::Trim(std::deque<std::unique_ptr<UndoAction>>& stack)
{
    while (static_cast<int>(stack.size()) > capacity_)
        stack.pop_front();
}

void UndoManager::MarkClean()
{
    clean_ = state_;
}

void UndoManager::Record(std::unique_ptr<UndoAction> action, int mode)
{
    if (!action || !recording_)
        return;
    if (executing_) {
        // The inverse of the action being executed leads between the same
        // two states, the other way round.
        action->stateBefore_ = executing_->stateAfter_;
        action->stateAfter_ = executing_->stateBefore_;
    } else {
        // A new edit: an unmodified document stands at its clean state.
        if (const CMirelData* doc = Document(); doc && !doc->IsModified())
            clean_ = state_;
        action->stateBefore_ = state_;
        action->stateAfter_ = state_ = nextState_++;
    }
    if (mode == kRedoOnly) {
        action->side_ = 0;
        redo_.push_back(std::move(action));
        Trim(redo_);
        return;
    }
    action->side_ = 1;
    undo_.push_back(std::move(action));
    Trim(undo_);
    if (mode == kUndoNewAction)
        redo_.clear();
}

void UndoManager::Run(std::deque<std::unique_ptr<UndoAction>>& from)
{
    if (from.empty())
        return;
    std::unique_ptr<UndoAction> action = std::move(from.back());
    from.pop_back();
    // A document saved since the last edit: that state is the clean one.
    if (const CMirelData* doc = Document(); doc && !doc->IsModified())
        clean_ = state_;
    executing_ = action.get();
    const bool ok = action->Execute(*this);
    executing_ = nullptr;
    if (!ok) {
        Clear();
        return;
    }
    state_ = action->stateBefore_;
    if (CMirelData* doc = Document())
        doc->SetModified(state_ != clean_);
}

void UndoManager::Undo()
{
    Run(undo_);
}

void UndoManager::Redo()
{
    Run(redo_);
}

void UndoManager::Clear()
{
    undo_.clear();
    redo_.clear();
}

} // namespace mirel
