#pragma once
// Building expected byte sequences in tests: little-endian values, counted
// strings and hex dumps for readable failure messages.
#include <cstdint>
#include <string>
#include <string_view>

namespace mirel::test {

class Bytes {
public:
    Bytes& u8(uint8_t v)
    {
        s_.push_back(static_cast<char>(v));
        return *this;
    }
    Bytes& u16(uint16_t v) { return u8(v & 0xFF).u8(v >> 8); }
    Bytes& u32(uint32_t v) { return u16(v & 0xFFFF).u16(v >> 16); }
    Bytes& i32(int32_t v) { return u32(static_cast<uint32_t>(v)); }
    Bytes& raw(std::string_view b)
    {
        s_.append(b);
        return *this;
    }
    Bytes& str(std::string_view b)   // counted string, short form
    {
        return u8(static_cast<uint8_t>(b.size())).raw(b);
    }
    Bytes& rect(int l, int t, int r, int b) { return i32(l).i32(t).i32(r).i32(b); }
    Bytes& newClass(uint16_t schema, std::string_view name)
    {
        return u16(0xFFFF).u16(schema).u16(static_cast<uint16_t>(name.size())).raw(name);
    }
    const std::string& str() const { return s_; }
    operator const std::string&() const { return s_; }

private:
    std::string s_;
};

inline std::string Hex(std::string_view b)
{
    static const char* digits = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : b) {
        out += digits[c >> 4];
        out += digits[c & 15];
        out += ' ';
    }
    return out;
}

}  // namespace mirel::test
