// MainWindow: the file bookkeeping, settings, events of the component and
// the drop target.
#include "app/main_window.h"

#include "graphics/page_renderer.h"
#include "model/mirel_data.h"
#include "platform/prompt.h"
#include "view/o_frame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QInputDialog>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QScreen>
#include <QToolBar>
#include <QUrl>

namespace mirel {

namespace {

constexpr char kTitle[] = "岚舟文字 V1.1 ";
constexpr char kTitleWithFile[] = "岚舟文字 V1.1   ";
constexpr char kAskSave[] = "文件已被修改，是否保存？";
constexpr char kHint[] = "提示！";
constexpr char kOpenFilter[] = "岚舟文字（*.qwd;*.rtf;*.txt） (*.qwd *.rtf *.txt);;Mirel文件 (*.mrl);;所有文件 (*)";
constexpr char kSaveFilter[] = "岚舟文字（*.qwd） (*.qwd)";

} // namespace

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent)
{
    setAcceptDrops(true);
    control_ = new MirelControl(this);
    setCentralWidget(control_);
    setMinimumSize(kMinWindowWidth, kMinWindowHeight);
    BuildMenus();
    BuildToolBars();
    FillBoxes();
    ConnectControl();
    LoadSettings();
    SyncFormat();
    SyncCommands();
    UpdateCaption();
}

MainWindow::~MainWindow() = default;

// ---------------------------------------------------------------- caption

void MainWindow::UpdateCaption()
{
    QString caption = currentFile_.empty() ? QString::fromUtf8(kTitle)
                                           : QString::fromUtf8(kTitleWithFile) + QString::fromStdString(currentFile_);
    if (control_->IsModified())
        caption = QStringLiteral("*") + caption;
    if (windowTitle() != caption)
        setWindowTitle(caption);
}

// ---------------------------------------------------------------- files

bool MainWindow::AskToSave()
{
    if (!control_->IsModified())
        return true;
    const PromptAnswer answer
        = CurrentPrompt().MessageBox(kHint, kAskSave, PromptIcon::Information, PromptButtons::YesNoCancel);
    if (answer == PromptAnswer::Cancel)
        return false;
    if (answer == PromptAnswer::No)
        return true;
    // A save that fails or is cancelled keeps the document open.
    return Save();
}

void MainWindow::New()
{
    if (!AskToSave())
        return;
    // The question is answered: the component must not ask it again.
    CMirelData* doc = control_->Frame()->GetDocumentData();
    const bool wasModified = doc->IsModified();
    doc->SetModified(false);
    if (!control_->NewFile()) {
        doc->SetModified(wasModified);
        return;
    }
    currentFile_.clear();
    UpdateCaption();
    SyncFormat();
    SyncCommands();
}

void MainWindow::Open()
{
    if (!AskToSave())
        return;
    const QString chosen
        = QFileDialog::getOpenFileName(this, QStringLiteral("打开"), {}, QString::fromUtf8(kOpenFilter));
    if (chosen.isEmpty())
        return;
    OpenDocumentFile(chosen.toStdString());
}

bool MainWindow::OpenDocumentFile(const std::string& path)
{
    CMirelData* doc = control_->Frame()->GetDocumentData();
    const bool wasModified = doc->IsModified();
    // The caller has asked about saving already.
    doc->SetModified(false);
    const bool ok = control_->OpenFile(path);
    if (!ok) {
        doc->SetModified(wasModified);
        UpdateCaption();
        return false;
    }
    currentFile_ = doc->isTempCopy ? std::string() : path;
    if (!doc->isTempCopy) {
        AddRecentFile(settings_.recentFiles, path);
        SaveAppSettings(AppSettingsFile(), settings_, false);
        RebuildRecentMenu();
    }
    UpdateCaption();
    SyncZoom();
    SyncFormat();
    SyncCommands();
    return true;
}

