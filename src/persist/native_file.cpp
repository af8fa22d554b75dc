#include "persist/native_file.h"

#include "model/mirel_data.h"
#include "persist/archive.h"
#include "platform/messages.h"
#include "platform/prompt.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace mirel {

namespace {

std::string FileNameOf(const std::string& path)
{
    return std::filesystem::path(path).filename().string();
}

}  // namespace

// The message for a failed system call on `path`; the open or save fallback
// when the error has no text of its own.
FileOutcome FileSystemFailure(int err, const std::string& path, bool writing)
{
    FileOutcome out;
    out.status = FileOutcome::Status::Failed;
    const MessageArg name(FileNameOf(path));
    switch (err) {
    case ENOENT:
    case ENOTDIR:
    case ENAMETOOLONG:
        out.message = Message(61729);
        break;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
        out.message = FormatText(Message(writing ? 61732 : 61731), std::span(&name, 1));
        break;
    case ENOSPC:
    case EDQUOT:
        out.message = Message(61730);
        break;
    default:
        out.message = FormatText(Message(writing ? 61698 : 61697), std::span(&name, 1));
        if (err)
            out.message += std::string("\n") + std::strerror(err);
        break;
    }
    return out;
}

namespace {

FileOutcome FormatFailure()
{
    return {FileOutcome::Status::Failed, Message(61728)};
}

bool ReadWholeFile(const std::string& path, std::string& bytes, int& err)
{
    // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused
    // below as not a regular file (the flag means nothing for regular files).
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        err = errno;
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        err = S_ISDIR(st.st_mode) ? EISDIR : errno;
        ::close(fd);
        return false;
    }
    if (static_cast<uint64_t>(st.st_size) > kMaxDocumentBytes) {
        err = EFBIG;
        ::close(fd);
        return false;
    }
    bytes.resize(static_cast<size_t>(st.st_size));
    size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            err = n < 0 ? errno : 0;
            bytes.resize(got);
            break;
        }
        got += static_cast<size_t>(n);
    }
    ::close(fd);
    return true;
}

}  // namespace

FileOutcome ReadNativeBytes(std::string_view bytes, CMirelData& doc, const std::string& password, bool ask)
{
    auto fresh = std::make_unique<CMirelData>();
    if (!bytes.empty()) {
        try {
            Archive ar(bytes);
            if (!fresh->Serialize(ar, password, ask))
                return {FileOutcome::Status::Refused, {}};
        } catch (const ArchiveError&) {
            return FormatFailure();
        } catch (const std::bad_alloc&) {
            return FormatFailure();
        }
    }
    doc.TakeContentsFrom(*fresh);
    return {};
}

FileOutcome OpenNativeFile(const std::string& path, CMirelData& doc, const std::string& password, bool ask)
{
    std::string bytes;
    int err = 0;
    if (!ReadWholeFile(path, bytes, err))
        return FileSystemFailure(err, path, false);
    FileOutcome out = ReadNativeBytes(bytes, doc, password, ask);
    if (out.ok()) {
        doc.SetPathName(path);
        doc.SetModified(false);
    }
    return out;
}

std::string NativeBytes(CMirelData& doc)
{
    Archive ar;
    doc.Serialize(ar);
    return ar.TakeBuffer();
}

namespace {
// Thrown by the file sink when a write fails, to stop the writer.
struct WriteFailed {
    int err;
};
}  // namespace

FileOutcome WriteFileAtomically(const std::string& path, const FileProducer& produce)
{
    namespace fs = std::filesystem;
    const fs::path target(path);
    const fs::path dir = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::string hidden = ".";
    hidden += target.filename().string();
    hidden += ".XXXXXX";
    std::string tmpl = (dir / hidden).string();
    const int fd = ::mkstemp(tmpl.data());
    if (fd < 0)
        return FileSystemFailure(errno, path, true);

    auto fail = [&](int err) {
        ::close(fd);
        ::unlink(tmpl.c_str());
        return FileSystemFailure(err, path, true);
    };
    auto write = [fd](std::string_view bytes) {
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                throw WriteFailed{n < 0 ? errno : ENOSPC};
            done += static_cast<size_t>(n);
        }
    };
    try {
        produce(write);
    } catch (const WriteFailed& e) {
        return fail(e.err);
    } catch (const ArchiveError& e) {
        ::close(fd);
        ::unlink(tmpl.c_str());
        return {FileOutcome::Status::Failed,
                FormatText(Message(61698), std::array{MessageArg(target.filename().string())}) + "\n" + e.what()};
    }
    // Keep the permissions of the file being replaced; a new file gets the
    // ordinary ones (mkstemp makes it private).
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0)
        ::fchmod(fd, st.st_mode & 07777);
    else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    if (::fsync(fd) != 0)
        return fail(errno);
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(tmpl.c_str());
        return FileSystemFailure(err, path, true);
    }
    if (::rename(tmpl.c_str(), path.c_str()) != 0) {
        const int err = errno;
        ::unlink(tmpl.c_str());
        return FileSystemFailure(err, path, true);
    }
    return {};
}

FileOutcome WriteFileAtomically(const std::string& path, std::string_view bytes)
{
    return WriteFileAtomically(path, [bytes](const std::function<void(std::string_view)>& write) { write(bytes); });
}

void WriteNativeStream(CMirelData& doc, const std::function<void(std::string_view)>& write)
{
    Archive ar(write);
    doc.Serialize(ar);
    ar.Flush();
}

FileOutcome SaveNativeFile(const std::string& path, CMirelData& doc)
{
    FileOutcome out = WriteFileAtomically(
        path, [&doc](const std::function<void(std::string_view)>& write) { WriteNativeStream(doc, write); });
    if (out.ok()) {
        doc.SetPathName(path);
        doc.SetModified(false);
    }
    return out;
}

void ReportFileOutcome(const FileOutcome& outcome)
{
    if (outcome.status != FileOutcome::Status::Failed)
        return;
    CurrentPrompt().MessageBox(kComponentCaption, outcome.message, PromptIcon::Warning, PromptButtons::Ok);
}

}  // namespace mirel
