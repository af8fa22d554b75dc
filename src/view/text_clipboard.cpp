#include "view/text_clipboard.h"

#include "model/basic_obj.h"
#include "model/work_form.h"
#include "platform/cells.h"
#include "platform/gbk.h"
#include "platform/prompt.h"
#include "text/format_text.h"
#include "view/table_view.h"
#include "view/text_flow.h"
#include "view/text_tool.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <memory>
#include <vector>

namespace mirel {

namespace {

// Paste takes no more than this from the clipboard.
constexpr qsizetype kMaxClipboardBytes = 64 * 1024 * 1024;

std::string PlainText(const std::string& cells)
{
    // Paragraph marks become line ends.
    std::string out;
    std::string part;
    ForEachCell(cells, [&](Cell c, size_t) {
        if (c.IsParagraphMark()) {
            out += FromCells(part, false) + "\r\n";
            part.clear();
            return;
        }
        if (c.first == 0x16 && c.second == 0)
            return; // inline objects have no text
        part.push_back(static_cast<char>(c.first));
        part.push_back(static_cast<char>(c.second));
    });
    return out + FromCells(part, false);
}

} // namespace

std::string FormatTextBytes(CTableView& view, int from, int to)
{
    CWorkForm* wf = view.GetWorkForm();
    if (!wf)
        return {};
    return WriteFormatText(BodyFlow(*wf).Runs(from, to));
}

bool CopyText(CTableView& view, CTextTool& tool)
{
    CWorkForm* wf = view.GetWorkForm();
    if (!wf || !tool.HasSelection())
        return false;
    const std::string bytes = FormatTextBytes(view, tool.SelectionStart(), tool.SelectionEnd());
    auto data = std::make_unique<QMimeData>();
    data->setData(kFormatTextMime, QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    const std::string plain = PlainText(tool.SelectedCells(view));
    if (!plain.empty())
        data->setText(GbkToQString(plain));
    QGuiApplication::clipboard()->setMimeData(data.release());
    return true;
}

bool CutText(CTableView& view, CTextTool& tool)
{
    if (!CopyText(view, tool))
        return false;
    tool.DeleteSelection(view);
    return true;
}

bool ClipboardOffersText()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && (data->hasFormat(kFormatTextMime) || data->hasText());
}

bool PasteMimeData(CTableView& view, CTextTool& tool, const QMimeData& data)
{
    std::vector<FlowRun> runs;
    if (data.hasFormat(kFormatTextMime)) {
        const QByteArray bytes = data.data(kFormatTextMime);
        if (bytes.size() <= kMaxClipboardBytes
            && ReadFormatText(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), runs)
            && !runs.empty()) {
            tool.ReplaceWithRuns(view, tool.SelectionStart(), tool.SelectionEnd(), runs);
            return true;
        }
    }
    if (!data.hasText())
        return false;
    QString text = data.text();
    if (text.size() > kMaxClipboardBytes / 2)
        text.truncate(kMaxClipboardBytes / 2);
    // Line ends become paragraph marks, a tab four spaces, other control
    // characters go.
    QString clean;
    clean.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            clean.append(u'\r');
        } else if (c == u'\t') {
            clean.append(QStringLiteral("    "));
        } else if (c.unicode() >= 0x20 && c.unicode() != 0x7F) {
            clean.append(c);
        }
    }
    if (clean.isEmpty())
        return false;
    const Converted<std::string> gbk = QStringToGbkCounted(clean);
    tool.ReplaceRange(
        view, tool.SelectionStart(), tool.SelectionEnd(), ToCells(gbk.text, false), tool.TypingAttributes());
    if (gbk.lost > 0)
        ShowComponentMessage(
            "有 " + std::to_string(gbk.lost) + " 个字符无法保存为 GBK 文字，已换成“?”。", PromptIcon::Information);
    return true;
}

bool PasteText(CTableView& view, CTextTool& tool)
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && PasteMimeData(view, tool, *data);
}

} // namespace mirel
