#include "persist/remote/temp_folder.h"

#include <cstdlib>
#include <string>
#include <system_error>

#include "persist/remote/remote_name.h"

namespace mirel {

TempFolder::TempFolder(std::string_view tag) { Create(SystemTempDir(), tag); }

TempFolder::TempFolder(const std::filesystem::path& parent, std::string_view tag) {
  Create(parent, tag);
}

TempFolder::~TempFolder() { Remove(); }

TempFolder::TempFolder(TempFolder&& other) noexcept : path_(std::move(other.path_)) {
  other.path_.clear();
}

TempFolder& TempFolder::operator=(TempFolder&& other) noexcept {
  if (this != &other) {
    Remove();
    path_ = std::move(other.path_);
    other.path_.clear();
  }
  return *this;
}

std::filesystem::path TempFolder::SystemTempDir() {
  const char* env = std::getenv("TMPDIR");
  if (env != nullptr && env[0] == '/') {
    std::error_code ec;
    if (std::filesystem::is_directory(env, ec)) return env;
  }
  return "/tmp";
}

void TempFolder::Create(const std::filesystem::path& parent, std::string_view tag) {
  // Only letters, digits and '-' from the tag, so the template stays a plain name.
  std::string clean;
  for (char c : tag.substr(0, 32)) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                       (c >= '0' && c <= '9') || c == '-';
    if (plain) clean.push_back(c);
  }
  if (clean.empty()) clean = "tmp";
  std::string templ = (parent / ("mirel-" + clean + "-XXXXXX")).string();
  if (::mkdtemp(templ.data()) != nullptr) path_ = templ;
}

std::optional<std::filesystem::path> TempFolder::FilePath(std::string_view name) const {
  if (!ok() || !IsSafeLocalName(name)) return std::nullopt;
  return path_ / std::filesystem::path(std::string(name));
}

void TempFolder::Remove() {
  if (path_.empty()) return;
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);  // nothing more to do when it fails
  path_.clear();
}

}  // namespace mirel
