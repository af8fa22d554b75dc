// Drawing text objects, rows and sentences through the drawing surface.
// Positions come from the layout (0.1 mm) and the cell advances (0.01 mm),
// converted to device pixels from absolute page positions, so what is
// drawn matches what was laid out on every device and at every zoom.
#include "model/table_page.h"
#include "model/view_context.h"
#include "platform/cells.h"
#include "platform/gbk.h"
#include "platform/muldiv.h"
#include "surface/surface.h"
#include "text/sentence.h"
#include "text/text_measure.h"
#include "text/text_obj.h"
#include "text/text_row.h"

#include <QString>

#include <algorithm>
#include <climits>
#include <memory>
#include <vector>

namespace mirel {

namespace {

// 0.01 mm on the page to device pixels at the view's zoom.
int Px100(const ViewContext& view, long long hundredths)
{
    const long long num = hundredths * view.ZoomPercent() * view.DpiY();
    constexpr long long den = 254000;
    const long long q = num >= 0 ? (num + den / 2) / den : -((-num + den / 2) / den);
    return static_cast<int>(std::clamp<long long>(q, INT_MIN / 2, INT_MAX / 2));
}

int Px(const ViewContext& view, long long tenths)
{
    return Px100(view, tenths * 10);
}

// One cell as the character drawn for it.
char16_t CellChar(unsigned char first, unsigned char second)
{
    if (first < 0x80)
        return (first < 0x20 || first == 0x7F) ? u' ' : static_cast<char16_t>(first);
    const char32_t c = GbkPairToCodePoint(first, second);
    return c > 0xFFFF ? u'\uFFFD' : static_cast<char16_t>(c);
}

const QString& FaceName(const std::string& gbk)
{
    static std::string lastGbk;
    static QString last = GbkToQString(lastGbk);
    if (gbk != lastGbk) {
        lastGbk = gbk;
        last = GbkToQString(gbk);
    }
    return last;
}

const CTablePage* PageOf(const CBasicObj& obj)
{
    const CBasicObj* top = &obj;
    while (top->GetParent())
        top = top->GetParent();
    if (const CTablePage* page = DynamicCast<CTablePage>(top))
        return page;
    return top->GetPage();
}

struct DrawContext {
    ViewContext& view;
    Surface& dc;
    Point origin;   // the page's top-left in device pixels
    bool black = false;
};

// Everything of one sentence's drawing that depends on where it stands.
struct SentencePlace {
    long long left = 0;   // absolute on the page, 0.1 mm
    long long top = 0;
    bool hangs = false;   // trailing spaces count 0
};

int X(const DrawContext& c, long long tenths) { return c.origin.x + Px(c.view, tenths); }
int Y(const DrawContext& c, long long tenths) { return c.origin.y + Px(c.view, tenths); }

void DrawSentenceAt(const CSentence& s, const DrawContext& c, const SentencePlace& at)
{
    const std::string& text = s.GetText();
    if (text.empty())
        return;
    const SentenceAttributes& a = s.Attributes();
    const Rect r = s.GetRect();
    const long long left = at.left;
    const long long top = at.top;
    const long long width = r.Width();
    const long long height = r.Height();
    if (a.backColor != 0xFFFFFF && !s.IsBareMark())
        c.dc.fillRect({X(c, left), Y(c, top), X(c, left + width), Y(c, top + height)}, Brush::solid(a.backColor));
    if (CBasicObj* follow = s.FollowObj()) {
        follow->Draw(c.view, c.dc);
        return;
    }

    // The characters after a leading paragraph mark.
    const size_t begin = s.StartsParagraph() ? 2 : 0;
    const size_t count = (text.size() - begin) / 2;
    if (count == 0)
        return;
    const bool single = s.IsSingleByte();
    const bool script = a.senType == 1 || a.senType == 2;

    FontSpec font;
    int em = (ClampedSize(SizeToHundredthsMm(a.sizeCode)) + 5) / 10;
    if (script)
        em = MulDiv(em, 75, 100);
    const int pixels = std::max(3, Px(c.view, em));
    font.height = -pixels;
    font.weight = a.weight;
    font.italic = a.italic != 0;
    font.underline = a.underline != 0;
    font.strikeOut = a.strikeOut != 0;
    font.charSet = single ? CharSet::Ansi : CharSet::GB2312;
    font.faceName = FaceName(a.faceName);
    const int scale = a.scale <= 0 ? 100 : std::min(a.scale, 1000);
    if (scale != 100) {
        if (single)
            font.width = std::max(1, MulDiv(c.dc.metricsProvider().metrics(font).averageWidth, scale, 100));
        else
            font.width = std::max(1, MulDiv(pixels, scale, 200));
    }
    c.dc.setFont(font);
    const ColorRef color = c.black ? 0 : a.color;

    // Advances in 0.01 mm, spread over the gaps when layout widened the run.
    const TextMeasure m(a);
    std::vector<int> natural(count);
    std::vector<unsigned char> firsts(count), seconds(count);
    long long sum = 0;
    for (size_t i = 0; i < count; ++i) {
        firsts[i] = static_cast<unsigned char>(text[begin + 2 * i]);
        seconds[i] = static_cast<unsigned char>(text[begin + 2 * i + 1]);
        natural[i] = m.CellAdvance(firsts[i], seconds[i]);
    }
    if (at.hangs)
        for (size_t i = count; i > 0 && firsts[i - 1] == 0x20 && seconds[i - 1] == 0; --i)
            natural[i - 1] = 0;
    for (int n : natural)
        sum += n;
    const long long free = width * 10 - sum;
    if (free > 5 && count > 1) {
        std::vector<size_t> gaps;
        for (size_t i = 0; i + 1 < count; ++i)
            if (firsts[i] >= 0x80 || firsts[i + 1] >= 0x80 || firsts[i] == 0x20)
                gaps.push_back(i);
        if (!gaps.empty()) {
            const long long each = free / static_cast<long long>(gaps.size());
            for (size_t g = 0; g < gaps.size(); ++g)
                natural[gaps[g]] +=
                    static_cast<int>(g + 1 == gaps.size() ? free - each * static_cast<long long>(gaps.size() - 1) : each);
        }
    }
    QString chars(static_cast<qsizetype>(count), QChar(u' '));
    std::vector<int> advances(count);
    long long cum = left * 10;
    int previous = c.origin.x + Px100(c.view, cum);
    const int x0 = previous;
    for (size_t i = 0; i < count; ++i) {
        chars[static_cast<qsizetype>(i)] = QChar(CellChar(firsts[i], seconds[i]));
        cum += natural[i];
        const int next = c.origin.x + Px100(c.view, cum);
        advances[i] = next - previous;
        previous = next;
    }
    int y = Y(c, top);
    if (single)
        y -= c.dc.textMetrics().internalLeading;

    const int h = std::max(1, Px(c.view, height));
    auto plain = [&](int dx, int dy, ColorRef col) {
        c.dc.setTextColor(col);
        c.dc.textOut({x0 + dx, y + dy}, chars, advances);
    };
    switch (a.effect) {
    case 1: {   // shadow
        const int sh = std::max(2, h / 18);
        plain(sh, sh, 0xC0C0C0);
        plain(0, 0, color);
        break;
    }
    case 2: {   // raised: each glyph in stepped layers, the top one white
        const int d = std::max(5, (pixels / 20) * 3);
        const Pen pen = c.dc.setPen(Pen{LineStyle::Solid, 1, color});
        const Brush brush = c.dc.brush();
        int x = x0;
        for (size_t i = 0; i < count; ++i) {
            const QString one(chars[static_cast<qsizetype>(i)]);
            const int adv[] = {advances[i]};
            for (int k = d - 1; k >= 0; --k) {
                c.dc.setBrush(Brush::solid(k == 0 ? 0xFFFFFF : color));
                c.dc.beginPath();
                c.dc.textOut({x + k, y + k}, one, adv);
                c.dc.endPath();
                c.dc.strokeAndFillPath();
            }
            x += advances[i];
        }
        c.dc.setBrush(brush);
        c.dc.setPen(pen);
        break;
    }
    case 3: {   // hollow
        const Pen pen = c.dc.setPen(Pen{LineStyle::Solid, 1, color});
        c.dc.beginPath();
        c.dc.textOut({x0, y}, chars, advances);
        c.dc.endPath();
        c.dc.strokePath();
        c.dc.setPen(pen);
        break;
    }
    case 4:
    case 5:
    case 6:
    case 7: {   // embossed (down-right shade) and engraved (up-left shade)
        const int n = std::max(1, h / 50);
        const ColorRef shade = (a.effect == 4 || a.effect == 6) ? 0xAAAAAA : 0x000000;
        const int sign = a.effect <= 5 ? 1 : -1;
        for (int k = n; k >= 1; --k)
            plain(sign * k, sign * k, shade);
        plain(0, 0, color);
        break;
    }
    default: plain(0, 0, color); break;
    }
}

// Where the text object stands on its page, 0.1 mm.
Rect AbsoluteRect(const CBasicObj& obj)
{
    return obj.GetPageRect();
}

void DrawRowAt(const CTextRow& row, const DrawContext& c, long long objLeft, long long objTop)
{
    const Rect rr = row.GetRect();
    const bool hangs = (row.flag & CTextRow::kHangingSpaces) != 0;
    const int n = row.SentenceCount();
    for (int i = n - 1; i >= 0; --i) {
        const CSentence& s = *row.GetSentence(i);
        const Rect sr = s.GetRect();
        SentencePlace at;
        at.left = objLeft + rr.left + sr.left;
        at.top = objTop + rr.top + sr.top;
        at.hangs = hangs && i == n - 1;
        DrawSentenceAt(s, c, at);
    }
}

DrawContext MakeContext(const CBasicObj& obj, ViewContext& view, Surface& dc)
{
    const bool printing = dc.isPrinting() || view.IsPrinting() || view.IsPreviewing();
    return DrawContext{view, dc, view.PageOrigin(PageOf(obj)), printing && view.PrintsTextInBlack()};
}

}  // namespace

}  // namespace mirel

