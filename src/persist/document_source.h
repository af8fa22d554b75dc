#pragma once
// Turning the name a user gives into a document built apart from the open
// one: the name is checked, a remote name ("HTTP://…", "FTP:…") fetched into
// a private folder, the extension chosen, the file checked and a Word file
// converted to RTF — all before anything of the open document is touched —
// and then the file is read into a new document.
//
// The document layer (document_files.h) puts the save question and the hand
// over around these steps; the command-line converter uses LoadDocumentFile.
#include "persist/native_file.h"
#include "persist/remote/temp_folder.h"
#include "persist/remote/transfer_options.h"
#include "persist/remote/word_to_rtf.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

class CMirelData;

namespace mirel {

// What reads a file, chosen by its extension (letter case ignored).
enum class DocumentKind {
    Native,    // "qwd", "mrl"
    Text,      // "txt"
    Rtf,       // "rtf"
    Word,      // "doc": converted to RTF first
    Xml,       // "xml", "xst"
    Unknown,   // anything else, and names without an extension
};

DocumentKind KindOfFileName(std::string_view fileName);

// Readers of RTF and XML, installed by the parts that provide them. They read
// `path` into `fresh`, a new document, and say why when they fail. Without
// one such files are refused with a message (a Word file is still converted).
using DocumentImporter = std::function<FileOutcome(const std::string& path, CMirelData& fresh)>;
void SetRtfImporter(DocumentImporter importer);
void SetXmlImporter(DocumentImporter importer);
bool HasRtfImporter();
bool HasXmlImporter();

// Where remote names are fetched from and how transfers are bounded.
struct SourceSettings {
    FtpServer ftp;                 // the server "FTP:" names refer to
    TransferOptions transfer;
    TransferProgress progress;     // may cancel a fetch
    WordConversionOptions word;
};

// A file ready to be read. The folders hold downloads and converted copies
// and delete them when the source goes.
struct PreparedSource {
    std::string givenName;                 // the name as the caller gave it
    std::string displayName;               // its file name (the last part of an address)
    std::filesystem::path localPath;       // what the reader reads (the RTF of a Word file)
    DocumentKind kind = DocumentKind::Unknown;   // of the reader: a Word file becomes Rtf
    bool downloaded = false;
    std::optional<TempFolder> downloadFolder;
    std::optional<TempFolder> conversionFolder;
};

// The last transfer error (UTF-8): cleared at the start of every open and
// set by a fetch that failed. Process-wide, for the host to read.
const std::string& LastTransferError();
void ClearLastTransferError();

// The checks a local file passes before the open document is touched: a
// file name (not "", "." or "..", no trailing "/"), an existing regular file
// that may be read, not larger than the native reader accepts.
FileOutcome CheckFileToOpen(const std::string& path);

// Checks and fetches `name` and converts a Word file. A failed fetch also
// becomes the last transfer error (document_files.h) and sets *transfer.
FileOutcome PrepareSource(const std::string& name, const SourceSettings& settings, PreparedSource& source,
                          bool* transfer = nullptr);

// Reads a prepared source into `fresh`, a new document. On success its path
// name is the name the caller gave, it is not modified, and `isTempCopy` is
// set unless it is a native file read from where it lies (an imported or
// downloaded document must be saved under a new name).
FileOutcome BuildDocument(const PreparedSource& source, CMirelData& fresh, const std::string& password,
                          bool askForPassword);

// For the command line: `name` as the open takes it (a local path, an
// "http://…" address, "FTP:name" on settings.ftp, a text file …) read into a
// new document without asking anything. On failure `document` is null and
// `error` holds the message (UTF-8).
struct LoadedDocument {
    std::unique_ptr<CMirelData> document;
    std::string error;
};
LoadedDocument LoadDocumentFile(const std::string& name, const SourceSettings& settings = {},
                                const std::string& password = {});

}  // namespace mirel
