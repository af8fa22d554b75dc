// Formatted text pasted from the clipboard ("Mirel FormatText"): any bytes
// are read or refused whole, and what is read writes back.
#include "text/format_text.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<mirel::FormatRun> runs;
    if (mirel::ReadFormatText(std::string_view(reinterpret_cast<const char*>(data), size), runs)) {
        std::vector<mirel::FormatRun> again;
        if (!mirel::ReadFormatText(mirel::WriteFormatText(runs), again))
            __builtin_trap();
    }
    return 0;
}
