// COFrame: inserting, activating, deleting, renaming and moving work forms,
// and their passwords.
#include "model/mirel_data.h"
#include "model/work_form.h"
#include "persist/password.h"
#include "platform/gbk.h"
#include "platform/messages.h"
#include "platform/prompt.h"
#include "view/command_ids.h"
#include "view/label_bar.h"
#include "view/o_frame.h"
#include "view/sheet_password.h"
#include "view/table_view.h"

#include <QMenu>
#include <filesystem>
#include <system_error>

namespace {

constexpr char kRenameCaption[] = "重命名工作表";
constexpr char kRenameLabel[] = "&N.工作表名称:";
constexpr int kMaxNameLength = 31;
constexpr char kNameInUse[] = "已有同名的工作表!";
constexpr char kDatabaseNotMoved[] = "工作表的数据库文件无法改名，工作表名称未改变。";

// A work-form name becomes a file name for its database: no folders, no
// drive letters, nothing that climbs out of the folder.
bool SafeFileStem(const std::string& name)
{
    return !name.empty() && name.find_first_of("/\\:") == std::string::npos && name.find("..") == std::string::npos;
}

} // namespace

std::string COFrame::InsertWorkForm(int position, std::unique_ptr<CWorkForm> wf, const std::string& name)
{
    if (Protected())
        return {};
    const int id = document_->NextWorkFormId() + 1;
    if (!wf)
        wf = document_->CreateWorkForm(id, {});
    else
        wf->id = id;
    const bool nameFree = !name.empty() && !document_->FindWorkFormByName(name);
    wf->name = nameFree ? name : document_->NextWorkFormName();

    const int active = std::max(0, ActiveWorkFormIndex());
    const int at = position == 0 ? active : position == 1 ? active + 1 : document_->WorkFormCount();
    CWorkForm* inserted = document_->InsertWorkForm(at, std::move(wf));
    CreateView(inserted); // its initial update applies the stored zoom
    ShowView(inserted);
    document_->SetModified(true);
    return inserted->name;
}

bool COFrame::ActivateWorkForm(int index)
{
    CWorkForm* wf = document_->GetWorkForm(index);
    if (!wf || wf == active_)
        return false;
    if (!wf->sheetPassword.empty() && !mirel::AskSheetPassword(wf->sheetPassword))
        return false;
    ShowView(wf);
    return true;
}

bool COFrame::ActivateWorkFormByName(const std::string& name)
{
    const int index = document_->IndexOfWorkForm(name);
    if (index < 0) {
        mirel::ShowComponentMessage(mirel::Message(41630), mirel::PromptIcon::Warning);
        return false;
    }
    return ActivateWorkForm(index);
}

bool COFrame::DeleteActiveWorkForm()
{
    if (Protected() || document_->WorkFormCount() <= 1 || !active_)
        return false;
    if (mirel::ShowComponentMessage(mirel::Message(41447), mirel::PromptIcon::Question, mirel::PromptButtons::OkCancel)
        != mirel::PromptAnswer::Ok)
        return false;
    CWorkForm* doomed = active_;
    const int index = ActiveWorkFormIndex();
    // The previous work form, or the next one when the first is deleted. A
    // neighbour whose password is not given keeps everything as it was.
    if (!ActivateWorkForm(index > 0 ? index - 1 : 1))
        return false;
    if (CTableView* view = ViewOf(doomed))
        DestroyView(view);
    document_->RemoveWorkForm(IndexOf(doomed));
    document_->SetModified(true);
    labelBar_->Refresh();
    RefreshCommandStates();
    return true;
}

bool COFrame::RenameActiveWorkForm()
{
    if (!active_ || Protected())
        return false;
    const std::optional<std::string> entry = mirel::CurrentPrompt().AskText(
        kRenameCaption, kRenameLabel, mirel::GbkToUtf8(active_->name).text, false, kMaxNameLength);
    if (!entry || entry->empty())
        return false;
    return RenameWorkForm(ActiveWorkFormIndex(), mirel::Utf8ToGbk(*entry).text);
}

