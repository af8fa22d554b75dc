#include "persist/document_source.h"

#include "model/mirel_data.h"
#include "persist/open_messages.h"
#include "persist/remote/ftp_transfer.h"
#include "persist/remote/http_fetch.h"
#include "persist/remote/remote_messages.h"
#include "persist/remote/remote_name.h"
#include "persist/text_import.h"
#include "platform/messages.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace mirel {

namespace fs = std::filesystem;

namespace {

std::string g_lastTransferError;
DocumentImporter g_rtfImporter;
DocumentImporter g_xmlImporter;

FileOutcome Failure(std::string_view text)
{
    return {FileOutcome::Status::Failed, std::string(text)};
}

FileOutcome Failure(std::string_view format, const std::string& name)
{
    const MessageArg arg(name);
    return {FileOutcome::Status::Failed, FormatText(format, std::span(&arg, 1))};
}

FileOutcome BadName()
{
    return Failure(remote_msg::kBadFileName);
}

// A local name must end in a file name: not "", "." or "..", not a folder
// written with a trailing "/".
bool IsFileName(const std::string& name)
{
    if (name.empty() || name.back() == '/')
        return false;
    const std::string file = fs::path(name).filename().string();
    return !file.empty() && file != "." && file != "..";
}

// The file exists, is a regular file we may read, and is not larger than
// `maxBytes`. Nothing is read; a FIFO or device is never opened.
FileOutcome CheckLocalFile(const std::string& path, const std::string& displayName, std::uint64_t maxBytes,
                           std::string_view tooLargeText)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return FileSystemFailure(errno, path, false);
    if (!S_ISREG(st.st_mode))
        return Failure(open_msg::kNotAFile, displayName);
    if (static_cast<std::uint64_t>(st.st_size) > maxBytes)
        return Failure(tooLargeText, displayName);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return FileSystemFailure(errno, path, false);
    ::close(fd);
    return {};
}

// Files other than text are bounded by the native reader's limit.
std::uint64_t LimitOf(DocumentKind kind)
{
    return kind == DocumentKind::Text ? kMaxTextImportBytes : kMaxDocumentBytes;
}

std::string_view TooLargeTextOf(DocumentKind kind)
{
    return kind == DocumentKind::Text ? open_msg::kTextTooLarge : open_msg::kFileTooLarge;
}

// Refuses a kind nothing here can read, before anything is fetched.
FileOutcome CheckKind(DocumentKind kind, const std::string& displayName)
{
    switch (kind) {
    case DocumentKind::Unknown:
        return Failure(open_msg::kUnknownKind, displayName);
    case DocumentKind::Xml:
        return g_xmlImporter ? FileOutcome{} : Failure(open_msg::kNoXmlReader, displayName);
    case DocumentKind::Rtf:
        return g_rtfImporter ? FileOutcome{} : Failure(open_msg::kNoRtfReader, displayName);
    default:
        return {};
    }
}

FileOutcome TransferFailure(const RemoteError& error, bool* transfer)
{
    g_lastTransferError = error.message;
    if (transfer)
        *transfer = true;
    return Failure(error.message);
}

// Copies the Word file into a folder of its own, converts the copy to RTF
// there and deletes the copy; the source then reads that RTF.
FileOutcome ConvertWordSource(PreparedSource& source, const SourceSettings& settings)
{
    source.conversionFolder.emplace("word");
    TempFolder& folder = *source.conversionFolder;
    if (!folder.ok())
        return Failure(open_msg::kCopyTempFailed);
    const fs::path copy = folder.path() / "~qwd.doc";
    std::error_code ec;
    if (!fs::copy_file(source.localPath, copy, ec) || ec)
        return Failure(open_msg::kCopyTempFailed);
    RemoteResult<fs::path> rtf = ConvertWordToRtf(copy, folder.path(), settings.word);
    fs::remove(copy, ec);
    if (!rtf)
        return Failure(rtf.error().message);
    source.localPath = rtf.value();
    source.kind = DocumentKind::Rtf;
    if (!g_rtfImporter)
        return Failure(open_msg::kNoRtfReader, source.displayName);
    return {};
}

}  // namespace

const std::string& LastTransferError()
{
    return g_lastTransferError;
}

void ClearLastTransferError()
{
    g_lastTransferError.clear();
}

DocumentKind KindOfFileName(std::string_view fileName)
{
    const std::string ext = LowerExtension(fileName);
    if (ext == "qwd" || ext == "mrl")
        return DocumentKind::Native;
    if (ext == "txt")
        return DocumentKind::Text;
    if (ext == "rtf")
        return DocumentKind::Rtf;
    if (ext == "doc")
        return DocumentKind::Word;
    if (ext == "xml" || ext == "xst")
        return DocumentKind::Xml;
    return DocumentKind::Unknown;
}

void SetRtfImporter(DocumentImporter importer)
{
    g_rtfImporter = std::move(importer);
}

