#include "platform/gbk.h"

#include <iconv.h>

#include <QList>

#include <algorithm>
#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <bit>
#include <cerrno>
#include <cstring>

namespace mirel {
namespace {

constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";  // U+FFFD
constexpr std::string_view kReplacementGbk = "?";

constexpr const char* kUtf16Host =
    std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

// One iconv descriptor, opened on first use and kept for the life of the
// thread (descriptors carry conversion state, so they are not shared
// between threads).
class Descriptor {
 public:
  Descriptor(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Descriptor() {
    if (ok()) iconv_close(cd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return cd_; }

 private:
  iconv_t cd_;
};

Descriptor& GbkToUtf8Cd() {
  thread_local Descriptor cd("UTF-8", "CP936");
  return cd;
}
Descriptor& Utf8ToGbkCd() {
  thread_local Descriptor cd("CP936", "UTF-8");
  return cd;
}
Descriptor& Utf16ToGbkCd() {
  thread_local Descriptor cd("CP936", kUtf16Host);
  return cd;
}

bool IsAscii(std::string_view s) {
  return std::all_of(s.begin(), s.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Length of the well-formed UTF-8 sequence at p, or 0 when the bytes there
// are not one (overlong forms, surrogates and values above U+10FFFF are
// refused, as iconv refuses them).
std::size_t Utf8SequenceLength(const unsigned char* p, std::size_t left) {
  const unsigned char b0 = p[0];
  std::size_t n;
  char32_t min;
  char32_t cp;
  if (b0 < 0x80) return 1;
  if ((b0 & 0xE0) == 0xC0) {
    n = 2, min = 0x80, cp = b0 & 0x1F;
  } else if ((b0 & 0xF0) == 0xE0) {
    n = 3, min = 0x800, cp = b0 & 0x0F;
  } else if ((b0 & 0xF8) == 0xF0) {
    n = 4, min = 0x10000, cp = b0 & 0x07;
  } else {
    return 0;
  }
  if (left < n) return 0;
  for (std::size_t i = 1; i < n; ++i) {
    if ((p[i] & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (p[i] & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return n;
}

// How many input bytes to step over when iconv stops at an input it cannot
// convert; always at least 1 and at most `left`.
enum class Input { Gbk, Utf8, Utf16 };

std::size_t SkipLength(Input kind, const char* at, std::size_t left) {
  switch (kind) {
    case Input::Gbk:
      // An invalid lead/trail pair: drop the lead byte only, so that an
      // ASCII byte after it is still read as itself.
      return 1;
    case Input::Utf8: {
      const std::size_t n =
          Utf8SequenceLength(reinterpret_cast<const unsigned char*>(at), left);
      return n == 0 ? 1 : n;  // a whole character, or one bad byte
    }
    case Input::Utf16: {
      if (left < 2) return left;
      char16_t u;
      std::memcpy(&u, at, 2);
      if (u >= 0xD800 && u <= 0xDBFF && left >= 4) {
        char16_t next;
        std::memcpy(&next, at + 2, 2);
        if (next >= 0xDC00 && next <= 0xDFFF) return 4;  // one unmappable pair
      }
      return 2;
    }
  }
  return 1;
}

// Runs `cd` over the whole input; every input iconv refuses is replaced by
// `replacement` in the output and counted.
Converted<std::string> Run(Descriptor& cd, Input kind, std::string_view in,
                           std::string_view replacement) {
  Converted<std::string> result;
  result.text.reserve(in.size() + in.size() / 2);
  if (!cd.ok()) {
    // No converter available: keep ASCII, replace everything else. The
    // loss is counted, so callers still report it.
    const std::size_t unit = kind == Input::Utf16 ? 2 : 1;
    for (std::size_t i = 0; i + unit <= in.size(); i += unit) {
      unsigned value = static_cast<unsigned char>(in[i]);
      if (unit == 2) {
        char16_t u;
        std::memcpy(&u, in.data() + i, 2);
        value = u;
      }
      if (value < 0x80) {
        result.text.push_back(static_cast<char>(value));
      } else {
        result.text.append(replacement);
        ++result.lost;
      }
    }
    return result;
  }

  iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);  // initial state
  char* inp = const_cast<char*>(in.data());
  std::size_t inLeft = in.size();
  char buffer[4096];
  while (inLeft > 0) {
    char* outp = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t rc = iconv(cd.get(), &inp, &inLeft, &outp, &outLeft);
    const int error = errno;
    result.text.append(buffer, static_cast<std::size_t>(outp - buffer));
    if (rc != static_cast<std::size_t>(-1)) break;
    if (error == E2BIG) continue;
    // EILSEQ (cannot convert / invalid input) or EINVAL (incomplete at the
    // end); anything else is treated the same way so the loop always moves.
    result.text.append(replacement);
    ++result.lost;
    const std::size_t skip = std::clamp<std::size_t>(SkipLength(kind, inp, inLeft), 1, inLeft);
    inp += skip;
    inLeft -= skip;
    iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
  }
  char* outp = buffer;
  std::size_t outLeft = sizeof buffer;
  iconv(cd.get(), nullptr, nullptr, &outp, &outLeft);  // flush any state
  result.text.append(buffer, static_cast<std::size_t>(outp - buffer));
  return result;
}

}  // namespace

Converted<std::string> GbkToUtf8(std::string_view gbk) {
  if (IsAscii(gbk)) return {std::string(gbk), 0};
  return Run(GbkToUtf8Cd(), Input::Gbk, gbk, kReplacementUtf8);
}

Converted<std::string> Utf8ToGbk(std::string_view utf8) {
  if (IsAscii(utf8)) return {std::string(utf8), 0};
  return Run(Utf8ToGbkCd(), Input::Utf8, utf8, kReplacementGbk);
}

Converted<std::string> Utf16ToGbk(std::u16string_view utf16) {
  const bool ascii = std::all_of(utf16.begin(), utf16.end(),
                                 [](char16_t c) { return c < 0x80; });
  if (ascii) {
    std::string out(utf16.size(), '\0');
    std::transform(utf16.begin(), utf16.end(), out.begin(),
                   [](char16_t c) { return static_cast<char>(c); });
    return {std::move(out), 0};
  }
  const std::string_view bytes(reinterpret_cast<const char*>(utf16.data()),
                               utf16.size() * sizeof(char16_t));
  return Run(Utf16ToGbkCd(), Input::Utf16, bytes, kReplacementGbk);
}

Converted<QString> GbkToQStringCounted(std::string_view gbk) {
  Converted<std::string> utf8 = GbkToUtf8(gbk);
  return {QString::fromUtf8(utf8.text.data(), static_cast<qsizetype>(utf8.text.size())),
          utf8.lost};
}

Converted<std::string> QStringToGbkCounted(const QString& text) {
  return Utf16ToGbk(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                        static_cast<std::size_t>(text.size())));
}

QString GbkToQString(std::string_view gbk) { return GbkToQStringCounted(gbk).text; }

std::string QStringToGbk(const QString& text) { return QStringToGbkCounted(text).text; }

}  // namespace mirel

namespace mirel {

char32_t GbkPairToCodePoint(unsigned char lead, unsigned char trail) {
  if (lead < 0x81 || lead == 0xFF || trail < 0x40 || trail == 0x7F || trail == 0xFF) return 0xFFFD;
  // One row of 256 code points per lead byte, filled the first time the row
  // is asked for; measuring asks for the same characters over and over.
  static std::array<std::atomic<std::array<char32_t, 256>*>, 256> rows{};
  static std::mutex mutex;
  std::array<char32_t, 256>* row = rows[lead].load(std::memory_order_acquire);
  if (!row) {
    std::lock_guard lock(mutex);
    row = rows[lead].load(std::memory_order_relaxed);
    if (!row) {
      auto fresh = std::make_unique<std::array<char32_t, 256>>();
      fresh->fill(0xFFFD);
      for (int t = 0x40; t < 0xFF; ++t) {
        if (t == 0x7F) continue;
        const char pair[2] = {static_cast<char>(lead), static_cast<char>(t)};
        const Converted<QString> c = GbkToQStringCounted(std::string_view(pair, 2));
        const QList<uint> ucs4 = c.text.toUcs4();
        if (c.lost == 0 && ucs4.size() == 1) (*fresh)[t] = static_cast<char32_t>(ucs4.front());
      }
      row = fresh.release();   // kept for the life of the process
      rows[lead].store(row, std::memory_order_release);
    }
  }
  return (*row)[trail];
}

}  // namespace mirel
