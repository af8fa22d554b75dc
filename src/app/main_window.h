#pragma once
// The main window of 岚舟文字: menu bar, the four toolbars with the zoom,
// font-name and font-size boxes, and the component control filling the
// rest. It keeps the file bookkeeping (current file, caption, save prompts,
// recent files), its window settings in "配置项.ini", and the toolbar
// states in step with the component.
#include "app/app_settings.h"
#include "host/mirel_control.h"

#include <QList>
#include <QMainWindow>
#include <QUrl>
#include <map>
#include <string>

class QAction;
class QComboBox;
class QMenu;
class QToolBar;

namespace mirel {

// The boxes' items: text and value, from the one constant the program
// always used (zoom items first, then the font sizes).
struct BoxItem {
    QString text;
    int value = 0;
};
std::vector<BoxItem> ZoomBoxItems();
std::vector<BoxItem> SizeBoxItems();

// The main window's least size.
inline constexpr int kMinWindowWidth = 687;
inline constexpr int kMinWindowHeight = 228;

class MainWindow : public QMainWindow {
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    MirelControl* Control() const { return control_; }
    const std::string& CurrentFile() const { return currentFile_; }
    const std::vector<std::string>& RecentFiles() const { return settings_.recentFiles; }

    // Opens a file as the document (command line, drop, recent files);
    // false and a message when it failed (the open document stays).
    bool OpenDocumentFile(const std::string& path);
    // "文件已被修改，是否保存？": false when the user cancels or the save
    // failed, so that what asked must stop.
    bool AskToSave();
    // Files dropped on the window: the first becomes the document (after
    // the save prompt; Cancel stops), each further one opens in a window of
    // its own, started directly and never through a shell.
    void OpenDroppedFiles(const QList<QUrl>& urls);
    void New();
    void Open();
    bool Save();
    bool SaveAs();
    bool ExportPdf(const std::string& path = {});

    // Named actions, for tests: the menu text without "&", e.g. "保存(S)".
    QAction* Action(const QString& text) const;
    QToolBar* ToolBar(int index) const { return toolBars_[index]; }
    QComboBox* ZoomBox() const { return zoomBox_; }
    QComboBox* FontBox() const { return fontBox_; }
    QComboBox* SizeBox() const { return sizeBox_; }

    void SyncFormat();
    void SyncCommands();
    void SyncZoom();
    void UpdateCaption();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildMenus();
    void BuildToolBars();
    void FillBoxes();
    void ConnectControl();
    void LoadSettings();
    void SaveSettings();
    void RebuildRecentMenu();
    void ApplyFormatBoxes();
    void ToggleFullScreen();
    void ShowReadMe();
    void ShowAbout();
    void OpenUrl();
    QAction* AddAction(QMenu* menu, const QString& text, std::function<void()> run);
    bool NoteFailure(bool ok);

    MirelControl* control_ = nullptr;
    QToolBar* toolBars_[4] = {};
    QComboBox* zoomBox_ = nullptr;
    QComboBox* fontBox_ = nullptr;
    QComboBox* sizeBox_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    QMenu* fillMenu_ = nullptr;
    std::map<QString, QAction*> actions_;
    std::map<std::string, QAction*> toolButtons_; // by role: "bold", "align0" …
    QAction* toolbarToggles_[4] = {};
    QAction* hRulerAction_ = nullptr;
    QAction* vRulerAction_ = nullptr;
    std::string currentFile_;
    TextFormat textFormat_;
    AppSettings settings_;
    bool syncing_ = false;
};

} // namespace mirel
