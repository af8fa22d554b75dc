#include "persist/document_files.h"

#include "model/mirel_data.h"
#include "persist/file_dialogs.h"
#include "persist/open_messages.h"
#include "persist/remote/ftp_transfer.h"
#include "persist/remote/remote_messages.h"
#include "persist/remote/remote_name.h"
#include "persist/remote/temp_folder.h"
#include "platform/messages.h"

#include <memory>

namespace mirel {

namespace {

FtpServer g_sharedFtp;

// Shows the wait cursor for the life of a scope.
class BusyScope {
public:
    explicit BusyScope(DocumentEvents* events) : events_(events)
    {
        if (events_)
            events_->SetBusy(true);
    }
    ~BusyScope()
    {
        if (events_)
            events_->SetBusy(false);
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    DocumentEvents* events_;
};

void Show(const FileOutcome& outcome, PromptIcon icon = PromptIcon::Warning)
{
    if (outcome.status == FileOutcome::Status::Failed && !outcome.message.empty())
        ShowComponentMessage(outcome.message, icon);
}

void ShowBadName()
{
    ShowComponentMessage(remote_msg::kBadFileName, PromptIcon::Warning);
}

bool IsSaveName(const std::string& name)
{
    if (name.empty() || name.back() == '/')
        return false;
    const std::string file = std::filesystem::path(name).filename().string();
    return !file.empty() && file != "." && file != "..";
}

// The stop icon for what the program has always shown with it: a text file
// that cannot be read, a Word conversion that cannot start.
PromptIcon IconOf(const PreparedSource& source, const FileOutcome& outcome)
{
    if (source.kind == DocumentKind::Text || outcome.message == remote_msg::kWordServiceFailed)
        return PromptIcon::Error;
    return PromptIcon::Warning;
}

}  // namespace

const FtpServer& SharedFtpServer()
{
    return g_sharedFtp;
}

void SetSharedFtpServer(const FtpServer& server)
{
    g_sharedFtp = server;
}

DocumentFiles::DocumentFiles(CMirelData& doc, DocumentEvents* events) : doc_(doc), events_(events) { }

bool DocumentFiles::AskToSaveModified(PromptButtons buttons)
{
    if (!doc_.IsModified())
        return true;
    switch (ShowComponentMessage(open_msg::kSaveModified, PromptIcon::Question, buttons)) {
    case PromptAnswer::Yes:
        return SaveDocument(doc_.GetPathName());
    case PromptAnswer::No:
        return true;
    default:
        return false;
    }
}

void DocumentFiles::Replace(CMirelData& fresh)
{
    const std::string path = fresh.GetPathName();
    doc_.TakeContentsFrom(fresh);
    doc_.SetPathName(path);
    doc_.SetModified(false);
    if (events_)
        events_->DocumentReplaced();
}

bool DocumentFiles::OpenFile(const std::string& name, const std::string& password, bool allowDialog,
                             bool askForPassword)
{
    ClearLastTransferError();
    std::string chosen = name;
    if (chosen.empty()) {
        if (!allowDialog)
            return false;
        std::optional<std::string> asked = CurrentFileDialogs().AskOpenFileName(open_msg::kOpenFilter);
        if (!asked)
            return false;
        chosen = *asked;
    }
    if (events_)
        events_->ReleaseCaret();

    // Everything that can fail without reading the file happens before the
    // open document is touched: name, extension, fetch, file, conversion.
    PreparedSource source;
    FileOutcome prepared;
    {
        BusyScope busy(events_);
        prepared = PrepareSource(chosen, settings_, source);
    }
    if (!prepared.ok()) {
        Show(prepared, IconOf(source, prepared));
        return false;
    }
    if (!AskToSaveModified(PromptButtons::YesNo))
        return false;

    auto fresh = std::make_unique<CMirelData>();
    FileOutcome built;
    {
        BusyScope busy(events_);
        built = BuildDocument(source, *fresh, password, askForPassword);
    }
    if (!built.ok()) {
        Show(built, IconOf(source, built));
        return false;
    }
    Replace(*fresh);
    return true;
}

bool DocumentFiles::OpenDocument(const std::string& name, const std::string& password, bool allowDialog,
                                 bool askForPassword)
{
    ClearLastTransferError();
    if (events_)
        events_->ReleaseCaret();
    std::string path = name;
    if (!path.empty()) {
        if (FileOutcome checked = CheckFileToOpen(path); !checked.ok()) {
            Show(checked);
            return false;
        }
    }
    if (!AskToSaveModified(PromptButtons::YesNoCancel))
        return false;
    if (path.empty()) {
        if (!allowDialog)
            return false;
        std::optional<std::string> asked = CurrentFileDialogs().AskOpenFileName(Message(41723));
        if (!asked)
            return false;
        path = *asked;
        if (FileOutcome checked = CheckFileToOpen(path); !checked.ok()) {
            Show(checked);
            return false;
        }
    }
    FileOutcome out;
    {
        BusyScope busy(events_);
        // Reads apart and hands the document over only when the whole file was read.
        out = OpenNativeFile(path, doc_, password, askForPassword);
    }
    if (!out.ok()) {
        ReportFileOutcome(out);
        return false;
    }
    doc_.isTempCopy = 0;
    if (events_)
        events_->DocumentReplaced();
    return true;
}

bool DocumentFiles::SaveDocument(const std::string& name)
{
    // A temporary copy saved under its own (imported or downloaded) name asks
    // for a new one; the flag itself changes only when a save succeeded.
    const bool askForName = doc_.isTempCopy != 0 && name == doc_.GetPathName();
    return SaveNativeFile(askForName ? std::string() : name);
}

bool DocumentFiles::SaveNativeFile(const std::string& name)
{
    std::string target = name;
    if (target.empty()) {
        std::optional<std::string> asked =
            CurrentFileDialogs().AskSaveFileName(Message(41723), open_msg::kSaveDefaultExtension);
        if (!asked)
            return false;
        target = *asked;
    }
    if (!IsSaveName(target)) {
        ShowBadName();
        return false;
    }
    FileOutcome out;
    {
        BusyScope busy(events_);
        out = ::mirel::SaveNativeFile(target, doc_);
    }
    if (!out.ok()) {
        ReportFileOutcome(out);
        return false;
    }
    doc_.isTempCopy = 0;
    return true;
}

bool DocumentFiles::NewDocument()
{
    if (events_)
        events_->ReleaseCaret();
    if (!AskToSaveModified(PromptButtons::YesNo))
        return false;
    doc_.ResetDocument();
    doc_.SetPathName({});
    doc_.SetModified(false);
    if (events_)
        events_->DocumentReplaced();
    return true;
}

bool DocumentFiles::UploadDocument(const std::string& remoteName)
{
    const std::string remote(StripFtpPrefix(remoteName));
    if (remote.empty() || remote.back() == '/') {
        ShowBadName();
        return false;
    }
    BusyScope busy(events_);
    const bool useCopy = doc_.GetPathName().empty() || doc_.isTempCopy != 0;
    TempFolder folder("upload");
    std::filesystem::path local;
    if (useCopy) {
        // The copy is written without touching the document: its path name
        // and modified state change only once the upload has worked.
        if (!folder.ok()) {
            ShowComponentMessage(remote_msg::kLocalFileFailed, PromptIcon::Warning);
            return false;
        }
        local = folder.path() / "mrltemp.mrl";
        std::string bytes;
        try {
            bytes = NativeBytes(doc_);
        } catch (const std::exception& e) {
            Show({FileOutcome::Status::Failed, std::string(Message(61698)) + "\n" + e.what()});
            return false;
        }
        if (FileOutcome written = WriteFileAtomically(local.string(), bytes); !written.ok()) {
            ReportFileOutcome(written);
            return false;
        }
    } else {
        if (FileOutcome saved = ::mirel::SaveNativeFile(doc_.GetPathName(), doc_); !saved.ok()) {
            ReportFileOutcome(saved);
            return false;
        }
        local = doc_.GetPathName();
    }

    RemoteStatus sent = UploadFtp(local, remote, settings_.ftp, settings_.transfer, settings_.progress);
    if (!sent) {
        ShowComponentMessage(sent.error().message, PromptIcon::Warning);
        return false;
    }
    if (useCopy) {
        doc_.SetPathName({});
        doc_.SetModified(false);
    }
    return true;
}

}  // namespace mirel