bool MainWindow::Save()
{
    if (!control_->IsModified())
        return true;
    if (currentFile_.empty())
        return SaveAs();
    // A failure has been reported with its real reason; the file name stays.
    const bool ok = control_->SaveFile(currentFile_);
    UpdateCaption();
    return ok;
}

bool MainWindow::SaveAs()
{
    QString chosen = QFileDialog::getSaveFileName(
        this, QStringLiteral("另存为"), QString::fromStdString(currentFile_), QString::fromUtf8(kSaveFilter));
    if (chosen.isEmpty())
        return false;
    if (!chosen.endsWith(QStringLiteral(".qwd"), Qt::CaseInsensitive)
        && !chosen.endsWith(QStringLiteral(".mrl"), Qt::CaseInsensitive))
        chosen += QStringLiteral(".qwd");
    const std::string path = chosen.toStdString();
    if (!control_->SaveFile(path)) {
        UpdateCaption();
        return false;
    }
    currentFile_ = path;
    AddRecentFile(settings_.recentFiles, path);
    SaveAppSettings(AppSettingsFile(), settings_, false);
    RebuildRecentMenu();
    UpdateCaption();
    return true;
}

bool MainWindow::ExportPdf(const std::string& path)
{
    std::string target = path;
    if (target.empty()) {
        QString suggested = QString::fromStdString(currentFile_);
        if (suggested.isEmpty())
            suggested = QStringLiteral("文档.pdf");
        else
            suggested = suggested.left(suggested.lastIndexOf(QLatin1Char('.'))) + QStringLiteral(".pdf");
        const QString chosen = QFileDialog::getSaveFileName(
            this, QStringLiteral("导出为PDF"), suggested, QStringLiteral("PDF文件 (*.pdf)"));
        if (chosen.isEmpty())
            return false;
        target = chosen.toStdString();
    }
    std::string error;
    if (!WriteDocumentPdf(*control_->Frame()->GetDocumentData(), target, &error)) {
        CurrentPrompt().MessageBox(
            kHint, error.empty() ? target + " : Write file error!" : error, PromptIcon::Error, PromptButtons::Ok);
        return false;
    }
    return true;
}

void MainWindow::OpenUrl()
{
    if (!AskToSave())
        return;
    bool ok = false;
    const QString entry = QInputDialog::getText(this, QStringLiteral("打开URL"),
        QStringLiteral("请输入全球广域网地址(URL)或指定您要打开的本地文件"), QLineEdit::Normal, {}, &ok);
    if (ok && !entry.trimmed().isEmpty())
        OpenDocumentFile(entry.trimmed().toStdString());
}

// ---------------------------------------------------------------- closing

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!AskToSave()) {
        event->ignore();
        return;
    }
    SaveSettings();
    event->accept();
}

// ---------------------------------------------------------------- drop

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty())
        return;
    event->acceptProposedAction();
    OpenDroppedFiles(urls);
}

void MainWindow::OpenDroppedFiles(const QList<QUrl>& urls)
{
    if (urls.isEmpty() || !AskToSave())
        return;
    bool first = true;
    for (const QUrl& url : urls) {
        const std::string name = url.isLocalFile() ? url.toLocalFile().toStdString() : url.toString().toStdString();
        if (first) {
            OpenDocumentFile(name);
            first = false;
        } else {
            // Further files open as documents of their own windows: this
            // program again, started directly (never through a shell).
            QProcess::startDetached(QCoreApplication::applicationFilePath(), { QString::fromStdString(name) });
        }
    }
}

// ---------------------------------------------------------------- settings