void SetXmlImporter(DocumentImporter importer)
{
    g_xmlImporter = std::move(importer);
}

bool HasRtfImporter()
{
    return static_cast<bool>(g_rtfImporter);
}

bool HasXmlImporter()
{
    return static_cast<bool>(g_xmlImporter);
}

FileOutcome CheckFileToOpen(const std::string& path)
{
    if (!IsFileName(path))
        return BadName();
    return CheckLocalFile(path, fs::path(path).filename().string(), kMaxDocumentBytes, open_msg::kFileTooLarge);
}

FileOutcome PrepareSource(const std::string& name, const SourceSettings& settings, PreparedSource& source,
                          bool* transfer)
{
    source = PreparedSource{};
    source.givenName = name;
    if (transfer)
        *transfer = false;

    const RemoteNameKind remote = ClassifyRemoteName(name);
    if (remote == RemoteNameKind::Local) {
        if (!IsFileName(name))
            return BadName();
        source.displayName = fs::path(name).filename().string();
        source.localPath = name;
    } else {
        // The name a download will get decides the reader, so a file nothing
        // can read is refused before it is fetched.
        RemoteResult<std::string> local = remote == RemoteNameKind::Http
                                              ? ResolveRemoteName(name)
                                              : ResolveRemotePathName(StripFtpPrefix(name));
        if (!local)
            return TransferFailure(local.error(), transfer);
        source.displayName = local.value();
    }

    source.kind = KindOfFileName(source.displayName);
    if (FileOutcome refused = CheckKind(source.kind, source.displayName); !refused.ok())
        return refused;

    if (remote != RemoteNameKind::Local) {
        source.downloadFolder.emplace("open");
        if (!source.downloadFolder->ok())
            return TransferFailure(MakeRemoteError(RemoteErrorKind::LocalFileError, remote_msg::kLocalFileFailed),
                                   transfer);
        TransferOptions options = settings.transfer;
        options.maxBytes = std::min<std::uint64_t>(options.maxBytes, LimitOf(source.kind));
        RemoteResult<FetchedFile> fetched =
            remote == RemoteNameKind::Http
                ? FetchHttp(name, *source.downloadFolder, options, settings.progress)
                : FetchFtp(StripFtpPrefix(name), settings.ftp, *source.downloadFolder, options, settings.progress);
        if (!fetched)
            return TransferFailure(fetched.error(), transfer);
        source.localPath = fetched.value().localPath;
        source.downloaded = true;
    }

    if (FileOutcome checked = CheckLocalFile(source.localPath.string(), source.displayName, LimitOf(source.kind),
                                             TooLargeTextOf(source.kind));
        !checked.ok())
        return checked;

    if (source.kind == DocumentKind::Word)
        return ConvertWordSource(source, settings);
    return {};
}

FileOutcome BuildDocument(const PreparedSource& source, CMirelData& fresh, const std::string& password,
                          bool askForPassword)
{
    const std::string path = source.localPath.string();
    switch (source.kind) {
    case DocumentKind::Native: {
        FileOutcome out = OpenNativeFile(path, fresh, password, askForPassword);
        if (out.ok() && source.downloaded) {
            // Its local copy goes with the download folder: saving must ask for a name.
            fresh.SetPathName(source.givenName);
            fresh.isTempCopy = 1;
        }
        return out;
    }
    case DocumentKind::Text: {
        CTextObj* column = FirstTextColumn(fresh);
        if (!column)
            return Failure(Message(41550));
        if (FileOutcome out = ImportText(*column, path); !out.ok())
            return out;
        break;
    }
    case DocumentKind::Rtf:
    case DocumentKind::Xml: {
        const DocumentImporter& importer = source.kind == DocumentKind::Rtf ? g_rtfImporter : g_xmlImporter;
        if (!importer)
            return CheckKind(source.kind, source.displayName);
        if (FileOutcome out = importer(path, fresh); !out.ok())
            return out;
        break;
    }
    case DocumentKind::Word:
    case DocumentKind::Unknown:
        return Failure(open_msg::kUnknownKind, source.displayName);
    }
    fresh.SetPathName(source.givenName);
    fresh.SetModified(false);
    fresh.isTempCopy = 1;
    return {};
}

LoadedDocument LoadDocumentFile(const std::string& name, const SourceSettings& settings, const std::string& password)
{
    ClearLastTransferError();
    LoadedDocument result;
    PreparedSource source;
    FileOutcome out = PrepareSource(name, settings, source);
    if (out.ok()) {
        auto doc = std::make_unique<CMirelData>();
        out = BuildDocument(source, *doc, password, false);
        if (out.ok()) {
            result.document = std::move(doc);
            return result;
        }
    }
    result.error = out.message.empty() ? std::string(Message(61697)) : out.message;
    return result;
}

}  // namespace mirel
