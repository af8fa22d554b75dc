#pragma once
// Opening, saving and exchanging the files of the open document: the
// component's `OpenFile`, `OpenDocument`, `SaveDocument`, `SaveNativeFile`,
// `NewDocument` and `UploadDocument` (text files are imported by the open,
// see text_import.h).
//
// Questions and messages go through the prompt interface, file names through
// the file dialogs (file_dialogs.h). An open that fails or is refused, of any
// kind of file, leaves the open document, its path name and its modified
// state as they were: the name, the extension and the file are checked (and
// a remote file fetched) before the user is asked to save, and the new
// document is built apart and handed over only when it was read completely.
#include "persist/document_source.h"
#include "persist/native_file.h"
#include "platform/prompt.h"

#include <string>

class CMirelData;

namespace mirel {

// What the frame and its views do around the document's files. Every hook
// may be left as it is (tests, the command line).
class DocumentEvents {
public:
    virtual ~DocumentEvents() = default;
    // Before an open: the current view gives up its caret and selection.
    virtual void ReleaseCaret() {}
    // After the document was replaced (open, new): surplus views go, the
    // first one is re-attached, the text tool goes to the start of the first
    // text column, the views reload their settings and repaint.
    virtual void DocumentReplaced() {}
    // Around fetches, reads and uploads: show or hide the wait cursor.
    virtual void SetBusy(bool busy) {}
};

// The process-wide FTP settings used for pictures given by address (the
// component keeps its own in DocumentFiles).
const FtpServer& SharedFtpServer();
void SetSharedFtpServer(const FtpServer& server);

class DocumentFiles {
public:
    explicit DocumentFiles(CMirelData& doc, DocumentEvents* events = nullptr);

    CMirelData& Document() const { return doc_; }
    void SetEvents(DocumentEvents* events) { events_ = events; }

    // The component's FTP settings, transfer limits and Word conversion.
    SourceSettings& Settings() { return settings_; }
    const SourceSettings& Settings() const { return settings_; }
    void SetFtpServer(const FtpServer& server) { settings_.ftp = server; }

    // The single entry point for opening: dispatch by remote prefix and
    // extension. An empty name shows the open dialog when `allowDialog`.
    // Asks "文档已修改，是否保存？" (Yes/No) before replacing a modified
    // document; a Yes whose save fails or is cancelled stops the open.
    bool OpenFile(const std::string& name, const std::string& password = {}, bool allowDialog = true,
                  bool askForPassword = true);

    // Opens a native file (qwd, mrl); asks Yes/No/Cancel about a modified
    // document first. An empty name shows the native open dialog when
    // `allowDialog`.
    bool OpenDocument(const std::string& name, const std::string& password = {}, bool allowDialog = true,
                      bool askForPassword = true);

    // Saves in the native format. A name other than the path name clears
    // `isTempCopy`; a temporary copy (imported or downloaded) is saved under
    // a name asked for.
    bool SaveDocument(const std::string& name);

    // Saves under `name`, or under a name asked for when it is empty.
    bool SaveNativeFile(const std::string& name);

    // Asks to save a modified document (Yes/No), then resets it.
    bool NewDocument();

    // Sends the document to the component's FTP server as `remoteName`. A
    // document without a path name, or a temporary copy, goes through a
    // private copy "mrltemp.mrl" and has no path name afterwards; any other
    // is saved to its own path first.
    bool UploadDocument(const std::string& remoteName);

private:
    // Asks whether to save a modified document; false stops what asked.
    bool AskToSaveModified(PromptButtons buttons);
    void Replace(CMirelData& fresh);

    CMirelData& doc_;
    DocumentEvents* events_ = nullptr;
    SourceSettings settings_;
};

}  // namespace mirel
