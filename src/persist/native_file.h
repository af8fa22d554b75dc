#pragma once
// Reading and writing the native document file (.qwd, older .mrl).
//
// Reading builds a separate document and hands it over only when the whole
// file was read, so a damaged or refused file never replaces the document a
// user has open, nor its path name. Saving writes a sibling temporary file,
// flushes it and renames it over the target: the previous file stays intact
// until the new one is complete.
#include <functional>
#include <memory>
#include <string>
#include <string_view>

class CMirelData;

namespace mirel {

struct FileOutcome {
    enum class Status {
        Ok,
        Refused,   // a newer version or a password not given: already told to the user
        Failed,    // the file could not be read or written; `message` says why
    };
    Status status = Status::Ok;
    std::string message;   // UTF-8, for a message box; empty unless Failed

    bool ok() const { return status == Status::Ok; }
};

// Largest file the reader accepts.
inline constexpr size_t kMaxDocumentBytes = size_t(1) << 30;

// Reads the file into a new document. On success `doc` receives it with the
// path name set; otherwise `doc` is left exactly as it was.
FileOutcome OpenNativeFile(const std::string& path, CMirelData& doc, const std::string& password = {},
                           bool askForPassword = true);

// Reads a document from bytes already in memory (the clipboard, tests).
FileOutcome ReadNativeBytes(std::string_view bytes, CMirelData& doc, const std::string& password = {},
                            bool askForPassword = false);

// The document's bytes as they would be saved.
std::string NativeBytes(CMirelData& doc);

// Saves the document; on success sets its path name and clears modified.
FileOutcome SaveNativeFile(const std::string& path, CMirelData& doc);

// Writes a file through a sibling temporary file and a rename. The producer
// is handed a function that appends bytes to the file.
using FileProducer = std::function<void(const std::function<void(std::string_view)>& write)>;
FileOutcome WriteFileAtomically(const std::string& path, const FileProducer& produce);
FileOutcome WriteFileAtomically(const std::string& path, std::string_view bytes);

// Writes the document's bytes in blocks to `write`, without holding the
// whole file in memory.
void WriteNativeStream(CMirelData& doc, const std::function<void(std::string_view)>& write);

// Shows a failure in the component's warning box.
void ReportFileOutcome(const FileOutcome& outcome);

// The failure for a system error `err` (errno) on `path`, with the texts of
// an open (writing false) or a save (writing true).
FileOutcome FileSystemFailure(int err, const std::string& path, bool writing);

}  // namespace mirel
