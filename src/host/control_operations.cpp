// MirelControl: the operations that deliver one component command to the
// active view or to the frame, and those chosen by an index.
#include "host/mirel_control.h"
#include "model/basic_obj.h"
#include "model/mirel_data.h"
#include "view/command_ids.h"
#include "view/o_frame.h"
#include "view/table_view.h"

namespace mirel {

const std::vector<CommandOperation>& CommandOperations()
{
    static const std::vector<CommandOperation> kOperations = {
        { "ShowFindDialog", 57636, false },
        { "ShowReplaceDialog", 57641, false },
        { "InsertDateTime", 179, false },
        { "InsertPageNumber", 33124, false },
        { "Copy", cmd::kCopy, false },
        { "Paste", cmd::kPaste, false },
        { "Cut", cmd::kCut, false },
        { "Delete", cmd::kDelete, false },
        { "SelectAll", cmd::kSelectAll, false },
        { "Undo", cmd::kUndo, false },
        { "Redo", cmd::kRedo, false },
        { "EditHeader", 33122, false },
        { "EditFooter", 33123, false },
        { "AppendPage", 2915, false },
        { "DeleteCurrentPage", 33058, false },
        { "PageSetup", cmd::kPageSetup, false },
        { "AlignLeft", 33025, false },
        { "AlignCenter", 33038, false },
        { "AlignRight", 33044, false },
        { "AlignTop", 33034, false },
        { "AlignMiddle", 33037, false },
        { "AlignBottom", 33035, false },
        { "SameWidth", 33341, false },
        { "SameHeight", 33342, false },
        { "SameSize", 33343, false },
        { "SpaceEvenlyAcross", 33339, false },
        { "SpaceEvenlyDown", 33340, false },
        { "BringToFront", 33045, false },
        { "SendToBack", 33046, false },
        { "BringForward", 33047, false },
        { "SendBackward", 33048, false },
        { "Group", 33159, false },
        { "Ungroup", 33160, false },
        { "LockAbsolutely", 33155, false },
        { "ObjectProperties", 33158, false },
        { "DrawTableTool", 2897, false },
        { "EraseTableLineTool", 2898, false },
        { "MergeCells", 2930, false },
        { "SplitCell", 2931, false },
        { "SplitTableHorizontally", 2982, false },
        { "SplitTableVertically", 33118, false },
        { "EqualRowHeights", 2978, false },
        { "EqualColumnWidths", 2979, false },
        { "TableLookFormat", 33073, false },
        { "SortTable", 33009, false },
        { "InputFormula", 2981, false },
        { "InsertCellNote", 33138, false },
        { "ShowFillSequence", 33171, false },
        { "ImportData", 33145, false },
        { "Paragraph", 2995, false },
        { "FontDialog", 57696, false },
        { "AcceptRejectRevisions", 33362, false },
        { "FontSizeSmaller", 41715, false },
        { "FontSizeLarger", 41716, false },
        { "CopyWorkForm", cmd::kCopyWorkForm, true },
        { "DeleteWorkForm", cmd::kDeleteWorkForm, true },
        { "RenameWorkForm", cmd::kRenameWorkForm, true },
        { "ShowPrintPreview", cmd::kPrintPreview, true },
    };
    return kOperations;
}

} // namespace mirel

namespace {

int IdOf(const char* name)
{
    for (const mirel::CommandOperation& op : mirel::CommandOperations())
        if (std::string_view(op.name) == name)
            return op.id;
    return 0;
}

} // namespace

bool MirelControl::DeliverToView(int id)
{
    // Sent as if chosen from the component's menu: the frame hands it to
    // the active view first, then handles it itself.
    if (!frame_->ActiveView())
        return false;
    return frame_->ExecuteCommand(id);
}

bool MirelControl::DeliverToFrame(int id)
{
    return frame_->ExecuteCommand(id);
}

bool MirelControl::RunCommandOperation(const std::string& name)
{
    for (const mirel::CommandOperation& op : mirel::CommandOperations())
        if (name == op.name)
            return op.toFrame ? DeliverToFrame(op.id) : DeliverToView(op.id);
    return false;
}

