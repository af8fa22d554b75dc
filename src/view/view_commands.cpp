// CTableView: the commands the view answers itself. Commands of the tools,
// the clipboard and the object operations are added to the same table by
// the parts that own them.
#include "view/command_ids.h"
#include "view/key_codes.h"
#include "view/table_view.h"

void CTableView::RegisterCommands()
{
    namespace cmd = mirel::cmd;
    namespace vk = mirel::vk;
    using mirel::Command;

    commands_.Add(Command { cmd::kCaretToDocumentStart, {}, [this] { GoToDocumentEnd(false); }, nullptr, nullptr });
    commands_.Add(Command { cmd::kCaretToDocumentEnd, {}, [this] { GoToDocumentEnd(true); }, nullptr, nullptr });

    commands_.Add(Command { cmd::kUndo, "撤消(&U)\tCtrl+Z", [this] { undo_->Undo(); },
        [this] { return undo_ && undo_->CanUndo(); }, nullptr });
    commands_.Add(Command { cmd::kRedo, "恢复(&R)\tCtrl+Y", [this] { undo_->Redo(); },
        [this] { return undo_ && undo_->CanRedo(); }, nullptr });

    // Extending the text selection: keys for the text tool, with Shift (and
    // Control for the document ends).
    struct Extend {
        int id;
        int key;
        unsigned flags;
    };
    static constexpr Extend kExtends[] = {
        { cmd::kExtendToDocumentStart, vk::Home, mirel::MouseFlags::Shift | mirel::MouseFlags::Control },
        { cmd::kExtendToDocumentEnd, vk::End, mirel::MouseFlags::Shift | mirel::MouseFlags::Control },
        { cmd::kExtendToLineEnd, vk::End, mirel::MouseFlags::Shift },
        { cmd::kExtendToLineStart, vk::Home, mirel::MouseFlags::Shift },
        { cmd::kExtendLeft, vk::Left, mirel::MouseFlags::Shift },
        { cmd::kExtendRight, vk::Right, mirel::MouseFlags::Shift },
        { cmd::kExtendUp, vk::Up, mirel::MouseFlags::Shift },
        { cmd::kExtendDown, vk::Down, mirel::MouseFlags::Shift },
    };
    for (const Extend& e : kExtends) {
        commands_.Add(Command { e.id, {}, [this, e] { textTool_->OnKeyDown(*this, e.key, e.flags); },
            [this] { return TextToolActive(); }, nullptr });
    }
}
