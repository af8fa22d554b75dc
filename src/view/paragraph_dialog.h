#pragma once
// The paragraph dialog ("段落"): alignment, vertical alignment, line
// spacing and first-line indent of the caret's paragraph. The indent is
// given in 格 (characters, 0..10) or in 毫米 (0..50 mm, one decimal);
// millimetres are stored as minus the length in 0.1 mm.
#include "text/attributes.h"

#include <QDialog>

class QComboBox;
class QDoubleSpinBox;

namespace mirel {

class ParagraphDialog : public QDialog {
public:
    explicit ParagraphDialog(const ParagraphAttributes& current, QWidget* parent = nullptr);

    // The values as the dialog holds them now.
    ParagraphAttributes Value() const;

    QComboBox* AlignmentBox() const { return alignment_; }
    QComboBox* VerAlignmentBox() const { return verAlignment_; }
    QDoubleSpinBox* LineSpaceBox() const { return lineSpace_; }
    QComboBox* IndentUnitBox() const { return indentUnit_; }
    QDoubleSpinBox* IndentBox() const { return indent_; }

private:
    void UnitChanged(int unit);

    QComboBox* alignment_;
    QComboBox* verAlignment_;
    QDoubleSpinBox* lineSpace_;
    QComboBox* indentUnit_;
    QDoubleSpinBox* indent_;
    int unit_ = 0;
};

} // namespace mirel