using namespace mirel;

void CSentence::Draw(ViewContext& view, Surface& dc) const
{
    const DrawContext c = MakeContext(*this, view, dc);
    const Rect abs = AbsoluteRect(*this);
    SentencePlace at{abs.left, abs.top, false};
    if (const CTextRow* row = DynamicCast<CTextRow>(GetParent()))
        at.hangs = (row->flag & CTextRow::kHangingSpaces) && row->SentenceCount() > 0 &&
                   row->GetSentence(row->SentenceCount() - 1) == this;
    const BkMode mode = dc.setBkMode(BkMode::Transparent);
    DrawSentenceAt(*this, c, at);
    dc.setBkMode(mode);
}

void CTextRow::Draw(ViewContext& view, Surface& dc) const
{
    const DrawContext c = MakeContext(*this, view, dc);
    const Rect abs = AbsoluteRect(*this);
    const BkMode mode = dc.setBkMode(BkMode::Transparent);
    DrawRowAt(*this, c, abs.left - GetRect().left, abs.top - GetRect().top);
    dc.setBkMode(mode);
}

void CTextObj::Draw(ViewContext& view, Surface& dc) const
{
    const DrawContext c = MakeContext(*this, view, dc);
    const Rect abs = AbsoluteRect(*this);
    const bool screen = !dc.isPrinting() && !view.IsPrinting() && !view.IsPreviewing();

    if (!attrs_.objName.empty() && view.ShowsObjectNames() && screen && IsTextEmpty()) {
        // An empty named object shows its name in grey, and nothing else.
        FontSpec font;
        font.height = -std::max(3, Px(view, 43));
        font.faceName = FaceName(kDefaultFace);
        const FontSpec old = dc.setFont(font);
        const ColorRef color = dc.setTextColor(0xC0C0C0);
        const BkMode mode = dc.setBkMode(BkMode::Transparent);
        const unsigned align = dc.setTextAlign(TextAlign::Center | TextAlign::Top);
        const QString name = GbkToQString(attrs_.objName);
        const int h = dc.textMetrics().height;
        dc.textOut({X(c, abs.left + abs.Width() / 2), Y(c, abs.top + abs.Height() / 2) - h / 2}, name);
        dc.setTextAlign(align);
        dc.setBkMode(mode);
        dc.setTextColor(color);
        dc.setFont(old);
        CBasicObj::Draw(view, dc);
        return;
    }

    // Rows are clipped to the inner width; body text to its column, other
    // text objects to their height or the last row, whichever is lower.
    const int width = abs.Width();
    const int height = abs.Height();
    int clipBottom = height;
    if (flowIndex_ < 0 && !rows_.empty())
        clipBottom = std::max(height, rows_.back()->GetBottom());
    const Box clip{X(c, abs.left + attrs_.leftMargin), Y(c, abs.top), X(c, abs.left + width - attrs_.rightMargin),
                   Y(c, abs.top + clipBottom)};
    dc.saveState();
    dc.intersectClipRect(clip);
    dc.setBkMode(BkMode::Transparent);
    const Box visible = dc.clipBox();
    for (const auto& row : rows_) {
        const Rect rr = row->GetRect();
        const int h = rr.Height();
        const Box box{X(c, abs.left + rr.left - h), Y(c, abs.top + rr.top - h), X(c, abs.left + rr.right + h),
                      Y(c, abs.top + rr.bottom + h)};
        if (box.bottom < visible.top || box.top > visible.bottom)
            continue;
        DrawRowAt(*row, c, abs.left, abs.top);
    }
    if (attrs_.rowLine) {
        const Pen pen = dc.setPen(Pen{LineStyle::Solid, 1, attrs_.rowLineColor});
        const int x0 = X(c, abs.left + attrs_.leftMargin);
        const int x1 = X(c, abs.left + width - attrs_.rightMargin);
        int last = -1;
        for (const auto& row : rows_) {
            const int b = row->GetBottom();
            if (b > height)
                continue;
            const int y = Y(c, abs.top + b) + 1;
            dc.moveTo({x0, y});
            dc.lineTo({x1, y});
            last = std::max(last, b);
        }
        const int pitch = (ClampedSize(SizeToHundredthsMm(typing_.sizeCode)) + 5) / 10 + defaultPara_.lineSpace;
        if (pitch > 0) {
            for (long long b = (last < 0 ? attrs_.topMargin : last) + pitch; b <= height; b += pitch) {
                const int y = Y(c, abs.top + b) + 1;
                dc.moveTo({x0, y});
                dc.lineTo({x1, y});
            }
        }
        dc.setPen(pen);
    }
    dc.restoreState();
    CBasicObj::Draw(view, dc);
}
