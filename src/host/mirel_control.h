#pragma once
// MirelControl: the editing component as one widget that a host program
// embeds. It creates and owns one COFrame filling its client area and
// offers the host a fixed set of operations (most deliver one component
// command id to the active view or to the frame), a few properties and the
// events 0 to 15 as Qt signals.
//
// Texts at this interface are UTF-8 (QString for the events). Operations
// whose work belongs to a part of the component that is not in this build
// yet return their failure value; docs/waiting-operations.md lists them.
#include <QString>
#include <QWidget>
#include <cstdint>
#include <string>
#include <vector>

class COFrame;
class CTableView;
class CWorkForm;
class CBasicObj;

namespace mirel {
struct HostEvent;

// The text-format record exchanged with the host (28 bytes in its binary
// form, see ToBytes / FromBytes): the face name is held as UTF-8 here.
struct TextFormat {
    int32_t reserved = 0;
    int32_t bold = 0;
    int32_t italic = 0;
    uint32_t color = 0; // 0x00BBGGRR
    int32_t underline = 0;
    int32_t size = 11; // points
    std::string faceName = "宋体";
    friend bool operator==(const TextFormat&, const TextFormat&) = default;
};

// Points for a component size code: 0 -> 42 ... -14 -> 5; positive codes
// are points already.
int SizeCodeToPoints(int code);
// True for a size that SetTextFormat accepts: 5..747 or a code 0, -1..-14.
bool IsValidFontSize(int size);

// One operation that delivers a single command id.
struct CommandOperation {
    const char* name;
    int id;
    bool toFrame; // false: to the active view
};
// Every plain command-delivering operation of the control, for the host's
// menus and for checking the mapping.
const std::vector<CommandOperation>& CommandOperations();

} // namespace mirel

class MirelControl : public QWidget {
    Q_OBJECT
public:
    explicit MirelControl(QWidget* parent = nullptr);
    ~MirelControl() override;

    COFrame* Frame() const { return frame_; }
    MirelControl* GetControl() { return this; }

    // --- properties ---
    int ContextMenuMode() const { return contextMenuMode_; }
    void SetContextMenuMode(int16_t mode) { contextMenuMode_ = mode; }
    bool HorizontalRulerShown() const;
    void SetHorizontalRulerShown(bool shown);
    bool VerticalRulerShown() const;
    void SetVerticalRulerShown(bool shown);
    const std::string& FtpServer() const { return ftpServer_; }
    void SetFtpServer(const std::string& s) { ftpServer_ = s; }
    const std::string& FtpUser() const { return ftpUser_; }
    void SetFtpUser(const std::string& s) { ftpUser_ = s; }
    const std::string& FtpPassword() const { return ftpPassword_; }
    void SetFtpPassword(const std::string& s) { ftpPassword_ = s; }
    const std::string& PrintRange() const { return printRange_; }
    void SetPrintRange(const std::string& s) { printRange_ = s; }
    const std::string& MenuFilePath() const { return menuFilePath_; }
    int PrintSettingsDialog() const { return printSettingsDialog_; }
    void SetPrintSettingsDialog(int v) { printSettingsDialog_ = v; }
    int FitToText() const { return fitToText_; }
    void SetFitToText(int v) { fitToText_ = v; }
    // Kept for the host and returned unchanged.
    int UserValue() const { return userValue_; }
    void SetUserValue(int v) { userValue_ = v; }

    // --- plain command delivery (true when the command ran) ---
    bool DeliverToView(int id);
    bool DeliverToFrame(int id);
    // Runs the operation named as in mirel::CommandOperations().
    bool RunCommandOperation(const std::string& name);

    bool ShowFindDialog();
    bool ShowReplaceDialog();
    bool InsertDateTime();
    bool InsertPageNumber();
    bool Copy();
    bool Paste();
    bool Cut();
    bool Delete();
    bool SelectAll();
    bool Undo();
    bool Redo();
    bool EditHeader();
    bool EditFooter();
    bool AppendPage();
    bool DeleteCurrentPage();
    bool PageSetup();
    bool AlignLeft();
    bool AlignCenter();
    bool AlignRight();
    bool AlignTop();
    bool AlignMiddle();
    bool AlignBottom();
    bool SameWidth();
    bool SameHeight();
    bool SameSize();
    bool SpaceEvenlyAcross();
    bool SpaceEvenlyDown();
    bool BringToFront();
    bool SendToBack();
    bool BringForward();
    bool SendBackward();
    bool Group();
    bool Ungroup();
    bool LockAbsolutely();
    bool ObjectProperties();
    bool DrawTableTool();
    bool EraseTableLineTool();
    bool MergeCells();
    bool SplitCell();
    bool SplitTableHorizontally();
    bool SplitTableVertically();
    bool EqualRowHeights();
    bool EqualColumnWidths();
    bool TableLookFormat();
    bool SortTable();
    bool InputFormula();
    bool InsertCellNote();
    bool ShowFillSequence();
    bool ImportData();
    bool Paragraph();
    bool FontDialog();
    bool AcceptRejectRevisions();
    bool FontSizeSmaller();
    bool FontSizeLarger();
    bool CopyWorkForm();
    bool DeleteWorkForm();
    bool RenameWorkForm();
    bool ShowPrintPreview();
    // position 0 at the end, 1 before the active work form, 2 after it.
    bool AddWorkForm(int position);
    bool PasteWorkFormAt(int position);

