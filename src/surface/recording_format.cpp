// Text forms of the values a RecordingSurface writes down.

#include "surface/recording_surface.h"

#include <charconv>

namespace mirel::rec {

std::string num(long long v)
{
    char buf[24];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, res.ptr);
}

std::string pt(QPoint p)
{
    return num(p.x()) + ',' + num(p.y());
}

std::string box(const Box& b)
{
    return num(b.left) + ',' + num(b.top) + ',' + num(b.right) + ',' + num(b.bottom);
}

std::string color(ColorRef c)
{
    char buf[16] = "0x";
    auto res = std::to_chars(buf + 2, buf + sizeof buf, static_cast<unsigned long>(c), 16);
    std::string hex(buf + 2, res.ptr);
    for (char& ch : hex)
        if (ch >= 'a' && ch <= 'f')
            ch = static_cast<char>(ch - 'a' + 'A');
    if (hex.size() < 6)
        hex.insert(0, 6 - hex.size(), '0');
    return "0x" + hex;
}

std::string quoted(QStringView s)
{
    const QByteArray utf8 = s.toUtf8();
    std::string out = "\"";
    for (char ch : utf8) {
        if (ch == '"' || ch == '\\')
            out += '\\';
        if (ch == '\n') {
            out += "\\n";
            continue;
        }
        out += ch;
    }
    out += '"';
    return out;
}

std::string pen(const Pen& p)
{
    return num(p.style) + ' ' + num(p.width) + ' ' + color(p.color);
}

std::string brush(const Brush& b)
{
    switch (b.kind) {
    case Brush::Kind::Hollow: return "hollow";
    case Brush::Kind::Solid: return "solid " + color(b.color);
    case Brush::Kind::Hatched: return "hatch " + num(b.hatch) + ' ' + color(b.color);
    case Brush::Kind::Pattern:
        return "pattern " + num(b.pattern.width()) + 'x' + num(b.pattern.height());
    }
    return "?";
}

std::string region(const Region& r)
{
    std::string out = "[";
    bool first = true;
    for (const Box& b : r.rects()) {
        if (!first)
            out += ' ';
        out += box(b);
        first = false;
    }
    return out + ']';
}

std::string points(std::span<const QPoint> pts)
{
    std::string out;
    for (const QPoint& p : pts) {
        if (!out.empty())
            out += ' ';
        out += pt(p);
    }
    return out;
}

std::string bltOp(BltOp op)
{
    switch (op) {
    case BltOp::Copy: return "copy";
    case BltOp::Xor: return "xor";
    case BltOp::And: return "and";
    case BltOp::Or: return "or";
    case BltOp::InvertDest: return "invert";
    case BltOp::Blackness: return "black";
    case BltOp::Whiteness: return "white";
    }
    return "?";
}

}  // namespace mirel::rec
