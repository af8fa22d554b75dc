#include "persist/remote/download_sink.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

#include "persist/remote/missing_page.h"

namespace mirel::detail {

DownloadSink::DownloadSink(const std::filesystem::path& folder, std::uint64_t maxBytes,
                           bool sniffMissingPage)
    : maxBytes_(maxBytes), sniff_(sniffMissingPage) {
  std::string templ = (folder / ".part-XXXXXX").string();
  fd_ = ::mkstemp(templ.data());
  if (fd_ >= 0) partial_ = templ;
}

DownloadSink::~DownloadSink() { Discard(); }

std::size_t DownloadSink::Write(char* data, std::size_t size, std::size_t count, void* self) {
  auto* sink = static_cast<DownloadSink*>(self);
  const std::size_t total = size * count;
  if (sink->stop_ != Stop::None || sink->fd_ < 0) return 0;
  if (total > sink->maxBytes_ - sink->bytes_) {  // bytes_ never passes maxBytes_
    sink->stop_ = Stop::TooLarge;
    return 0;
  }
  if (sink->sniff_ && !sink->sniffed_) {
    const std::size_t want = kMissingPageSniffBytes - sink->head_.size();
    sink->head_.append(data, total < want ? total : want);
    if (sink->head_.size() >= kMissingPageSniffBytes) {
      sink->sniffed_ = true;
      if (LooksLikeMissingPage(sink->head_)) {
        sink->stop_ = Stop::MissingPage;
        return 0;
      }
    }
  }
  if (!sink->Append(data, total)) {
    sink->stop_ = Stop::WriteFailed;
    return 0;
  }
  sink->bytes_ += total;
  return total;
}

bool DownloadSink::Append(const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd_, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

bool DownloadSink::Finish() {
  if (fd_ < 0) {
    if (stop_ == Stop::None) stop_ = Stop::WriteFailed;
    return false;
  }
  if (sniff_ && !sniffed_) {
    sniffed_ = true;
    if (LooksLikeMissingPage(head_)) stop_ = Stop::MissingPage;
  }
  const int rc = ::close(fd_);
  fd_ = -1;
  if (rc != 0 && stop_ == Stop::None) stop_ = Stop::WriteFailed;
  return stop_ == Stop::None;
}

bool DownloadSink::CommitAs(const std::filesystem::path& target) {
  if (fd_ >= 0 || partial_.empty() || stop_ != Stop::None) return false;
  if (std::rename(partial_.c_str(), target.c_str()) != 0) {
    stop_ = Stop::WriteFailed;
    return false;
  }
  partial_.clear();
  return true;
}

void DownloadSink::Discard() {
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
  if (!partial_.empty()) {
    ::unlink(partial_.c_str());
    partial_.clear();
  }
}

}  // namespace mirel::detail
