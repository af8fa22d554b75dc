#include "persist/remote/remote_name.h"

#include <cstddef>
#include <cstdint>

#include "persist/remote/remote_messages.h"

namespace mirel {
namespace {

constexpr std::size_t kMaxAddress = 8192;
constexpr std::size_t kMaxName = 255;

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (AsciiLower(text[i]) != AsciiLower(prefix[i])) return false;
  }
  return true;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string PercentDecode(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size()) {
      const int hi = HexValue(text[i + 1]);
      const int lo = HexValue(text[i + 2]);
      if (hi >= 0 && lo >= 0) {
        out.push_back(static_cast<char>(hi * 16 + lo));
        i += 2;
        continue;
      }
    }
    out.push_back(text[i]);
  }
  return out;
}

// "scheme://" at the start: letters, digits, '+', '-', '.' before "://".
bool HasUrlScheme(std::string_view address, std::size_t* afterScheme) {
  const std::size_t colon = address.find("://");
  if (colon == std::string_view::npos || colon == 0) return false;
  for (std::size_t i = 0; i < colon; ++i) {
    const char c = address[i];
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                    (i > 0 && ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'));
    if (!ok) return false;
  }
  *afterScheme = colon + 3;
  return true;
}

RemoteError BadName() {
  return MakeRemoteError(RemoteErrorKind::BadName, remote_msg::kBadFileName);
}

}  // namespace

RemoteNameKind ClassifyRemoteName(std::string_view name) {
  if (StartsWithNoCase(name, "HTTP://") || StartsWithNoCase(name, "HTTPS://")) {
    return RemoteNameKind::Http;
  }
  if (StartsWithNoCase(name, "FTP:")) return RemoteNameKind::Ftp;
  return RemoteNameKind::Local;
}

std::string_view StripFtpPrefix(std::string_view name) {
  return StartsWithNoCase(name, "FTP:") ? name.substr(4) : name;
}

bool IsValidUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    std::size_t len = 0;
    std::uint32_t cp = 0;
    if (c < 0x80) {
      ++i;
      continue;
    } else if (c >= 0xC2 && c <= 0xDF) {
      len = 2;
      cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      len = 3;
      cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      len = 4;
      cp = c & 0x07;
    } else {
      return false;
    }
    if (text.size() - i < len) return false;
    for (std::size_t k = 1; k < len; ++k) {
      const auto t = static_cast<unsigned char>(text[i + k]);
      if ((t & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (t & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF.
    if ((len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000) || cp > 0x10FFFF ||
        (cp >= 0xD800 && cp <= 0xDFFF)) {
      return false;
    }
    i += len;
  }
  return true;
}

bool IsSafeLocalName(std::string_view name) {
  if (name.empty() || name.size() > kMaxName) return false;
  if (name == "." || name == "..") return false;
  if (name.find("..") != std::string_view::npos) return false;
  for (char c : name) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '/' || c == '\\' || c == ':' || u < 0x20 || u == 0x7F) return false;
  }
  return IsValidUtf8(name);
}

RemoteResult<std::string> ResolveRemoteName(std::string_view address) {
  if (address.empty() || address.size() > kMaxAddress) return BadName();

  std::size_t afterScheme = 0;
  if (HasUrlScheme(address, &afterScheme)) {
    // scheme://authority/path?query#fragment — the name is the path's last part.
    std::string_view rest = address.substr(afterScheme);
    const std::size_t pathStart = rest.find_first_of("/?#");
    if (pathStart == std::string_view::npos || rest[pathStart] != '/') return BadName();
    std::string_view path = rest.substr(pathStart);
    path = path.substr(0, path.find_first_of("?#"));
    if (path.empty() || path.back() == '/') return BadName();
    const std::string_view raw = path.substr(path.rfind('/') + 1);
    std::string decoded = PercentDecode(raw);
    // A name whose escapes do not spell UTF-8 keeps its escaped form.
    if (!IsValidUtf8(decoded)) decoded.assign(raw);
    if (!IsSafeLocalName(decoded)) return BadName();
    return decoded;
  }

  return ResolveRemotePathName(StripFtpPrefix(address));
}

RemoteResult<std::string> ResolveRemotePathName(std::string_view path) {
  if (path.empty() || path.size() > kMaxAddress || path.back() == '/') return BadName();
  const std::size_t slash = path.rfind('/');
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  if (!IsSafeLocalName(name)) return BadName();
  return std::string(name);
}

std::string LowerExtension(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return {};
  std::string ext(name.substr(dot + 1));
  for (char& c : ext) c = AsciiLower(c);
  return ext;
}

}  // namespace mirel