void MainWindow::LoadSettings()
{
    settings_ = LoadAppSettings(AppSettingsFile());
    for (int i = 0; i < 4; ++i) {
        toolBars_[i]->setVisible(settings_.toolbarShown[i]);
        toolbarToggles_[i]->setChecked(settings_.toolbarShown[i]);
    }
    control_->SetHorizontalRulerShown(settings_.hRulerShown);
    control_->SetVerticalRulerShown(settings_.vRulerShown);
    hRulerAction_->setChecked(settings_.hRulerShown);
    vRulerAction_->setChecked(settings_.vRulerShown);
    if (settings_.hasRect) {
        setGeometry(settings_.left, settings_.top, std::max(settings_.width, kMinWindowWidth),
            std::max(settings_.height, kMinWindowHeight));
        if (settings_.showState == 3)
            setWindowState(Qt::WindowMaximized);
    } else {
        resize(1024, 720);
    }
    RebuildRecentMenu();
}

void MainWindow::SaveSettings()
{
    for (int i = 0; i < 4; ++i)
        settings_.toolbarShown[i] = !toolBars_[i]->isHidden();
    settings_.hRulerShown = control_->HorizontalRulerShown();
    settings_.vRulerShown = control_->VerticalRulerShown();
    const QRect r = isMaximized() || isFullScreen() ? normalGeometry() : geometry();
    settings_.left = r.x();
    settings_.top = r.y();
    settings_.width = r.width();
    settings_.height = r.height();
    settings_.showState = isMaximized() ? 3 : (isMinimized() ? 2 : 1);
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QRect s = screen ? screen->geometry() : QRect(0, 0, 1920, 1080);
    const bool rectOk = !isMinimized() && RectWorthSaving(r.x(), r.y(), r.width(), r.height(), s.width(), s.height());
    SaveAppSettings(AppSettingsFile(), settings_, rectOk);
}

void MainWindow::RebuildRecentMenu()
{
    if (!recentMenu_)
        return;
    recentMenu_->clear();
    int n = 0;
    for (const std::string& path : settings_.recentFiles) {
        ++n;
        const QString text = QStringLiteral("&%1 %2").arg(n).arg(QString::fromStdString(path));
        recentMenu_->addAction(text, this, [this, path] {
            if (AskToSave())
                OpenDocumentFile(path);
        });
    }
    recentMenu_->setEnabled(n > 0);
}

// ---------------------------------------------------------------- events of the component

void MainWindow::ConnectControl()
{
    connect(control_, &MirelControl::buttonPressed, this, [this] { SyncFormat(); });
    connect(control_, &MirelControl::buttonReleased, this, [this] { SyncCommands(); });
    connect(control_, &MirelControl::faceNameChanged, this, [this](const QString& face) {
        syncing_ = true;
        const int i = fontBox_->findText(face);
        if (i >= 0)
            fontBox_->setCurrentIndex(i);
        syncing_ = false;
    });
    connect(control_, &MirelControl::fontSizeChanged, this, [this](int code) {
        syncing_ = true;
        const int i = sizeBox_->findData(SizeCodeToPoints(code));
        if (i >= 0)
            sizeBox_->setCurrentIndex(i);
        syncing_ = false;
    });
    connect(control_, &MirelControl::keyPressed, this, [this](int key, bool) {
        if (key == 27 && isFullScreen())
            ToggleFullScreen();
    });
    connect(control_, &MirelControl::commandStatesChanged, this, [this] {
        UpdateCaption();
        SyncZoom();
        if (QAction* undo = Action(QStringLiteral("撤消(U)")))
            undo->setEnabled(control_->Frame()->IsCommandEnabled(57643));
        if (QAction* redo = Action(QStringLiteral("恢复(R)")))
            redo->setEnabled(control_->Frame()->IsCommandEnabled(57644));
    });
}

void MainWindow::SyncZoom()
{
    const int zoom = control_->GetZoom();
    const int i = zoomBox_->findData(zoom);
    syncing_ = true;
    if (i >= 0)
        zoomBox_->setCurrentIndex(i);
    else
        zoomBox_->setEditText(QStringLiteral("%1%").arg(zoom));
    syncing_ = false;
}

} // namespace mirel
