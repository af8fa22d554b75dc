// CTextTool: formatting, auto commands and the quick menu, and the commands
// that text editing adds to a view.
#include "model/basic_obj.h"
#include "model/mirel_data.h"
#include "model/table_page.h"
#include "model/work_form.h"
#include "platform/cells.h"
#include "platform/gbk.h"
#include "platform/prompt.h"
#include "text/sentence.h"
#include "text/text_edit.h"
#include "text/text_row.h"
#include "view/command_ids.h"
#include "view/find_dialog.h"
#include "view/paragraph_dialog.h"
#include "view/table_view.h"
#include "view/text_clipboard.h"
#include "view/text_flow.h"
#include "view/text_geometry.h"
#include "view/text_tool.h"
#include "view/undo_actions.h"
#include "view/undo_manager.h"

#include <QMenu>
#include <functional>
#include <optional>

using mirel::BodyFlow;
using mirel::FlowPlace;

namespace {

bool IsParagraphCode(int code)
{
    return code == mirel::kAttrVerAlignment || code == mirel::kAttrAlignment || code == mirel::kAttrLineSpace
        || code == mirel::kAttrFirstLineIndent;
}

// Applies fn(obj, from, to) to each object's share of [a, b].
template <class Fn> void ForEachObjectPart(const BodyFlow& flow, int a, int b, Fn&& fn)
{
    const auto& objects = flow.Objects();
    for (int i = 0; i < static_cast<int>(objects.size()); ++i) {
        const int s = flow.ObjectStart(i);
        const int e = flow.ObjectStart(i + 1);
        if (s > b)
            break;
        if (e < a || (e == a && a != b))
            continue;
        CTextObj& obj = *objects[i];
        fn(obj, obj.OffsetToPosition(std::max(a, s) - s), obj.OffsetToPosition(std::min(b, e) - s));
        if (a == b)
            break;
    }
}

// The body text of a view's work form when its document may be formatted.
std::optional<BodyFlow> FormattableFlow(CTableView& view)
{
    CWorkForm* wf = view.GetWorkForm();
    const CMirelData* doc = view.GetDocumentData();
    if (!wf || !doc || doc->GetProtectType() == 1)
        return std::nullopt;
    BodyFlow flow(*wf);
    if (flow.Empty())
        return std::nullopt;
    return flow;
}

} // namespace

bool CTextTool::SetFormatByCode(CTableView& view, int code, const mirel::AttrValue& value)
{
    std::optional<BodyFlow> formattable = FormattableFlow(view);
    if (!formattable)
        return false;
    BodyFlow& flow = *formattable;
    const int a = SelectionStart();
    const int b = SelectionEnd();
    mirel::UndoManager* undo = mirel::UndoManagerOf(view);
    if (IsParagraphCode(code)) {
        if (undo)
            mirel::RecordParagraphAttributes(*undo, mirel::kUndoNewAction, a, b);
        ForEachObjectPart(flow, a, b, [&](CTextObj& obj, mirel::TextPosition from, mirel::TextPosition to) {
            mirel::SetParagraphFormat(obj, from, to, code, value);
        });
    } else {
        mirel::SentenceAttributes probe = typing_;
        if (!probe.Set(code, value))
            return false;
        mirel::AttrValue v = value;
        bool whiteToo = false;
        if (code == mirel::kAttrEffect) {
            // The effect already in place is taken off; 阳文1 on black text
            // turns the text white.
            const CSentence* s = mirel::SentenceAt(flow.Place(HasSelection() ? a + 2 : a));
            const int current = s ? s->Attributes().effect : typing_.effect;
            if (current == value.number)
                v = mirel::AttrValue(0);
            whiteToo = v.number == 4 && (s ? s->Attributes().color : typing_.color) == 0;
        }
        typing_.Set(code, v);
        if (whiteToo)
            typing_.Set(mirel::kAttrColor, 0xFFFFFF);
        if (!HasSelection())
            return true;
        if (undo)
            mirel::RecordTextAttributes(*undo, mirel::kUndoNewAction, a, b);
        ForEachObjectPart(flow, a, b, [&](CTextObj& obj, mirel::TextPosition from, mirel::TextPosition to) {
            mirel::SetCharFormat(obj, from, to, code, v);
            if (whiteToo)
                mirel::SetCharFormat(obj, from, to, mirel::kAttrColor, 0xFFFFFF);
        });
    }
    FinishFormatting(view, flow);
    return true;
}