#define MIREL_VIEW_OPERATION(Name)                                                                                     \
    bool MirelControl::Name()                                                                                          \
    {                                                                                                                  \
        return DeliverToView(IdOf(#Name));                                                                             \
    }
#define MIREL_FRAME_OPERATION(Name)                                                                                    \
    bool MirelControl::Name()                                                                                          \
    {                                                                                                                  \
        return DeliverToFrame(IdOf(#Name));                                                                            \
    }

MIREL_VIEW_OPERATION(ShowFindDialog)
MIREL_VIEW_OPERATION(ShowReplaceDialog)
MIREL_VIEW_OPERATION(InsertDateTime)
MIREL_VIEW_OPERATION(InsertPageNumber)
MIREL_VIEW_OPERATION(Copy)
MIREL_VIEW_OPERATION(Paste)
MIREL_VIEW_OPERATION(Cut)
MIREL_VIEW_OPERATION(Delete)
MIREL_VIEW_OPERATION(SelectAll)
MIREL_VIEW_OPERATION(Undo)
MIREL_VIEW_OPERATION(Redo)
MIREL_VIEW_OPERATION(EditHeader)
MIREL_VIEW_OPERATION(EditFooter)
MIREL_VIEW_OPERATION(AppendPage)
MIREL_VIEW_OPERATION(DeleteCurrentPage)
MIREL_VIEW_OPERATION(PageSetup)
MIREL_VIEW_OPERATION(AlignLeft)
MIREL_VIEW_OPERATION(AlignCenter)
MIREL_VIEW_OPERATION(AlignRight)
MIREL_VIEW_OPERATION(AlignTop)
MIREL_VIEW_OPERATION(AlignMiddle)
MIREL_VIEW_OPERATION(AlignBottom)
MIREL_VIEW_OPERATION(SameWidth)
MIREL_VIEW_OPERATION(SameHeight)
MIREL_VIEW_OPERATION(SameSize)
MIREL_VIEW_OPERATION(SpaceEvenlyAcross)
MIREL_VIEW_OPERATION(SpaceEvenlyDown)
MIREL_VIEW_OPERATION(BringToFront)
MIREL_VIEW_OPERATION(SendToBack)
MIREL_VIEW_OPERATION(BringForward)
MIREL_VIEW_OPERATION(SendBackward)
MIREL_VIEW_OPERATION(Group)
MIREL_VIEW_OPERATION(Ungroup)
MIREL_VIEW_OPERATION(LockAbsolutely)
MIREL_VIEW_OPERATION(ObjectProperties)
MIREL_VIEW_OPERATION(DrawTableTool)
MIREL_VIEW_OPERATION(EraseTableLineTool)
MIREL_VIEW_OPERATION(MergeCells)
MIREL_VIEW_OPERATION(SplitCell)
MIREL_VIEW_OPERATION(SplitTableHorizontally)
MIREL_VIEW_OPERATION(SplitTableVertically)
MIREL_VIEW_OPERATION(EqualRowHeights)
MIREL_VIEW_OPERATION(EqualColumnWidths)
MIREL_VIEW_OPERATION(TableLookFormat)
MIREL_VIEW_OPERATION(SortTable)
MIREL_VIEW_OPERATION(InputFormula)
MIREL_VIEW_OPERATION(InsertCellNote)
MIREL_VIEW_OPERATION(ShowFillSequence)
MIREL_VIEW_OPERATION(ImportData)
MIREL_VIEW_OPERATION(Paragraph)
MIREL_VIEW_OPERATION(FontDialog)
MIREL_VIEW_OPERATION(AcceptRejectRevisions)
MIREL_VIEW_OPERATION(FontSizeSmaller)
MIREL_VIEW_OPERATION(FontSizeLarger)
MIREL_FRAME_OPERATION(CopyWorkForm)
MIREL_FRAME_OPERATION(DeleteWorkForm)
MIREL_FRAME_OPERATION(RenameWorkForm)
MIREL_FRAME_OPERATION(ShowPrintPreview)

#undef MIREL_VIEW_OPERATION
#undef MIREL_FRAME_OPERATION

bool MirelControl::AddWorkForm(int position)
{
    static constexpr int kIds[]
        = { mirel::cmd::kInsertWorkFormAtEnd, mirel::cmd::kInsertWorkFormBefore, mirel::cmd::kInsertWorkFormAfter };
    return position >= 0 && position <= 2 && DeliverToFrame(kIds[position]);
}

bool MirelControl::PasteWorkFormAt(int position)
{
    static constexpr int kIds[]
        = { mirel::cmd::kPasteWorkFormAtEnd, mirel::cmd::kPasteWorkFormBefore, mirel::cmd::kPasteWorkFormAfter };
    return position >= 0 && position <= 2 && DeliverToFrame(kIds[position]);
}

int MirelControl::InsertObjectCommand(int kind)
{
    static constexpr int kIds[] = { 33068, 33075, 33231, 33185, 33161, 33134, 33176, 33182, 33181, 2867, 33180, 2853,
        2863, 33178, 33137, 33162, 33183, 2864, 33232, 33338, 2866, 33070, 33114, 2884, 41704, 2852, 57856 };
    return kind >= 0 && kind < static_cast<int>(std::size(kIds)) ? kIds[kind] : 0;
}

int MirelControl::InsertObject(int kind)
{
    const int id = InsertObjectCommand(kind);
    if (id == 0)
        return kind;
    return DeliverToView(id) ? 0 : -1;
}

bool MirelControl::InsertRow(int position)
{
    if (position == 1)
        return DeliverToView(2918);
    if (position == 2)
        return DeliverToView(2919);
    return false;
}

bool MirelControl::InsertColumn(int position)
{
    if (position == 1)
        return DeliverToView(2926);
    if (position == 2)
        return DeliverToView(2927);
    return false;
}

bool MirelControl::FillCells(int kind)
{
    static constexpr int kIds[] = { 33165, 33169, 33167, 33168 };
    return kind >= 0 && kind <= 3 && DeliverToView(kIds[kind]);
}

bool MirelControl::DeleteCurrentRow()
{
    return CanDeleteRow() && DeliverToView(2928);
}

bool MirelControl::DeleteCurrentColumn()
{
    return CanDeleteColumn() && DeliverToView(2929);
}

bool MirelControl::MergeTablesHorizontally()
{
    const bool ran = DeliverToView(33119);
    if (CTableView* view = View())
        view->ClearSelection();
    return ran;
}

bool MirelControl::MergeTablesVertically()
{
    const bool ran = DeliverToView(2983);
    if (CTableView* view = View())
        view->ClearSelection();
    return ran;
}

bool MirelControl::SetLockState(int state)
{
    CTableView* view = View();
    CMirelData* doc = frame_->GetDocumentData();
    if (!view || !doc || doc->GetProtectType() != 0 || state < 0 || state > 2)
        return false;
    const std::vector<CBasicObj*> sel = view->Selection();
    if (sel.empty())
        return false;
    for (CBasicObj* obj : sel) {
        obj->SetLock(state);
        view->Invalidate(CTableView::kInvalidateObject, obj);
    }
    doc->SetModified(true);
    frame_->RefreshCommandStates();
    return true;
}