    // --- commands chosen by an index ---
    // The command id for an object kind 0..26, or 0.
    static int InsertObjectCommand(int kind);
    // Returns the kind when it is outside 0..26 (nothing inserted), else 0
    // when the command ran and -1 when it did not.
    int InsertObject(int kind);
    bool InsertRow(int position = 2);
    bool InsertColumn(int position);
    bool FillCells(int kind);
    bool DeleteCurrentRow();
    bool DeleteCurrentColumn();
    bool MergeTablesHorizontally();
    bool MergeTablesVertically();
    bool SetLockState(int state);

    // --- operations with their own logic ---
    bool NewFile();
    bool OpenFile(const std::string& path, const std::string& password = {}, bool flag1 = false, bool flag2 = false);
    bool SaveFile(const std::string& path);
    bool SaveFileAs(const std::string& path);
    bool SaveToFtp(
        const std::string& server, const std::string& user, const std::string& password, const std::string& remoteName);
    bool ProtectDocument();
    bool SetFilePassword();
    bool InsertSymbol();
    bool IsModified() const;
    int16_t GetPageCount() const;
    bool ExportPageImage(const std::string& file, int page, int zoom, bool mirror);
    bool SetBackgroundPicture(const std::string& file, int flag);
    bool DeleteTrailingEmptyPages();
    int GetZoom() const;
    bool SetZoomPercent(int percent);
    int GetSelectionKind() const;
    mirel::TextFormat GetTextFormat() const;
    // True when every attribute was applied.
    bool SetTextFormat(const mirel::TextFormat& format);
    bool ChooseTextColor(int64_t mode);
    bool GetShading() const;
    bool SetShading(bool on);
    bool SetAlignment(int alignment);
    int GetAlignment() const;
    bool GetFirstLineIndent() const;
    bool SetFirstLineIndent(bool on);
    int GetScriptPosition() const;
    bool SetScriptPosition(int position);
    std::string GetFontList() const;
    bool SetFieldNames(const std::string& names);
    bool SetObjectText(const std::string& name, const std::string& text);
    std::string GetObjectText(const std::string& name) const;
    bool SetObjectFlag(const std::string& name, int value);
    bool SetCellVerticalAlignment(const std::string& name, int value);
    bool InsertPicture(int left, int top, int right, int bottom, const std::string& file);
    bool Print(const std::string& range = {});
    bool PrintSetup();
    bool IsTrackingRevisions() const;
    bool SetTrackRevisions(bool on);
    bool EndRevisionTracking();

    // --- state queries ---
    bool HasSelection() const;
    bool HasMultipleSelection() const;
    bool HasThreeOrMore() const;
    bool CanBringForward() const;
    bool CanSendBackward() const;
    bool CanSendBackwardNonChart() const;
    bool IsTableCurrent() const;
    bool CanMergeCells() const;
    bool CanSplitCell() const;
    bool CanDeleteRow() const;
    bool CanDeleteColumn() const;
    bool CanSplitTableHorizontally() const;
    bool CanSplitTableVertically() const;
    bool CanMergeTables() const;
    bool CanMergeTablesStrict() const;
    bool CanFill() const;

    // Raises a component event towards the host (the frame's events arrive
    // here too).
    void Raise(const mirel::HostEvent& event);

signals:
    // Every event, by number, just before its own signal.
    void eventRaised(int id);
    void buttonPressed(); // 0
    void doubleClicked(); // 1
    void buttonReleased(); // 2
    void faceNameChanged(const QString& faceName); // 3
    void fontSizeChanged(int sizeCode); // 4
    void fileOpening(); // 5
    void fileOpened(); // 6
    void documentSaving(); // 7
    void documentSaved(); // 8
    void cellEditEnded(const QString& cellName, const QString& text); // 9
    void cellValueChanged(const QString& cellName, const QString& text); // 10
    void buttonClicked(const QString& buttonName); // 11
    void cellEntered(const QString& cellName, const QString& text); // 12
    void keyPressed(int key, bool control); // 13
    void rightButtonPressed(); // 14
    void menuItemChosen(const QString& itemText); // 15
    // The command states were evaluated again.
    void commandStatesChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    CTableView* View() const;
    CWorkForm* WorkForm() const;
    std::vector<CBasicObj*> Selected() const;
    CBasicObj* FindObject(const std::string& name) const;
    void WatchView(QObject* child);

    COFrame* frame_ = nullptr;
    int16_t contextMenuMode_ = 1;
    std::string ftpServer_, ftpUser_, ftpPassword_;
    std::string printRange_;
    std::string menuFilePath_;
    int printSettingsDialog_ = 0;
    int fitToText_ = 0;
    int userValue_ = 0;
};
