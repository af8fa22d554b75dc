// Fuzzes the decoding of imported text files and their insertion into a
// text column: no crash, and the cells handed to the text engine are whole
// cells of printable GBK, tabs and paragraph marks only.
#include "model/mirel_data.h"
#include "persist/text_import.h"
#include "text/text_edit.h"
#include "text/text_obj.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 16384)
        return 0;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const mirel::DecodedText text = mirel::DecodeTextForImport(input);
    const std::string& cells = text.cells;
    if (cells.size() % 2)
        std::abort();
    for (std::size_t i = 0; i < cells.size(); i += 2) {
        const auto a = static_cast<unsigned char>(cells[i]);
        const auto b = static_cast<unsigned char>(cells[i + 1]);
        if (a < 0x80) {
            if (b != 0 || (a < 0x20 && a != '\t' && a != '\r'))
                std::abort();
        } else if (a < 0x81 || a > 0xFE || b < 0x40 || b > 0xFE || b == 0x7F) {
            std::abort();
        }
    }
    CMirelData doc;
    if (CTextObj* column = mirel::FirstTextColumn(doc)) {
        mirel::InsertCells(*column, column->caret, cells, column->TypingAttributes());
        mirel::Relayout(*column);
    }
    return 0;
}
