#pragma once
// Internal: receives a download into a partial file inside a private folder,
// enforces the size limit, looks for a missing-file page at the start, and
// either renames the file to its final name or deletes it.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace mirel::detail {

class DownloadSink {
 public:
  enum class Stop { None, TooLarge, MissingPage, WriteFailed };

  DownloadSink(const std::filesystem::path& folder, std::uint64_t maxBytes, bool sniffMissingPage);
  ~DownloadSink();  // deletes the partial file unless it was committed
  DownloadSink(const DownloadSink&) = delete;
  DownloadSink& operator=(const DownloadSink&) = delete;

  bool ok() const { return fd_ >= 0; }
  Stop stop() const { return stop_; }
  std::uint64_t bytes() const { return bytes_; }

  // curl's write callback; `self` is the sink.
  static std::size_t Write(char* data, std::size_t size, std::size_t count, void* self);

  // Ends the download: checks a short body for the missing-file page and
  // closes the file. False (with stop() telling why) when it must be dropped.
  bool Finish();
  // Renames the finished file to `target`, replacing a file of that name.
  bool CommitAs(const std::filesystem::path& target);
  void Discard();

 private:
  bool Append(const char* data, std::size_t size);

  int fd_ = -1;
  std::filesystem::path partial_;
  std::uint64_t maxBytes_;
  std::uint64_t bytes_ = 0;
  bool sniff_;
  bool sniffed_ = false;
  std::string head_;
  Stop stop_ = Stop::None;
};

}  // namespace mirel::detail
