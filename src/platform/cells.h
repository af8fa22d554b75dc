// Two-byte cells: how the text engine holds characters.
//
// Inside the text engine every character takes exactly two bytes, a cell:
// a double-byte GBK character is its lead and trail byte, a single-byte
// character is the byte followed by 0. "\r",0 is the paragraph mark and
// 0x16,0 the placeholder of an inline object. Offsets into cell text are
// byte offsets and always even.
//
// Odd-length cell text is malformed. These functions never refuse it:
// they read it as if a 0 byte were appended, so the last byte forms one
// cell of its own (byte + 0). NormaliseCells makes that padding explicit.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace mirel {

inline constexpr std::size_t kNoCell = std::string_view::npos;

// A byte of 0x80 or above starts a double-byte character.
constexpr bool IsLeadByte(unsigned char byte) { return byte >= 0x80; }

struct Cell {
  unsigned char first = 0;
  unsigned char second = 0;
  // A cell whose first byte is below 0x80 holds a single-byte character.
  constexpr bool IsSingleByte() const { return first < 0x80; }
  constexpr bool IsParagraphMark() const { return first == '\r' && second == 0; }
};

// Number of cells, counting a trailing odd byte as one cell.
constexpr std::size_t CellCount(std::string_view cells) { return (cells.size() + 1) / 2; }

// Cell `index` (0-based); the missing second byte of an odd tail reads 0.
// An index past the end gives an empty cell {0, 0}.
Cell CellAt(std::string_view cells, std::size_t index);

// Pads odd-length text with one 0 byte.
std::string NormaliseCells(std::string_view cells);

// Calls fn(cell, byteOffset) for every cell in order.
template <class Fn>
void ForEachCell(std::string_view cells, Fn&& fn) {
  const std::size_t count = CellCount(cells);
  for (std::size_t i = 0; i < count; ++i) fn(CellAt(cells, i), i * 2);
}

// Ordinary MBCS (GBK) text -> cells. With allSingle false a byte of 0x80 or
// above takes the following byte with it; a lead byte at the very end is
// emitted as lead + 0. With allSingle true every byte becomes byte + 0.
std::string ToCells(std::string_view text, bool allSingle);

// Cells -> ordinary MBCS text. For a single-byte sentence every byte at an
// even offset is taken. Otherwise a cell below 0x80 gives its first byte and
// a double-byte cell both bytes, except that a lead byte stored as lead + 0
// (a lone lead byte at the end of the text it came from) gives the lead
// byte only, so ToCells/FromCells round-trip and no 0 byte enters the text.
std::string FromCells(std::string_view cells, bool singleByteSentence);

// The sentence classification: a leading paragraph-mark cell is ignored,
// then the text is single-byte when its first byte is 0x20..0x7F; empty
// text counts as single-byte.
bool IsSingleByteText(std::string_view cells);

// Upper-cases ASCII letters in single-byte cells only; the trail byte of a
// double-byte character is never touched, even when it equals a letter.
std::string FoldCase(std::string_view cells);

// Finds `needle` in `haystack` (both cell text) at or after byte offset
// `from`, matching only at cell boundaries; an odd `from` is rounded up to
// the next cell. Unless matchCase, ASCII letters compare without case, in
// single-byte cells only. Returns the byte offset of the match or kNoCell;
// an empty needle finds nothing.
std::size_t FindCells(std::string_view haystack, std::string_view needle, std::size_t from,
                      bool matchCase);

}  // namespace mirel