void CTextTool::FinishFormatting(CTableView& view, BodyFlow& flow)
{
    if (CMirelData* doc = view.GetDocumentData())
        doc->SetModified(true);
    const int anchor = anchor_;
    AfterEdit(view, flow, caret_);
    anchor_ = anchor; // the selection stays
    view.Invalidate(CTableView::kInvalidateAll);
}

mirel::ParagraphAttributes CTextTool::CaretParagraph(CTableView& view) const
{
    CWorkForm* wf = view.GetWorkForm();
    if (!wf)
        return {};
    const BodyFlow flow(*wf);
    const FlowPlace place = mirel::CaretPlace(flow, caret_, caretAtRowStart_);
    const CTextRow* row = place.obj ? place.obj->GetRow(place.pos.row) : nullptr;
    return row ? row->Paragraph() : mirel::ParagraphAttributes {};
}

bool CTextTool::SetParagraph(CTableView& view, const mirel::ParagraphAttributes& para)
{
    std::optional<BodyFlow> formattable = FormattableFlow(view);
    if (!formattable)
        return false;
    BodyFlow& flow = *formattable;
    const int a = SelectionStart();
    const int b = SelectionEnd();
    if (mirel::UndoManager* undo = mirel::UndoManagerOf(view))
        mirel::RecordParagraphAttributes(*undo, mirel::kUndoNewAction, a, b);
    const std::pair<int, int32_t> values[] = { { mirel::kAttrAlignment, para.alignment },
        { mirel::kAttrVerAlignment, para.verAlignment }, { mirel::kAttrLineSpace, para.lineSpace },
        { mirel::kAttrFirstLineIndent, para.firstLineIndent } };
    ForEachObjectPart(flow, a, b, [&](CTextObj& obj, mirel::TextPosition from, mirel::TextPosition to) {
        for (const auto& [code, value] : values)
            mirel::SetParagraphFormat(obj, from, to, code, mirel::AttrValue(value));
    });
    FinishFormatting(view, flow);
    return true;
}

// ---------------------------------------------------------------- auto commands

std::vector<std::string> CTextTool::QuickMenuItems(std::string_view command)
{
    // "MENU(a|b|c)": split on cells, so that a trail byte equal to "|" or a
    // parenthesis inside a Chinese character never splits it.
    std::vector<std::string> items;
    if (command.size() < 4
        || mirel::FoldCase(mirel::ToCells(command.substr(0, 4), false)) != mirel::ToCells("MENU", true))
        return items;
    const std::string cells = mirel::ToCells(command.substr(4), false);
    std::string item;
    auto flush = [&] {
        if (!item.empty())
            items.push_back(mirel::FromCells(item, false));
        item.clear();
    };
    mirel::ForEachCell(cells, [&](mirel::Cell c, size_t) {
        if (c.IsSingleByte() && (c.first == '|' || c.first == '(' || c.first == ')')) {
            flush();
            return;
        }
        item.push_back(static_cast<char>(c.first));
        item.push_back(static_cast<char>(c.second));
    });
    flush();
    return items;
}