bool COFrame::RenameWorkForm(int index, const std::string& newName)
{
    CWorkForm* wf = document_->GetWorkForm(index);
    if (!wf || newName.empty() || Protected())
        return false;
    if (newName == wf->name)
        return true;
    const CWorkForm* holder = document_->FindWorkFormByName(newName);
    if (holder && holder != wf) {
        mirel::ShowComponentMessage(kNameInUse, mirel::PromptIcon::Warning);
        return false;
    }
    // The work form's record database lives beside the document, in
    // "<document name>.files/<work form name>.mdb": it follows the name.
    const std::string path = document_->GetPathName();
    if (!path.empty()) {
        namespace fs = std::filesystem;
        const fs::path doc(path);
        const fs::path folder = doc.parent_path() / (doc.stem().string() + ".files");
        const std::string oldStem = mirel::GbkToUtf8(wf->name).text;
        const std::string newStem = mirel::GbkToUtf8(newName).text;
        std::error_code ec;
        const fs::path oldDb = folder / (oldStem + ".mdb");
        if (SafeFileStem(oldStem) && fs::exists(oldDb, ec)) {
            const fs::path newDb = folder / (newStem + ".mdb");
            if (!SafeFileStem(newStem) || fs::exists(newDb, ec)) {
                mirel::ShowComponentMessage(kDatabaseNotMoved, mirel::PromptIcon::Error);
                return false;
            }
            fs::rename(oldDb, newDb, ec);
            if (ec) {
                mirel::ShowComponentMessage(kDatabaseNotMoved, mirel::PromptIcon::Error);
                return false;
            }
        }
    }
    wf->name = newName;
    document_->SetModified(true);
    labelBar_->Refresh();
    return true;
}

bool COFrame::MoveWorkForm(int from, int to)
{
    const int count = document_->WorkFormCount();
    if (Protected() || from < 0 || from >= count || to < 0 || to >= count || from == to)
        return false;
    std::unique_ptr<CWorkForm> wf = document_->TakeWorkForm(from);
    document_->InsertWorkForm(to, std::move(wf));
    document_->SetModified(true);
    labelBar_->Refresh();
    RefreshCommandStates();
    return true;
}

bool COFrame::SetWorkFormPassword(int index, const std::string& password)
{
    CWorkForm* wf = document_->GetWorkForm(index);
    if (!wf || Protected())
        return false;
    if (!password.empty() && !mirel::CanStorePassword(password))
        return false;
    wf->sheetPassword = password;
    document_->SetModified(true);
    labelBar_->Refresh();
    return true;
}

bool COFrame::EditActiveWorkFormPassword()
{
    if (!active_ || Protected())
        return false;
    const std::optional<std::string> password = mirel::AskNewSheetPassword();
    return password && SetWorkFormPassword(ActiveWorkFormIndex(), *password);
}

void COFrame::ShowLabelMenu(int, QPoint globalPos)
{
    QMenu menu(this);
    FillLabelMenu(menu);
    if (QAction* chosen = menu.exec(globalPos))
        ExecuteCommand(chosen->data().toInt());
}

void COFrame::FillLabelMenu(QMenu& menu) const
{
    namespace cmd = mirel::cmd;
    auto add = [&](QMenu& m, int id, const QString& text) {
        QAction* action = m.addAction(text);
        action->setData(id);
        action->setEnabled(IsCommandEnabled(id));
        if (const std::optional<bool> checked = CommandStateOf(id).checked) {
            action->setCheckable(true);
            action->setChecked(*checked);
        }
    };
    add(menu, cmd::kInsertWorkFormAtEnd, QStringLiteral("在最后插入工作表(&L)"));
    add(menu, cmd::kInsertWorkFormBefore, QStringLiteral("在前插入工作表(&B)"));
    add(menu, cmd::kCopyWorkForm, QStringLiteral("复制工作表(&C)"));
    add(menu, cmd::kPasteWorkFormAtEnd, QStringLiteral("在最后粘贴工作表(&L)"));
    add(menu, cmd::kPasteWorkFormBefore, QStringLiteral("在前粘贴工作表(&A)"));
    const int count = document_->WorkFormCount();
    if (count > 5) {
        QMenu* sub = menu.addMenu(QStringLiteral("切换工作表(&S)"));
        for (int i = 0; i < std::min(count, cmd::kSwitchWorkFormCount); ++i) {
            const QString name = mirel::GbkToQString(document_->GetWorkForm(i)->name);
            add(*sub, cmd::kSwitchWorkFormFirst + i, QStringLiteral("&%1.%2").arg(i + 1).arg(name));
        }
    }
}
