// MirelControl: the document's files, pages, zoom, password and revision
// switch.
#include "graphics/page_renderer.h"
#include "host/mirel_control.h"
#include "model/doc_info.h"
#include "model/mirel_data.h"
#include "model/work_form.h"
#include "persist/document_files.h"
#include "persist/file_dialogs.h"
#include "persist/native_file.h"
#include "persist/remote/temp_folder.h"
#include "platform/gbk.h"
#include "platform/messages.h"
#include "platform/prompt.h"
#include "view/command_ids.h"
#include "view/o_frame.h"
#include "view/page_export.h"
#include "view/table_view.h"
#include "view/view_hooks.h"

#include <QImage>
#include <algorithm>
#include <cctype>

namespace {

std::string Lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

// A local file that the native reader takes directly.
bool IsLocalNativeFile(const std::string& path)
{
    const std::string lower = Lower(path);
    if (lower.rfind("http://", 0) == 0 || lower.rfind("https://", 0) == 0 || lower.rfind("ftp:", 0) == 0)
        return false;
    const std::size_t dot = lower.find_last_of('.');
    const std::size_t slash = lower.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return false;
    const std::string ext = lower.substr(dot + 1);
    return ext == "qwd" || ext == "mrl";
}

constexpr char kOpenFilter[] = "Qoda办公组件文件(*.qwd)|*.qwd|Mirel文件(*.mrl)|*.mrl|Word文件(*.doc)|*.doc|"
                               "RTF文件(*.rtf)|*.rtf|文本文件(*.txt)|*.txt||";

} // namespace

bool MirelControl::NewFile()
{
    return frame_->NewDocument();
}

bool MirelControl::OpenFile(const std::string& path, const std::string& password, bool, bool)
{
    CMirelData* doc = frame_->GetDocumentData();
    if (CTableView* view = View())
        if (mirel::UndoHistory* undo = view->UndoStack())
            undo->Clear();
    Raise(mirel::HostEvent::Of(mirel::HostEventId::OpeningFile));
    std::string name = path;
    if (name.empty()) {
        const std::optional<std::string> chosen = mirel::CurrentFileDialogs().AskOpenFileName(kOpenFilter);
        if (!chosen)
            return false;
        name = *chosen;
    }
    bool ok = false;
    if (IsLocalNativeFile(name)) {
        ok = frame_->OpenDocument(name, password);
    } else {
        // Other kinds (text, RTF, XML, remote files) are read by the open
        // dispatch into a document of their own. The frame then takes it
        // over through a private native copy, so that its views are rebuilt
        // exactly as after a native open.
        if (!frame_->SaveModified(true))
            return false;
        const bool wasModified = doc->IsModified();
        CMirelData incoming;
        incoming.SetModified(false);
        mirel::DocumentFiles files(incoming);
        if (!files.OpenFile(name, password, false, true))
            return false;
        mirel::TempFolder folder("open");
        const std::optional<std::filesystem::path> copy = folder.FilePath("incoming.qwd");
        if (!folder.ok() || !copy)
            return false;
        const std::string pathName = incoming.GetPathName();
        const int32_t tempCopy = incoming.isTempCopy;
        const std::string filePassword = incoming.filePassword;
        incoming.filePassword.clear();
        const mirel::FileOutcome saved = mirel::SaveNativeFile(copy->string(), incoming);
        if (!saved.ok()) {
            mirel::ReportFileOutcome(saved);
            return false;
        }
        doc->SetModified(false); // the user has already answered the save question
        ok = frame_->OpenDocument(copy->string());
        if (!ok) {
            doc->SetModified(wasModified);
            return false;
        }
        doc->SetPathName(pathName.empty() ? name : pathName);
        doc->isTempCopy = tempCopy;
        doc->filePassword = filePassword;
        doc->SetModified(false);
    }
    if (ok)
        Raise(mirel::HostEvent::Of(mirel::HostEventId::FileOpened));
    return ok;
}

bool MirelControl::SaveFile(const std::string& path)
{
    Raise(mirel::HostEvent::Of(mirel::HostEventId::SavingFile));
    if (!frame_->SaveDocument(path))
        return false;
    Raise(mirel::HostEvent::Of(mirel::HostEventId::FileSaved));
    return true;
}

