#include "persist/remote/missing_page.h"

#include <string>

namespace mirel {

bool LooksLikeMissingPage(std::string_view body) {
  // Only ASCII letters are folded. The patterns begin with '<', which is never
  // the trail byte of a GBK character, so folding cannot join a match across
  // a character boundary.
  std::string head(body.substr(0, kMissingPageSniffBytes));
  for (char& c : head) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  static constexpr std::string_view kPatterns[] = {
      "<title>404 not found",
      "<title>\xE6\x96\x87\xE4\xBB\xB6\xE4\xB8\x8D\xE5\xAD\x98\xE5\x9C\xA8",  // 文件不存在, UTF-8
      "<title>\xCE\xC4\xBC\xFE\xB2\xBB\xB4\xE6\xD4\xDA",                      // 文件不存在, GBK
  };
  for (std::string_view pattern : kPatterns) {
    if (head.find(pattern) != std::string::npos) return true;
  }
  return false;
}

}  // namespace mirel
