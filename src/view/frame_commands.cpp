// COFrame: the commands the frame answers, with their enabling rules.
#include "model/mirel_data.h"
#include "model/work_form.h"
#include "view/command_ids.h"
#include "view/o_frame.h"

void COFrame::RegisterCommands()
{
    namespace cmd = mirel::cmd;
    using mirel::Command;
    auto unprotected = [this] { return !Protected(); };

    // --- documents ---
    commands_.Add(Command { cmd::kNewDocument, "新建(&N)", [this] { NewDocument(); }, nullptr, nullptr });
    commands_.Add(Command { cmd::kOpenDocument, "打开(&O)...", [this] { OpenDocument({}); }, nullptr, nullptr });
    commands_.Add(Command {
        cmd::kSaveDocument, "保存(&S)", [this] { SaveDocument(document_->GetPathName()); }, nullptr, nullptr });
    commands_.Add(Command { cmd::kSaveDocumentAs, "另存为(&A)...", [this] { SaveDocument({}); }, nullptr, nullptr });
    commands_.Add(Command { cmd::kExportPageBitmaps, "输出页面位图(&B)", [this] { ExportPageBitmaps({}); },
        [this] { return active_ != nullptr; }, nullptr });

    // --- work forms ---
    commands_.Add(Command {
        cmd::kInsertWorkFormAtEnd, "在最后插入工作表(&L)", [this] { InsertWorkForm(2); }, unprotected, nullptr });
    commands_.Add(Command {
        cmd::kInsertWorkFormBefore, "在前插入工作表(&B)", [this] { InsertWorkForm(0); }, unprotected, nullptr });
    commands_.Add(Command {
        cmd::kInsertWorkFormAfter, "在后插入工作表(&A)", [this] { InsertWorkForm(1); }, unprotected, nullptr });
    commands_.Add(Command { cmd::kDeleteWorkForm, "删除工作表(&D)", [this] { DeleteActiveWorkForm(); },
        [this] { return !Protected() && document_->WorkFormCount() > 1; }, nullptr });
    commands_.Add(
        Command { cmd::kRenameWorkForm, "重命名(&R)", [this] { RenameActiveWorkForm(); }, unprotected, nullptr });
    commands_.Add(Command { cmd::kPreviousWorkForm, {}, [this] { ActivateWorkForm(ActiveWorkFormIndex() - 1); },
        [this] { return ActiveWorkFormIndex() > 0; }, nullptr });
    commands_.Add(Command { cmd::kNextWorkForm, {}, [this] { ActivateWorkForm(ActiveWorkFormIndex() + 1); },
        [this] { return ActiveWorkFormIndex() + 1 < document_->WorkFormCount(); }, nullptr });
    for (int i = 0; i < cmd::kSwitchWorkFormCount; ++i) {
        commands_.Add(Command { cmd::kSwitchWorkFormFirst + i, {}, [this, i] { ActivateWorkForm(i); },
            [this, i] { return i < document_->WorkFormCount(); }, [this, i] { return i == ActiveWorkFormIndex(); } });
    }

    // --- rulers ---
    static constexpr struct {
        int id;
        const char* text;
    } kStyles[] = { { cmd::kRulerStyleScale, "刻度尺(&A)" }, { cmd::kRulerStyleRowColumn, "行列标识(&B)" },
        { cmd::kRulerStyleTableHeader, "显示表头(&C)" } };
    for (int style = 0; style < 3; ++style) {
        commands_.Add(Command { kStyles[style].id, kStyles[style].text, [this, style] { SetRulerStyle(style); },
            nullptr, [this, style] { return rulerStyle_ == style; } });
    }
}
