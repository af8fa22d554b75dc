// Conversions between document text (GBK, code page 936) and Unicode.
//
// Every conversion of the program goes through these functions so that a
// character GBK cannot hold is handled the same way everywhere: it becomes
// "?" and is counted in `lost`, never silently dropped. Bytes that are not
// valid GBK become U+FFFD and are counted in `lost` as well.
#pragma once

#include <QString>

#include <cstddef>
#include <string>
#include <string_view>

namespace mirel {

// Result of a conversion: the converted text and how many characters (or
// invalid input bytes) could not be represented and were replaced.
template <class Text>
struct Converted {
  Text text;
  std::size_t lost = 0;
};

// GBK bytes -> UTF-8. Invalid or truncated GBK sequences become U+FFFD.
Converted<std::string> GbkToUtf8(std::string_view gbk);

// UTF-8 -> GBK. A character GBK lacks, and every byte of malformed UTF-8,
// becomes "?".
Converted<std::string> Utf8ToGbk(std::string_view utf8);

// GBK bytes -> QString (invalid sequences become U+FFFD).
Converted<QString> GbkToQStringCounted(std::string_view gbk);
// QString -> GBK (unrepresentable characters and lone surrogates become "?").
Converted<std::string> QStringToGbkCounted(const QString& text);

// UTF-16 code units (for example wide strings read from a file) -> GBK.
Converted<std::string> Utf16ToGbk(std::u16string_view utf16);

// The Unicode code point of one double-byte GBK character; U+FFFD for a
// pair that is not a GBK character. Fast: rows are looked up once.
char32_t GbkPairToCodePoint(unsigned char lead, unsigned char trail);

// Shorthands for callers that only want the text. The replacement rules are
// the same; use the counted forms where a loss must be reported.
QString GbkToQString(std::string_view gbk);
std::string QStringToGbk(const QString& text);

}  // namespace mirel
