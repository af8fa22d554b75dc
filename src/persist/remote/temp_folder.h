#pragma once
// A private temporary folder (mode 0700, unique name made by mkdtemp under
// the system temp dir), removed with everything in it when the object goes.
// Downloads, upload copies and converter profiles live only in such folders.

#include <filesystem>
#include <optional>
#include <string_view>

namespace mirel {

class TempFolder {
 public:
  // Creates the folder; ok() tells whether that worked. `tag` becomes part of
  // the folder's name ("mirel-<tag>-XXXXXX") and must be a plain ASCII word.
  explicit TempFolder(std::string_view tag = "tmp");
  // Creates the folder under `parent` instead of the system temp dir.
  TempFolder(const std::filesystem::path& parent, std::string_view tag);
  ~TempFolder();

  TempFolder(TempFolder&& other) noexcept;
  TempFolder& operator=(TempFolder&& other) noexcept;
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  bool ok() const { return !path_.empty(); }
  const std::filesystem::path& path() const { return path_; }

  // The path of `name` inside the folder, or nothing when the name is not a
  // safe single file name (see IsSafeLocalName).
  std::optional<std::filesystem::path> FilePath(std::string_view name) const;

  // Removes the folder now; path() is empty afterwards.
  void Remove();

  // The system temp dir: $TMPDIR when it names a folder, else /tmp.
  static std::filesystem::path SystemTempDir();

 private:
  void Create(const std::filesystem::path& parent, std::string_view tag);
  std::filesystem::path path_;
};

}  // namespace mirel
