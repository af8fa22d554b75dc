#pragma once
// The find and replace dialog of a view: modeless, one per view (a child
// window of the view, found again by ShowFindDialog), searching the body
// text through view/find_replace.h.
#include <QDialog>

class CTableView;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace mirel {

class FindDialog : public QDialog {
public:
    FindDialog(CTableView& view, bool replace);

    // Switches between finding ("查找") and replacing ("替换").
    void SetReplaceMode(bool replace);
    bool ReplaceMode() const { return replace_; }

    QLineEdit* PatternEdit() const { return pattern_; }
    QLineEdit* ReplacementEdit() const { return replacement_; }
    QCheckBox* MatchCaseBox() const { return matchCase_; }
    QPushButton* FindNextButton() const { return findNext_; }
    QPushButton* ReplaceButton() const { return replaceOne_; }
    QPushButton* ReplaceAllButton() const { return replaceAll_; }
    // What the last search found or did not find.
    QLabel* StatusLabel() const { return status_; }

private:
    void FindNextClicked();
    void ReplaceClicked();
    void ReplaceAllClicked();
    void UpdateButtons();

    CTableView& view_;
    bool replace_ = false;
    QLineEdit* pattern_;
    QLabel* replacementLabel_;
    QLineEdit* replacement_;
    QCheckBox* matchCase_;
    QPushButton* findNext_;
    QPushButton* replaceOne_;
    QPushButton* replaceAll_;
    QLabel* status_;
};

// Shows the view's find dialog (creating it the first time) in find or
// replace mode, with the selected text, when it is short and on one line,
// as the pattern.
FindDialog* ShowFindDialog(CTableView& view, bool replace);

} // namespace mirel
