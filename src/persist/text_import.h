#pragma once
// Importing a plain-text file into a text column.
//
// The whole file is read at once (bounded by kMaxTextImportBytes), so a
// double-byte character is never split between two reads. Without a
// byte-order mark the file is GBK; a UTF-8 or UTF-16 byte-order mark makes
// it that encoding instead (converted to GBK, a character GBK lacks becomes
// "?"). Line ends (CR LF, LF, CR) become paragraph marks; zero bytes and
// other control characters except the tab are dropped; a byte that cannot
// start or end a GBK character becomes "?".
#include "persist/native_file.h"

#include <cstddef>
#include <string>
#include <string_view>

class CMirelData;
class CTextObj;

namespace mirel {

// Largest text file imported.
inline constexpr std::size_t kMaxTextImportBytes = std::size_t(16) << 20;

enum class TextEncoding { Gbk, Utf8, Utf16LE, Utf16BE };

struct DecodedText {
    std::string cells;        // two-byte cells, "\r",0 between paragraphs
    TextEncoding encoding = TextEncoding::Gbk;
    std::size_t replaced = 0; // characters that became "?"
};

// The file's bytes as cell text ready for insertion.
DecodedText DecodeTextForImport(std::string_view bytes);

// Reads the whole of a regular file of at most `maxBytes` bytes.
FileOutcome ReadTextFile(const std::string& path, std::string& bytes, std::size_t maxBytes = kMaxTextImportBytes);

// The text column a new document's caret stands in: the first of the flow
// of the first work form (null when it has none).
CTextObj* FirstTextColumn(const CMirelData& doc);

// Reads `path` and inserts its text at the caret of `column`, which then
// stands after the text, and lays the column (its flow) out again. On
// failure the column is untouched and the outcome says why.
FileOutcome ImportText(CTextObj& column, const std::string& path);

}  // namespace mirel