bool MirelControl::SaveFileAs(const std::string& path)
{
    return frame_->SaveDocument(path);
}

bool MirelControl::SaveToFtp(
    const std::string& server, const std::string& user, const std::string& password, const std::string& remoteName)
{
    ftpServer_ = server;
    ftpUser_ = user.empty() ? "anonymous" : user;
    ftpPassword_ = password;
    mirel::DocumentFiles files(*frame_->GetDocumentData());
    mirel::FtpServer ftp;
    ftp.address = ftpServer_;
    ftp.user = ftpUser_;
    ftp.password = ftpPassword_;
    files.SetFtpServer(ftp);
    const bool ok = files.UploadDocument(remoteName);
    // The credentials are kept only for the one upload.
    ftpUser_.clear();
    ftpPassword_.clear();
    return ok;
}

bool MirelControl::ProtectDocument()
{
    // The protection dialog belongs to the frame's protection command.
    return frame_->Commands().Has(mirel::cmd::kProtectDocument) && DeliverToFrame(mirel::cmd::kProtectDocument);
}

bool MirelControl::SetFilePassword()
{
    CMirelData* doc = frame_->GetDocumentData();
    const std::string current = mirel::GbkToUtf8(doc->filePassword).text;
    const std::optional<std::string> entry
        = mirel::CurrentPrompt().AskText(mirel::Message(41669), mirel::Message(41669), current, true, 0);
    if (!entry)
        return false;
    doc->filePassword = mirel::Utf8ToGbk(*entry).text; // empty removes it
    doc->SetModified(true);
    frame_->RefreshCommandStates();
    return true;
}

bool MirelControl::InsertSymbol()
{
    return false;
} // waits for the symbol dialog of the text tool

bool MirelControl::IsModified() const
{
    return frame_->GetDocumentData()->IsModified();
}

int16_t MirelControl::GetPageCount() const
{
    CWorkForm* wf = WorkForm();
    return wf ? static_cast<int16_t>(std::min(wf->PageCount(), 32767)) : 0;
}

bool MirelControl::ExportPageImage(const std::string& file, int page, int zoom, bool mirror)
{
    CWorkForm* wf = WorkForm();
    if (!wf || file.empty() || page < 1 || page > wf->PageCount())
        return false;
    zoom = std::clamp(zoom, 10, 400);
    const CTableView* view = View();
    const int dpi = std::max(1, (view ? view->DpiY() : 96) * zoom / 100);
    QImage image = mirel::RenderPageImage(*wf, page - 1, dpi);
    if (mirror)
        image = image.mirrored(true, false);
    if (!mirel::WriteBitmapFile(image, file)) {
        // Unlike a silent "done", the host learns that nothing was written.
        mirel::ShowComponentMessage(file + " : Write file error!", mirel::PromptIcon::Error);
        return false;
    }
    return true;
}

bool MirelControl::SetBackgroundPicture(const std::string&, int)
{
    return false;
} // waits for picture loading

bool MirelControl::DeleteTrailingEmptyPages()
{
    return false;
} // waits for the text engine's emptiness test

int MirelControl::GetZoom() const
{
    CTableView* view = View();
    return view ? view->GetZoom() : 100;
}

bool MirelControl::SetZoomPercent(int percent)
{
    CTableView* view = View();
    if (!view || percent < 10 || percent > 400)
        return false;
    view->SetZoom(1, percent);
    return true;
}

bool MirelControl::Print(const std::string& range)
{
    printRange_ = range;
    return frame_->Commands().Has(mirel::cmd::kPrint) && DeliverToFrame(mirel::cmd::kPrint);
}

bool MirelControl::PrintSetup()
{
    return false;
} // waits for printing

bool MirelControl::IsTrackingRevisions() const
{
    const CDocInfo* info = frame_->GetDocumentData()->FindDocInfo();
    return info && info->trackRevisions != 0;
}

bool MirelControl::SetTrackRevisions(bool on)
{
    CMirelData* doc = frame_->GetDocumentData();
    CDocInfo* info = doc->GetDocInfo();
    if (!info)
        return false;
    if ((info->trackRevisions != 0) != on) {
        info->trackRevisions = on ? 1 : 0;
        doc->SetModified(true);
    }
    return true;
}

bool MirelControl::EndRevisionTracking()
{
    return false;
} // waits for the text tool's revision operation
