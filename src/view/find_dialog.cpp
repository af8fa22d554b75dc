#include "view/find_dialog.h"

#include "model/mirel_data.h"
#include "platform/cells.h"
#include "platform/gbk.h"
#include "view/find_replace.h"
#include "view/table_view.h"
#include "view/text_tool.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace mirel {

namespace {
constexpr char kObjectName[] = "mirelFindDialog";
// Longer selections are not offered as the pattern.
constexpr int kMaxOfferedPattern = 64;

bool Protected(const CTableView& view)
{
    const CMirelData* doc = view.GetDocumentData();
    return !doc || doc->GetProtectType() != 0;
}
} // namespace

FindDialog::FindDialog(CTableView& view, bool replace)
    : QDialog(&view, Qt::Dialog)
    , view_(view)
    , pattern_(new QLineEdit(this))
    , replacementLabel_(new QLabel(QStringLiteral("&P.替换为:"), this))
    , replacement_(new QLineEdit(this))
    , matchCase_(new QCheckBox(QStringLiteral("&C.区分大小写"), this))
    , findNext_(new QPushButton(QStringLiteral("查找下一个(&F)"), this))
    , replaceOne_(new QPushButton(QStringLiteral("替换(&R)"), this))
    , replaceAll_(new QPushButton(QStringLiteral("全部替换(&A)"), this))
    , status_(new QLabel(this))
{
    setObjectName(QString::fromLatin1(kObjectName));
    setModal(false);
    auto* patternLabel = new QLabel(QStringLiteral("&N.查找内容:"), this);
    patternLabel->setBuddy(pattern_);
    replacementLabel_->setBuddy(replacement_);
    auto* fields = new QGridLayout;
    fields->addWidget(patternLabel, 0, 0);
    fields->addWidget(pattern_, 0, 1);
    fields->addWidget(replacementLabel_, 1, 0);
    fields->addWidget(replacement_, 1, 1);
    fields->addWidget(matchCase_, 2, 1);
    fields->addWidget(status_, 3, 0, 1, 2);

    auto* buttons = new QDialogButtonBox(Qt::Vertical, this);
    buttons->addButton(findNext_, QDialogButtonBox::ActionRole);
    buttons->addButton(replaceOne_, QDialogButtonBox::ActionRole);
    buttons->addButton(replaceAll_, QDialogButtonBox::ActionRole);
    QPushButton* close = buttons->addButton(QStringLiteral("关闭"), QDialogButtonBox::RejectRole);
    findNext_->setDefault(true);
    connect(findNext_, &QPushButton::clicked, this, [this] { FindNextClicked(); });
    connect(replaceOne_, &QPushButton::clicked, this, [this] { ReplaceClicked(); });
    connect(replaceAll_, &QPushButton::clicked, this, [this] { ReplaceAllClicked(); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(pattern_, &QLineEdit::textChanged, this, [this] { UpdateButtons(); });

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(fields, 1);
    layout->addWidget(buttons);
    SetReplaceMode(replace);
}

void FindDialog::SetReplaceMode(bool replace)
{
    replace_ = replace;
    setWindowTitle(replace ? QStringLiteral("替换") : QStringLiteral("查找"));
    replacementLabel_->setVisible(replace);
    replacement_->setVisible(replace);
    replaceOne_->setVisible(replace);
    replaceAll_->setVisible(replace);
    UpdateButtons();
}

void FindDialog::UpdateButtons()
{
    const bool any = !pattern_->text().isEmpty();
    findNext_->setEnabled(any);
    replaceOne_->setEnabled(any && !Protected(view_));
    replaceAll_->setEnabled(any && !Protected(view_));
}

namespace {

// The dialog's text as GBK; characters GBK cannot hold become "?".
std::string Gbk(const QLineEdit* edit)
{
    return Utf8ToGbk(edit->text().toStdString()).text;
}

} // namespace

void FindDialog::FindNextClicked()
{
    CTextTool* tool = TextToolOf(view_);
    if (!tool || pattern_->text().isEmpty())
        return;
    view_.SetCurrentTool(tool);
    const bool found = FindNext(view_, *tool, Gbk(pattern_), FindOptions { matchCase_->isChecked() });
    status_->setText(found ? QString() : QStringLiteral("找不到“%1”。").arg(pattern_->text()));
}

void FindDialog::ReplaceClicked()
{
    CTextTool* tool = TextToolOf(view_);
    if (!tool || pattern_->text().isEmpty() || Protected(view_))
        return;
    view_.SetCurrentTool(tool);
    Replace(view_, *tool, Gbk(pattern_), Gbk(replacement_), FindOptions { matchCase_->isChecked() });
    status_->clear();
}

void FindDialog::ReplaceAllClicked()
{
    CTextTool* tool = TextToolOf(view_);
    if (!tool || pattern_->text().isEmpty() || Protected(view_))
        return;
    view_.SetCurrentTool(tool);
    const int count = ReplaceAll(view_, *tool, Gbk(pattern_), Gbk(replacement_), FindOptions { matchCase_->isChecked() });
    status_->setText(QStringLiteral("替换了 %1 处。").arg(count));
}

FindDialog* ShowFindDialog(CTableView& view, bool replace)
{
    auto* dialog = view.findChild<FindDialog*>(QString::fromLatin1(kObjectName), Qt::FindDirectChildrenOnly);
    if (!dialog)
        dialog = new FindDialog(view, replace);
    dialog->SetReplaceMode(replace);
    // A short selection on one line becomes the pattern.
    if (CTextTool* tool = TextToolOf(view); tool && tool->HasSelection()) {
        const std::string cells = tool->SelectedCells(view);
        if (!cells.empty() && cells.size() / 2 <= kMaxOfferedPattern && cells.find('\r') == std::string::npos)
            dialog->PatternEdit()->setText(GbkToQString(FromCells(cells, false)));
    }
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    dialog->PatternEdit()->setFocus();
    dialog->PatternEdit()->selectAll();
    return dialog;
}

} // namespace mirel
