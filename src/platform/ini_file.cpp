#include "platform/ini_file.h"

#include <QByteArray>
#include <QSaveFile>
#include <QString>

#include <fstream>
#include <unordered_set>
#include <system_error>

#include "platform/numbers.h"

namespace mirel {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

constexpr bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return s;
}

constexpr char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Names compare without ASCII case; other bytes (Chinese names) exactly.
bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

std::string Folded(std::string_view name) {
  std::string out(name);
  for (char& c : out) c = Lower(c);
  return out;
}

bool HasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

void SetError(std::string* error, std::string text) {
  if (error) *error = std::move(text);
}

}  // namespace

void IniFile::Parse(std::string_view text) {
  lines_.clear();
  crlf_ = false;
  bom_ = false;
  finalNewline_ = true;
  if (text.substr(0, kBom.size()) == kBom) {
    bom_ = true;
    text.remove_prefix(kBom.size());
  }
  if (text.empty()) return;
  finalNewline_ = text.back() == '\n';
  // The first line decides the line ending written back. In a file with
  // LF endings a stray CR stays part of its line.
  const std::size_t firstEnd = text.find('\n');
  crlf_ = firstEnd != std::string_view::npos && firstEnd > 0 && text[firstEnd - 1] == '\r';
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view raw = text.substr(pos, end - pos);
    pos = end + 1;
    if (crlf_ && end < text.size() && !raw.empty() && raw.back() == '\r') raw.remove_suffix(1);

    Line line;
    line.raw = raw;
    const std::string_view t = Trim(raw);
    if (t.empty() || t.front() == ';' || t.front() == '#') {
      // comment or blank line
    } else if (t.front() == '[') {
      const std::size_t close = t.find(']');
      if (close != std::string_view::npos) {
        const std::string_view name = Trim(t.substr(1, close - 1));
        if (!name.empty()) {
          line.kind = Line::Kind::Section;
          line.name = name;
        }
      }
    } else if (const std::size_t eq = t.find('='); eq != std::string_view::npos) {
      const std::string_view key = Trim(t.substr(0, eq));
      if (!key.empty()) {
        line.kind = Line::Kind::Entry;
        line.name = key;
        line.value = Trim(t.substr(eq + 1));
      }
    }
    lines_.push_back(std::move(line));
  }
}

bool IniFile::Load(const std::filesystem::path& path, std::string* error) {
  Parse({});
  std::error_code ec;
  const auto status = std::filesystem::status(path, ec);
  if (status.type() == std::filesystem::file_type::not_found) return true;
  if (ec) {
    SetError(error, "cannot access " + path.string() + ": " + ec.message());
    return false;
  }
  if (status.type() != std::filesystem::file_type::regular) {
    SetError(error, path.string() + " is not a regular file");
    return false;
  }
  const auto size = std::filesystem::file_size(path, ec);
  if (ec || size > kMaxFileSize) {
    SetError(error, path.string() + (ec ? ": " + ec.message() : std::string(" is too large")));
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    SetError(error, "cannot open " + path.string());
    return false;
  }
  // Read one byte more than expected: the file may have grown since.
  std::string text(static_cast<std::size_t>(size) + 1, '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  if (in.bad()) {
    SetError(error, "cannot read " + path.string());
    return false;
  }
  text.resize(static_cast<std::size_t>(in.gcount()));
  if (text.size() > kMaxFileSize) {
    SetError(error, path.string() + " is too large");
    return false;
  }
  Parse(text);
  return true;
}

std::string IniFile::ToString() const {
  std::string out;
  if (bom_) out += kBom;
  const char* eol = crlf_ ? "\r\n" : "\n";
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const Line& line = lines_[i];
    if (line.kind == Line::Kind::Entry && line.modified) {
      out += line.name;
      out += '=';
      out += line.value;
    } else {
      out += line.raw;
    }
    if (i + 1 < lines_.size() || finalNewline_) out += eol;
  }
  return out;
}

bool IniFile::Save(const std::filesystem::path& path, std::string* error) const {
  const std::string text = ToString();
  QSaveFile file(QString::fromStdString(path.string()));
  if (!file.open(QIODevice::WriteOnly)) {
    SetError(error, "cannot write " + path.string() + ": " + file.errorString().toStdString());
    return false;
  }
  if (file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size())) {
    SetError(error, "cannot write " + path.string() + ": " + file.errorString().toStdString());
    file.cancelWriting();
    return false;
  }
  if (!file.commit()) {
    SetError(error, "cannot write " + path.string() + ": " + file.errorString().toStdString());
    return false;
  }
  return true;
}

bool IniFile::IsBlank(const Line& line) {
  return line.kind == Line::Kind::Other && Trim(line.raw).empty();
}

