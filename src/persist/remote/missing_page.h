#pragma once
// Some servers answer a missing file with status 200 and an error page.
// Such a page is recognised by its title in the first bytes of the body.

#include <cstddef>
#include <string_view>

namespace mirel {

// How many leading bytes of a body are looked at.
inline constexpr std::size_t kMissingPageSniffBytes = 512;

// True when the first kMissingPageSniffBytes bytes of `body` hold
// "<title>404 not found" (ASCII letters in any case) or "<title>文件不存在"
// (UTF-8 or GBK).
bool LooksLikeMissingPage(std::string_view body);

}  // namespace mirel
