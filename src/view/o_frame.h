#pragma once
// COFrame: the component's frame window. It owns the document for its whole
// life, the two rulers, the work-form label bar, the shared scroll bars and
// one CTableView per work form (created when the work form is first
// activated; exactly one, the active work form's, is shown). It answers the
// work-form, ruler and document commands, routes every command id to the
// active view first and then to itself, and evaluates the enabling rules
// again after each command.
#include "view/command_table.h"
#include "view/view_hooks.h"

#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class CMirelData;
class CWorkForm;
class CTableView;
class QMenu;
class QScrollBar;

namespace mirel {
class LabelBar;
class RulerBar;
} // namespace mirel

class COFrame : public QWidget, public mirel::ViewHost {
public:
    explicit COFrame(QWidget* parent = nullptr);
    ~COFrame() override;

    // --- the document ---
    CMirelData* GetDocumentData() { return document_.get(); }
    const CMirelData* GetDocumentData() const { return document_.get(); }

    // --- views ---
    CTableView* ActiveView() const;
    CTableView* ViewOf(const CWorkForm* wf) const;
    const std::vector<CTableView*>& Views() const { return views_; }
    CWorkForm* ActiveWorkForm() const { return active_; }
    int ActiveWorkFormIndex() const;

    // --- work forms (names and passwords are GBK, as the document keeps them) ---
    // position 0: before the active work form, 1: after it, 2: at the end.
    // `wf` null creates an empty one. Returns the new name, empty when refused.
    std::string InsertWorkForm(int position, std::unique_ptr<CWorkForm> wf = nullptr, const std::string& name = {});
    // Asks for the work form's password first when it has one. False when
    // nothing changed (out of range, already active, password not given).
    bool ActivateWorkForm(int index);
    bool ActivateWorkFormByName(const std::string& name);
    bool DeleteActiveWorkForm();
    // Asks for the new name.
    bool RenameActiveWorkForm();
    bool RenameWorkForm(int index, const std::string& newName);
    // Moves a work form to another place in the tab order.
    bool MoveWorkForm(int from, int to);
    // Sets (empty: removes) a work form's password; EditActiveWorkFormPassword asks for it.
    bool SetWorkFormPassword(int index, const std::string& password);
    bool EditActiveWorkFormPassword();

    // --- rulers ---
    void ShowRuler(bool horizontal, bool show);
    bool IsRulerShown(bool horizontal) const { return horizontal ? hRulerShown_ : vRulerShown_; }
    void SetRulerStyle(int style);
    int RulerStyle() const { return rulerStyle_; }
    void SetRulerUnit(int unit);
    mirel::RulerBar* Ruler(bool horizontal) const { return horizontal ? hRuler_ : vRuler_; }
    mirel::LabelBar* LabelBarWidget() const { return labelBar_; }
    QScrollBar* ScrollBar(bool vertical) const { return vertical ? vBar_ : hBar_; }
    int LabelBarWidth() const { return labelBarWidth_; }
    void SetLabelBarWidth(int width);

    // --- documents ---
    // Asks "文档已修改，是否保存？" when the document is modified; false when
    // the user cancels or saving failed (the caller must not discard then).
    bool SaveModified(bool withCancel);
    bool NewDocument();
    // Native documents (qwd, mrl); an empty path asks for one.
    bool OpenDocument(const std::string& path, const std::string& password = {});
    // An empty path (or a temporary copy) asks for one.
    bool SaveDocument(const std::string& path);
    bool ExportPageBitmaps(const std::string& path = {});

    // --- commands ---
    bool ExecuteCommand(int id) override;
    bool IsCommandEnabled(int id) const;
    mirel::CommandState CommandStateOf(int id) const;
    mirel::CommandTable& Commands() { return commands_; }
    // Called whenever the evaluated command states changed.
    void SetCommandStateListener(std::function<void()> f) { stateListener_ = std::move(f); }
    const std::map<int, mirel::CommandState>& CommandStates() const { return states_; }

    // --- host ---
    void SetHostEventSink(std::function<void(const mirel::HostEvent&)> sink) { sink_ = std::move(sink); }
    void RaiseHostEvent(const mirel::HostEvent& event) override;
    void UpdateRulers() override;
    void RefreshCommandStates() override;

    // --- messages of the frame ---
    void OnMessageActiveWorkForm(int index, const std::string* name);
    void OnMessageInsertWorkForm(int position, std::unique_ptr<CWorkForm> wf);
    void OnMessageUpdateRuler() { UpdateRulers(); }
    void OnMessageMoveCursorPos();

    // The label bar's right-click menu: its items carry their command ids
    // (QAction::data).
    void FillLabelMenu(QMenu& menu) const;

    // Places rulers, bars and the active view.
    void RecalcLayout();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    CTableView* CreateView(CWorkForm* wf);
    void DestroyView(CTableView* view);
    void ShowView(CWorkForm* wf);
    // After a new or opened document: one view, attached to the first work form.
    void ResetViews();
    void RegisterCommands();
    void ShowLabelMenu(int index, QPoint globalPos);
    void ShowRulerMenu(QPoint globalPos);
    bool Protected() const;
    int IndexOf(const CWorkForm* wf) const;

    std::unique_ptr<CMirelData> document_;
    std::vector<CTableView*> views_;
    CWorkForm* active_ = nullptr;
    mirel::RulerBar* hRuler_ = nullptr;
    mirel::RulerBar* vRuler_ = nullptr;
    mirel::LabelBar* labelBar_ = nullptr;
    QScrollBar* hBar_ = nullptr;
    QScrollBar* vBar_ = nullptr;
    QWidget* sizeBox_ = nullptr;
    bool hRulerShown_ = true;
    bool vRulerShown_ = true;
    int labelBarWidth_ = 350;
    int rulerStyle_ = 0;
    mirel::CommandTable commands_;
    std::map<int, mirel::CommandState> states_;
    std::function<void()> stateListener_;
    std::function<void(const mirel::HostEvent&)> sink_;
};
