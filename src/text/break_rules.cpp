#include "text/break_rules.h"

#include "platform/gbk.h"

#include <array>
#include <cstdint>

namespace mirel {

namespace {

// One bit per cell value: single-byte cells by their byte, double-byte ones
// by lead and trail byte.
class CellSet {
public:
    explicit CellSet(std::string_view utf8)
    {
        const std::string gbk = Utf8ToGbk(utf8).text;
        for (size_t i = 0; i < gbk.size(); ++i) {
            const auto b = static_cast<unsigned char>(gbk[i]);
            if (b >= 0x80 && i + 1 < gbk.size()) {
                Add(b, static_cast<unsigned char>(gbk[++i]));
            } else {
                Add(b, 0);
            }
        }
    }
    bool Has(unsigned char first, unsigned char second) const
    {
        const unsigned index = first * 256u + second;
        return (bits_[index / 64] >> (index % 64)) & 1u;
    }

private:
    void Add(unsigned char first, unsigned char second)
    {
        const unsigned index = first * 256u + second;
        bits_[index / 64] |= uint64_t{1} << (index % 64);
    }
    std::array<uint64_t, 65536 / 64> bits_{};
};

}  // namespace

bool MayNotStartRow(unsigned char first, unsigned char second)
{
    static const CellSet set("!,.:;?%)]}、。’”〕〉》」』〗】！，．：；？）］｝");
    return set.Has(first, second);
}

bool MayNotEndRow(unsigned char first, unsigned char second)
{
    static const CellSet set("([{‘“〔〈《「『〖【（［｛");
    return set.Has(first, second);
}

}  // namespace mirel