namespace {

// The stretch of neighbouring sentences in the caret's object that carry
// the same command as the sentence at `offset`; its paragraph mark stays.
bool CommandRun(const BodyFlow& flow, int offset, int& from, int& to, mirel::SentenceAttributes& attrs)
{
    const FlowPlace place = flow.Place(offset);
    const CSentence* s = mirel::SentenceAt(place);
    if (!s || s->Attributes().autoCommand.empty())
        return false;
    attrs = s->Attributes();
    const std::string& command = attrs.autoCommand;
    // Walk the object's sentences in order, tracking offsets.
    const int objStart = flow.ObjectStart(place.index);
    struct Item {
        const CSentence* s;
        int start;
    };
    std::vector<Item> items;
    int at = objStart;
    int here = -1;
    for (const auto& row : place.obj->Rows())
        for (const auto& sen : row->Sentences()) {
            if (sen.get() == s)
                here = static_cast<int>(items.size());
            items.push_back({ sen.get(), at });
            at += sen->GetTextLength();
        }
    if (here < 0)
        return false;
    int lo = here;
    int hi = here;
    while (lo > 0 && items[lo - 1].s->Attributes().autoCommand == command && !items[lo].s->StartsParagraph())
        --lo;
    while (hi + 1 < static_cast<int>(items.size()) && items[hi + 1].s->Attributes().autoCommand == command
        && !items[hi + 1].s->StartsParagraph())
        ++hi;
    from = items[lo].start + items[lo].s->TextStart();
    to = items[hi].start + items[hi].s->GetTextLength();
    return true;
}

std::function<int(CTableView&, const std::vector<std::string>&, QPoint)>& MenuChooser()
{
    static std::function<int(CTableView&, const std::vector<std::string>&, QPoint)> chooser
        = [](CTableView& view, const std::vector<std::string>& items, QPoint at) {
              QMenu menu(&view);
              for (size_t i = 0; i < items.size(); ++i)
                  menu.addAction(mirel::GbkToQString(items[i]))->setData(static_cast<int>(i));
              const QAction* chosen = menu.exec(view.mapToGlobal(at));
              return chosen ? chosen->data().toInt() : -1;
          };
    return chooser;
}

} // namespace

bool CTextTool::ChooseQuickMenuItem(CTableView& view, int offset, std::string_view itemGbk)
{
    CWorkForm* wf = view.GetWorkForm();
    if (!wf)
        return false;
    int from = 0;
    int to = 0;
    mirel::SentenceAttributes attrs;
    if (!CommandRun(BodyFlow(*wf), offset, from, to, attrs))
        return false;
    attrs.emend.reset();
    const int end = ReplaceRange(view, from, to, mirel::ToCells(itemGbk, false), attrs);
    SetCaret(view, end, false);
    return true;
}

bool CTextTool::RunAutoCommand(CTableView& view, unsigned flags)
{
    if (flags & mirel::MouseFlags::Shift)
        return false;
    CWorkForm* wf = view.GetWorkForm();
    const CMirelData* doc = view.GetDocumentData();
    if (!wf || !doc || doc->GetProtectType() == 1)
        return false;
    const BodyFlow flow(*wf);
    FlowPlace place = flow.Place(caret_);
    const CSentence* s = mirel::SentenceAt(place);
    if (!s)
        return false;
    // On the boundary of two sentences the later one is the one clicked.
    if (place.pos.offset >= s->GetTextLength() && s->Attributes().autoCommand.empty()) {
        const CTextRow* row = place.obj->GetRow(place.pos.row);
        if (place.pos.sentence + 1 < row->SentenceCount()) {
            place.pos = { place.pos.row, place.pos.sentence + 1, 0 };
            s = row->GetSentence(place.pos.sentence);
        }
    }
    const std::string& command = s->Attributes().autoCommand;
    if (command.empty())
        return false;
    if (s->StartsParagraph() && place.pos.offset <= 2)
        return false;
    if (place.pos.offset >= s->GetTextLength() && s->GetTextLength() > 2)
        return false;
    const int sentenceStart = flow.Offset(place.index, { place.pos.row, place.pos.sentence, 0 });
    if (mirel::FoldCase(mirel::ToCells(command, false)) == mirel::ToCells("CHECKBOX()", true)) {
        // "□" and a ticked box ("R" in Wingdings 2) change places.
        const std::string& text = s->GetText();
        const std::string box = "\xA1\xF5";
        mirel::SentenceAttributes attrs = s->Attributes();
        attrs.emend.reset();
        for (size_t i = 0; i + 1 < text.size(); i += 2) {
            const std::string cell = text.substr(i, 2);
            if (cell == box || cell == std::string("R\0", 2)) {
                const bool tick = cell == box;
                attrs.faceName = tick ? "Wingdings 2" : "Times New Roman";
                const int at = sentenceStart + static_cast<int>(i);
                ReplaceRange(view, at, at + 2, tick ? std::string("R\0", 2) : box, attrs);
                SetCaret(view, at + 2, false);
                return true;
            }
        }
        return false;
    }
    if (!QuickMenuItems(command).empty()) {
        const std::vector<std::string> items = QuickMenuItems(command);
        const QRect caret = CaretClientRect(view);
        const int chosen = MenuChooser()(view, items, caret.bottomLeft());
        if (chosen >= 0 && chosen < static_cast<int>(items.size()))
            ChooseQuickMenuItem(view, sentenceStart + std::min(s->GetTextLength(), s->TextStart() + 2),
                items[static_cast<size_t>(chosen)]);
        return true;
    }
    // Other commands belong to the button command interpreter.
    return false;
}

