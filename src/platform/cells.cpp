#include "platform/cells.h"

#include <algorithm>

namespace mirel {
namespace {

constexpr unsigned char Upper(unsigned char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

// Cell equality as the search sees it.
bool SameCell(Cell a, Cell b, bool matchCase) {
  if (a.second != b.second) return false;
  if (a.first == b.first) return true;
  if (matchCase || !a.IsSingleByte() || !b.IsSingleByte()) return false;
  return Upper(a.first) == Upper(b.first);
}

}  // namespace

Cell CellAt(std::string_view cells, std::size_t index) {
  const std::size_t at = index * 2;
  if (index >= CellCount(cells)) return {};
  Cell cell;
  cell.first = static_cast<unsigned char>(cells[at]);
  cell.second = at + 1 < cells.size() ? static_cast<unsigned char>(cells[at + 1]) : 0;
  return cell;
}

std::string NormaliseCells(std::string_view cells) {
  std::string out(cells);
  if (out.size() % 2 != 0) out.push_back('\0');
  return out;
}

std::string ToCells(std::string_view text, bool allSingle) {
  std::string out;
  out.reserve(text.size() * 2);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    out.push_back(c);
    if (!allSingle && IsLeadByte(static_cast<unsigned char>(c)) && i + 1 < text.size()) {
      out.push_back(text[++i]);
    } else {
      out.push_back('\0');
    }
  }
  return out;
}

std::string FromCells(std::string_view cells, bool singleByteSentence) {
  std::string out;
  out.reserve(cells.size());
  if (singleByteSentence) {
    for (std::size_t i = 0; i < cells.size(); i += 2) out.push_back(cells[i]);
    return out;
  }
  ForEachCell(cells, [&](Cell cell, std::size_t) {
    out.push_back(static_cast<char>(cell.first));
    if (!cell.IsSingleByte() && cell.second != 0) out.push_back(static_cast<char>(cell.second));
  });
  return out;
}

bool IsSingleByteText(std::string_view cells) {
  if (CellAt(cells, 0).IsParagraphMark()) cells.remove_prefix(std::min<std::size_t>(2, cells.size()));
  if (cells.empty()) return true;
  const auto first = static_cast<unsigned char>(cells[0]);
  return first >= 0x20 && first <= 0x7F;
}

std::string FoldCase(std::string_view cells) {
  std::string out(cells);
  for (std::size_t i = 0; i < out.size(); i += 2) {
    const auto c = static_cast<unsigned char>(out[i]);
    if (c < 0x80) out[i] = static_cast<char>(Upper(c));
  }
  return out;
}

std::size_t FindCells(std::string_view haystack, std::string_view needle, std::size_t from,
                      bool matchCase) {
  const std::size_t needleCells = CellCount(needle);
  const std::size_t hayCells = CellCount(haystack);
  if (needleCells == 0) return kNoCell;
  if (from > haystack.size()) return kNoCell;
  const std::size_t start = (from + 1) / 2;
  if (start + needleCells > hayCells) return kNoCell;
  const Cell head = CellAt(needle, 0);
  for (std::size_t i = start; i + needleCells <= hayCells; ++i) {
    if (!SameCell(CellAt(haystack, i), head, matchCase)) continue;
    std::size_t k = 1;
    while (k < needleCells && SameCell(CellAt(haystack, i + k), CellAt(needle, k), matchCase)) ++k;
    if (k == needleCells) return i * 2;
  }
  return kNoCell;
}

}  // namespace mirel
