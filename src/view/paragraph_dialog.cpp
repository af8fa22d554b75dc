#include "view/paragraph_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>

#include <algorithm>
#include <cmath>

namespace mirel {

namespace {
constexpr int kUnitCharacters = 0;
constexpr int kUnitMillimetres = 1;
constexpr int kDefaultCharacters = 2;
constexpr double kDefaultMillimetres = 2.0;
} // namespace

ParagraphDialog::ParagraphDialog(const ParagraphAttributes& current, QWidget* parent)
    : QDialog(parent)
    , alignment_(new QComboBox(this))
    , verAlignment_(new QComboBox(this))
    , lineSpace_(new QDoubleSpinBox(this))
    , indentUnit_(new QComboBox(this))
    , indent_(new QDoubleSpinBox(this))
{
    setWindowTitle(QStringLiteral("段落"));
    alignment_->addItems({ QStringLiteral("左对齐"), QStringLiteral("居中"), QStringLiteral("右对齐"),
        QStringLiteral("匀齐"), QStringLiteral("全匀齐") });
    alignment_->setCurrentIndex(std::clamp(current.alignment, 0, 4));
    verAlignment_->addItems({ QStringLiteral("顶端"), QStringLiteral("居中"), QStringLiteral("底端") });
    verAlignment_->setCurrentIndex(std::clamp(current.verAlignment, 0, 2));
    // Line spacing is kept in 0.1 mm and shown in millimetres.
    lineSpace_->setDecimals(1);
    lineSpace_->setRange(0, 50);
    lineSpace_->setSingleStep(0.5);
    lineSpace_->setSuffix(QStringLiteral(" 毫米"));
    lineSpace_->setValue(std::clamp(current.lineSpace, 0, 500) / 10.0);

    indentUnit_->addItems({ QStringLiteral("格"), QStringLiteral("毫米") });
    if (current.firstLineIndent < 0) {
        unit_ = kUnitMillimetres;
        indentUnit_->setCurrentIndex(kUnitMillimetres);
        indent_->setDecimals(1);
        indent_->setRange(0, 50);
        indent_->setValue(std::min(50.0, -current.firstLineIndent / 10.0));
    } else {
        unit_ = kUnitCharacters;
        indentUnit_->setCurrentIndex(kUnitCharacters);
        indent_->setDecimals(0);
        indent_->setRange(0, 10);
        indent_->setValue(std::min(current.firstLineIndent, 10));
    }
    connect(indentUnit_, &QComboBox::currentIndexChanged, this, [this](int unit) { UnitChanged(unit); });

    auto* indentRow = new QHBoxLayout;
    indentRow->addWidget(indent_, 1);
    indentRow->addWidget(indentUnit_);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("对齐方式(&A):"), alignment_);
    form->addRow(QStringLiteral("垂直对齐(&V):"), verAlignment_);
    form->addRow(QStringLiteral("行距(&L):"), lineSpace_);
    auto* indentLabel = new QLabel(QStringLiteral("首行缩进(&I):"), this);
    indentLabel->setBuddy(indent_);
    form->addRow(indentLabel, indentRow);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void ParagraphDialog::UnitChanged(int unit)
{
    if (unit == unit_)
        return;
    unit_ = unit;
    // A new unit starts from its default: characters and millimetres do not
    // convert without knowing the font.
    if (unit == kUnitMillimetres) {
        indent_->setDecimals(1);
        indent_->setRange(0, 50);
        indent_->setValue(kDefaultMillimetres);
    } else {
        indent_->setDecimals(0);
        indent_->setRange(0, 10);
        indent_->setValue(kDefaultCharacters);
    }
}

ParagraphAttributes ParagraphDialog::Value() const
{
    ParagraphAttributes p;
    p.alignment = alignment_->currentIndex();
    p.verAlignment = verAlignment_->currentIndex();
    p.lineSpace = static_cast<int32_t>(std::lround(lineSpace_->value() * 10));
    if (unit_ == kUnitMillimetres)
        p.firstLineIndent = -static_cast<int32_t>(std::lround(indent_->value() * 10));
    else
        p.firstLineIndent = static_cast<int32_t>(std::lround(indent_->value()));
    return p;
}

} // namespace mirel