std::size_t IniFile::FindSection(std::string_view section) const {
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].kind == Line::Kind::Section && SameName(lines_[i].name, section)) return i;
  }
  return std::string::npos;
}

std::size_t IniFile::SectionEnd(std::size_t start) const {
  std::size_t i = start + 1;
  while (i < lines_.size() && lines_[i].kind != Line::Kind::Section) ++i;
  return i;
}

std::size_t IniFile::FindKey(std::size_t sectionLine, std::string_view key) const {
  const std::size_t end = SectionEnd(sectionLine);
  for (std::size_t i = sectionLine + 1; i < end; ++i) {
    if (lines_[i].kind == Line::Kind::Entry && SameName(lines_[i].name, key)) return i;
  }
  return std::string::npos;
}

std::optional<std::string> IniFile::Get(std::string_view section, std::string_view key) const {
  const std::size_t s = FindSection(section);
  if (s == std::string::npos) return std::nullopt;
  const std::size_t k = FindKey(s, key);
  if (k == std::string::npos) return std::nullopt;
  return lines_[k].value;
}

std::string IniFile::GetString(std::string_view section, std::string_view key,
                               std::string_view fallback) const {
  auto value = Get(section, key);
  return value ? std::move(*value) : std::string(fallback);
}

int IniFile::GetInt(std::string_view section, std::string_view key, int fallback) const {
  const auto value = Get(section, key);
  if (!value) return fallback;
  return ParseInt(*value).value_or(fallback);
}

bool IniFile::SetString(std::string_view section, std::string_view key, std::string_view value) {
  section = Trim(section);
  key = Trim(key);
  value = Trim(value);
  if (section.empty() || key.empty() || HasLineBreak(section) || HasLineBreak(key) ||
      HasLineBreak(value) || section.find(']') != std::string_view::npos ||
      key.find('=') != std::string_view::npos || key.front() == '[' || key.front() == ';' ||
      key.front() == '#') {
    return false;
  }
  Line entry;
  entry.kind = Line::Kind::Entry;
  entry.name = key;
  entry.value = value;
  entry.modified = true;

  std::size_t s = FindSection(section);
  if (s == std::string::npos) {
    if (!lines_.empty() && !IsBlank(lines_.back())) lines_.push_back(Line{});
    Line header;
    header.kind = Line::Kind::Section;
    header.name = section;
    header.raw.reserve(section.size() + 2);
    header.raw += '[';
    header.raw += section;
    header.raw += ']';
    lines_.push_back(std::move(header));
    lines_.push_back(std::move(entry));
    finalNewline_ = true;
    return true;
  }
  if (const std::size_t k = FindKey(s, key); k != std::string::npos) {
    if (lines_[k].value != value) {
      lines_[k].value = value;
      lines_[k].modified = true;
    }
    return true;
  }
  // After the last non-blank line of the section, so that the blank line
  // separating it from the next section stays where it is.
  std::size_t at = SectionEnd(s);
  while (at > s + 1 && IsBlank(lines_[at - 1])) --at;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(entry));
  if (at == lines_.size() - 1) finalNewline_ = true;
  return true;
}

bool IniFile::SetInt(std::string_view section, std::string_view key, int value) {
  return SetString(section, key, FormatInt(value));
}

bool IniFile::RemoveKey(std::string_view section, std::string_view key) {
  const std::size_t s = FindSection(section);
  if (s == std::string::npos) return false;
  const std::size_t k = FindKey(s, key);
  if (k == std::string::npos) return false;
  lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(k));
  return true;
}

bool IniFile::RemoveSection(std::string_view section) {
  const std::size_t s = FindSection(section);
  if (s == std::string::npos) return false;
  lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(s),
               lines_.begin() + static_cast<std::ptrdiff_t>(SectionEnd(s)));
  return true;
}

bool IniFile::HasSection(std::string_view section) const {
  return FindSection(section) != std::string::npos;
}

std::vector<std::string> IniFile::Sections() const {
  std::vector<std::string> out;
  std::unordered_set<std::string> seen;
  for (const Line& line : lines_) {
    if (line.kind == Line::Kind::Section && seen.insert(Folded(line.name)).second) {
      out.push_back(line.name);
    }
  }
  return out;
}

std::vector<std::string> IniFile::Keys(std::string_view section) const {
  std::vector<std::string> out;
  const std::size_t s = FindSection(section);
  if (s == std::string::npos) return out;
  const std::size_t end = SectionEnd(s);
  std::unordered_set<std::string> seen;
  for (std::size_t i = s + 1; i < end; ++i) {
    if (lines_[i].kind == Line::Kind::Entry && seen.insert(Folded(lines_[i].name)).second) {
      out.push_back(lines_[i].name);
    }
  }
  return out;
}

}  // namespace mirel
