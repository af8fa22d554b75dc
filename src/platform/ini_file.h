// Reading and rewriting INI files ("[Section]" and "key=value" lines).
//
// Section and key names are compared without regard to ASCII case and are
// otherwise kept byte for byte, so Chinese names stay literal (files are
// UTF-8). Everything that is not a section or an entry - comments, blank
// lines, lines the reader does not understand - is kept and written back
// unchanged, and so is every entry that was not modified.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mirel {

class IniFile {
 public:
  // Larger files are refused by Load: settings are small, and reading a
  // huge file only to rewrite part of it could lose the rest.
  static constexpr std::size_t kMaxFileSize = 4u << 20;

  IniFile() = default;

  // Reads `path`. A missing file gives an empty INI and succeeds. A file
  // that cannot be read, is not a regular file or exceeds kMaxFileSize
  // fails with a message in `error`; the object is then empty.
  bool Load(const std::filesystem::path& path, std::string* error = nullptr);

  // Replaces the contents with `text` (never fails; lines not understood
  // are kept as they are).
  void Parse(std::string_view text);

  // The file text, with the original line endings (CRLF when the loaded
  // text used CRLF) and a UTF-8 byte-order mark when it had one.
  std::string ToString() const;

  // Writes a sibling temporary file, flushes it and renames it over `path`;
  // the previous file stays intact until the new one is complete. On
  // failure returns false with a message in `error`.
  bool Save(const std::filesystem::path& path, std::string* error = nullptr) const;

  // First occurrence of `key` in the first section named `section`.
  std::optional<std::string> Get(std::string_view section, std::string_view key) const;
  std::string GetString(std::string_view section, std::string_view key,
                        std::string_view fallback = {}) const;
  // The value read as a decimal integer; `fallback` when the key is
  // missing or its value is not an integer.
  int GetInt(std::string_view section, std::string_view key, int fallback) const;

  // Sets a value, creating the section and key when needed. Refused (false)
  // when a name is empty, a name or value holds a line break, a section
  // name holds "]" or a key begins with "[", ";" or "#" or holds "=".
  bool SetString(std::string_view section, std::string_view key, std::string_view value);
  bool SetInt(std::string_view section, std::string_view key, int value);

  bool RemoveKey(std::string_view section, std::string_view key);
  bool RemoveSection(std::string_view section);

  bool HasSection(std::string_view section) const;
  std::vector<std::string> Sections() const;
  std::vector<std::string> Keys(std::string_view section) const;

 private:
  struct Line {
    enum class Kind { Other, Section, Entry } kind = Kind::Other;
    std::string raw;    // the line as read (Other, unmodified lines)
    std::string name;   // section or key name
    std::string value;  // entry value
    bool modified = false;
  };

  static bool IsBlank(const Line& line);
  // Index of the first section line named `section`, or npos.
  std::size_t FindSection(std::string_view section) const;
  // One past the last line belonging to the section starting at `start`.
  std::size_t SectionEnd(std::size_t start) const;
  std::size_t FindKey(std::size_t sectionLine, std::string_view key) const;

  std::vector<Line> lines_;
  bool crlf_ = false;
  bool bom_ = false;
  bool finalNewline_ = true;
};

}  // namespace mirel
