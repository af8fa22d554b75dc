// COFrame: new, open, save and page bitmaps of the document it owns.
#include "model/mirel_data.h"
#include "model/work_form.h"
#include "persist/file_dialogs.h"
#include "persist/native_file.h"
#include "platform/messages.h"
#include "platform/prompt.h"
#include "view/o_frame.h"
#include "view/page_export.h"
#include "view/table_view.h"

#include <QWidget>

namespace {

constexpr char kSaveChanges[] = "文档已修改，是否保存？";
constexpr char kBitmapFilter[] = "位图(*.bmp)|*.bmp||";
constexpr char kNativeExtensions[] = "qwd|mrl";

// Screen updates wait while a document is being replaced.
class UpdatesSuspended {
public:
    explicit UpdatesSuspended(QWidget* w)
        : w_(w)
        , was_(w->updatesEnabled())
    {
        w_->setUpdatesEnabled(false);
    }
    ~UpdatesSuspended() { w_->setUpdatesEnabled(was_); }

private:
    QWidget* w_;
    bool was_;
};

} // namespace

bool COFrame::SaveModified(bool withCancel)
{
    if (!document_->IsModified())
        return true;
    const mirel::PromptAnswer answer = mirel::ShowComponentMessage(kSaveChanges, mirel::PromptIcon::Question,
        withCancel ? mirel::PromptButtons::YesNoCancel : mirel::PromptButtons::YesNo);
    if (answer == mirel::PromptAnswer::Cancel)
        return false;
    if (answer == mirel::PromptAnswer::No)
        return true;
    // Yes: a save that fails or is cancelled keeps the document.
    return SaveDocument(document_->GetPathName());
}

bool COFrame::NewDocument()
{
    if (!SaveModified(false))
        return false;
    {
        UpdatesSuspended suspended(this);
        for (CTableView* view : views_) {
            view->ClearSelection();
            view->AttachDocument(nullptr, nullptr);
        }
        active_ = nullptr;
        document_->ResetDocument();
        document_->SetPathName({});
        document_->SetModified(false);
        ResetViews();
    }
    update();
    RefreshCommandStates();
    return true;
}

bool COFrame::OpenDocument(const std::string& path, const std::string& password)
{
    if (!SaveModified(true))
        return false;
    std::string name = path;
    if (name.empty()) {
        const std::optional<std::string> chosen = mirel::CurrentFileDialogs().AskOpenFileName(mirel::Message(41723));
        if (!chosen)
            return false;
        name = *chosen;
    }
    // The file is read into a document of its own; the open one is replaced
    // only when the whole file was read.
    CMirelData incoming;
    const mirel::FileOutcome outcome = mirel::OpenNativeFile(name, incoming, password, true);
    if (!outcome.ok()) {
        mirel::ReportFileOutcome(outcome);
        return false;
    }
    {
        UpdatesSuspended suspended(this);
        for (CTableView* view : views_) {
            view->ClearSelection();
            view->AttachDocument(nullptr, nullptr);
        }
        active_ = nullptr;
        document_->TakeContentsFrom(incoming);
        document_->SetPathName(name);
        document_->SetModified(false);
        ResetViews();
    }
    update();
    RefreshCommandStates();
    return true;
}

bool COFrame::SaveDocument(const std::string& path)
{
    std::string name = path;
    if (name != document_->GetPathName())
        document_->isTempCopy = 0;
    if (document_->isTempCopy)
        name.clear(); // a temporary copy is saved under a new name
    if (name.empty()) {
        const std::optional<std::string> chosen
            = mirel::CurrentFileDialogs().AskSaveFileName(mirel::Message(41723), kNativeExtensions);
        if (!chosen)
            return false;
        name = *chosen;
    }
    const mirel::FileOutcome outcome = mirel::SaveNativeFile(name, *document_);
    if (!outcome.ok()) {
        mirel::ReportFileOutcome(outcome);
        return false;
    }
    document_->isTempCopy = 0;
    RefreshCommandStates();
    return true;
}

bool COFrame::ExportPageBitmaps(const std::string& path)
{
    if (!active_)
        return false;
    std::string name = path;
    if (name.empty()) {
        const std::optional<std::string> chosen = mirel::CurrentFileDialogs().AskSaveFileName(kBitmapFilter, "bmp");
        if (!chosen)
            return false;
        name = *chosen;
    }
    const CTableView* view = ActiveView();
    return mirel::ExportPageBitmaps(*active_, name, view ? view->DpiY() : 96);
}