namespace mirel {

namespace {

std::function<std::optional<ParagraphAttributes>(CTableView&, const ParagraphAttributes&)>& ParagraphRunner()
{
    static std::function<std::optional<ParagraphAttributes>(CTableView&, const ParagraphAttributes&)> runner;
    return runner;
}

std::optional<ParagraphAttributes> AskParagraph(CTableView& view, const ParagraphAttributes& current)
{
    if (ParagraphRunner())
        return ParagraphRunner()(view, current);
    ParagraphDialog dialog(current, &view);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Value();
}

} // namespace

void SetParagraphDialogRunner(
    std::function<std::optional<ParagraphAttributes>(CTableView&, const ParagraphAttributes&)> runner)
{
    ParagraphRunner() = std::move(runner);
}

void SetQuickMenuChooser(std::function<int(CTableView&, const std::vector<std::string>&, QPoint)> chooser)
{
    MenuChooser() = std::move(chooser);
}

CTextTool* TextToolOf(const CTableView& view)
{
    return dynamic_cast<CTextTool*>(view.TextTool());
}

UndoManager* UndoManagerOf(const CTableView& view)
{
    return dynamic_cast<UndoManager*>(view.UndoStack());
}

void InstallTextEditing(CTableView& view)
{
    ViewTool* current = view.CurrentTool();
    view.SetTextTool(std::make_unique<CTextTool>());
    view.SetCurrentTool(current); // the text tool starts with a click into the text or with typing
    view.SetUndoHistory(std::make_unique<UndoManager>(&view));
    CommandTable& commands = view.Commands();
    auto tool = [&view] { return TextToolOf(view); };
    auto active = [&view] { return view.TextToolActive() && TextToolOf(view); };

    // Select all, copy, cut, paste: the text tool's own while it is current,
    // else whatever the view had for them.
    struct Chained {
        int id;
        const char* text;
        std::function<void(CTableView&, CTextTool&)> run;
        std::function<bool(CTableView&, CTextTool&)> enabled;
    };
    const Chained chained[] = {
        { cmd::kSelectAll, nullptr, [](CTableView& v, CTextTool& t) { t.SelectAll(v); }, nullptr },
        { cmd::kCopy, "复制(&C)\tCtrl+C", [](CTableView& v, CTextTool& t) { CopyText(v, t); },
            [](CTableView&, CTextTool& t) { return t.HasSelection(); } },
        { cmd::kCut, "剪切(&T)\tCtrl+X", [](CTableView& v, CTextTool& t) { CutText(v, t); },
            [](CTableView& v, CTextTool& t) {
                return t.HasSelection() && v.GetDocumentData() && v.GetDocumentData()->GetProtectType() == 0;
            } },
        { cmd::kPaste, "粘贴(&P)\tCtrl+V", [](CTableView& v, CTextTool& t) { PasteText(v, t); },
            [](CTableView& v, CTextTool&) {
                return ClipboardOffersText() && v.GetDocumentData() && v.GetDocumentData()->GetProtectType() == 0;
            } },
    };
    for (const Chained& c : chained) {
        const Command* old = commands.Find(c.id);
        std::function<void()> oldRun = old ? old->run : nullptr;
        std::function<bool()> oldEnabled = old ? old->enabled : nullptr;
        const bool hadOld = old != nullptr;
        std::string text = c.text ? c.text : (old ? old->text : std::string());
        auto run = c.run;
        auto enabled = c.enabled;
        commands.Add(Command { c.id, text,
            [&view, active, tool, run, oldRun] {
                if (active())
                    run(view, *tool());
                else if (oldRun)
                    oldRun();
            },
            [&view, active, tool, enabled, oldEnabled, hadOld] {
                if (active())
                    return !enabled || enabled(view, *tool());
                return hadOld && (!oldEnabled || oldEnabled());
            },
            nullptr });
    }

    commands.Add(Command { kCmdOverwrite, {}, [] { CTextTool::SetOverwrite(!CTextTool::Overwrite()); }, nullptr,
        [] { return CTextTool::Overwrite(); } });

    // Bold, italic, underline and the text effects on the selection.
    auto toggle = [&view, tool](int code, int on, int off, auto current) {
        return [&view, tool, code, on, off, current] {
            if (CTextTool* t = tool())
                t->SetFormatByCode(view, code, current(t->TypingAttributes()) == on ? off : on);
        };
    };
    commands.Add(Command { 181, "加粗(&B)",
        toggle(kAttrWeight, 700, 400, [](const SentenceAttributes& a) { return a.weight >= 700 ? 700 : 400; }), active,
        nullptr });
    commands.Add(Command { 207, "倾斜(&I)",
        toggle(kAttrItalic, 1, 0, [](const SentenceAttributes& a) { return a.italic ? 1 : 0; }), active, nullptr });
    commands.Add(Command { 208, "下划线(&U)",
        toggle(kAttrUnderline, 1, 0, [](const SentenceAttributes& a) { return a.underline ? 1 : 0; }), active,
        nullptr });
    auto editable = [&view, active] {
        const CMirelData* doc = view.GetDocumentData();
        return active() && doc && doc->GetProtectType() == 0;
    };

    // Alignment of the paragraphs the selection touches; the caret's
    // paragraph shows its own as checked.
    const std::pair<int, int> alignments[] = { { 193, 0 }, { 194, 1 }, { 195, 2 }, { 2951, 3 }, { 2952, 4 } };
    const char* const alignmentTexts[] = { "左对齐(&L)", "居中(&M)", "右对齐(&R)", "匀齐(&J)", "全匀齐(&F)" };
    for (int k = 0; k < 5; ++k) {
        const int alignment = alignments[k].second;
        commands.Add(Command { alignments[k].first, alignmentTexts[k],
            [&view, tool, alignment] {
                if (CTextTool* t = tool())
                    t->SetFormatByCode(view, kAttrAlignment, alignment);
            },
            editable,
            [&view, active, tool, alignment] {
                return active() && tool()->CaretParagraph(view).alignment == alignment;
            } });
    }

    // Text colour: the colour chooser, starting from the typing colour.
    commands.Add(Command { 205, "文字颜色(&C)",
        [&view, tool] {
            CTextTool* t = tool();
            if (!t)
                return;
            if (const std::optional<uint32_t> color = CurrentPrompt().AskColor("文字颜色", t->TypingAttributes().color))
                t->SetFormatByCode(view, kAttrColor, static_cast<int32_t>(*color & 0xFFFFFF));
        },
        editable, nullptr });

    // The find and replace dialog. (Enabling runs after every key: it asks
    // only whether there is a text column, not for the whole flow.)
    auto hasText = [&view] {
        const CWorkForm* wf = view.GetWorkForm();
        for (int p = 0; wf && p < wf->PageCount(); ++p)
            if (!wf->GetPage(p)->TextColumns().empty())
                return true;
        return false;
    };
    commands.Add(Command { 57636, "查找(&F)\tCtrl+F", [&view] { ShowFindDialog(view, false); }, hasText, nullptr });
    commands.Add(Command { 57641, "替换(&H)\tCtrl+H", [&view] { ShowFindDialog(view, true); },
        [&view, hasText] {
            const CMirelData* doc = view.GetDocumentData();
            return hasText() && doc && doc->GetProtectType() == 0;
        },
        nullptr });

    // The paragraph dialog.
    commands.Add(Command { 2995, "段落(&P)...",
        [&view, tool] {
            CTextTool* t = tool();
            if (!t)
                return;
            if (const std::optional<ParagraphAttributes> chosen = AskParagraph(view, t->CaretParagraph(view)))
                t->SetParagraph(view, *chosen);
        },
        editable, nullptr });

    for (int effect = 1; effect <= 7; ++effect) {
        commands.Add(Command { 33297 + effect, {},
            [&view, tool, effect] {
                if (CTextTool* t = tool())
                    t->SetFormatByCode(view, kAttrEffect, effect);
            },
            [&view, active] {
                const CMirelData* doc = view.GetDocumentData();
                return active() && doc && doc->GetProtectType() == 0;
            },
            nullptr });
    }
}

} // namespace mirel
