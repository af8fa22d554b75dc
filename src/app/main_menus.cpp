// MainWindow: the menu bar and its actions.
#include "app/main_window.h"
#include "model/mirel_data.h"
#include "platform/prompt.h"
#include "view/o_frame.h"

#include <QAction>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

namespace mirel {

namespace {

constexpr char kPasswordWarning[] = "注意：密码忘记将无法找回，请牢记您的密码！";
constexpr char kWarningTitle[] = "注意！";
constexpr char kProductPage[] = "https://lanzhou.example.org/";
constexpr char kHelpPage[] = "https://lanzhou.example.org/faq";

void Warn(const char* text)
{
    CurrentPrompt().MessageBox(kWarningTitle, text, PromptIcon::Warning, PromptButtons::Ok);
}

QString Plain(QString text)
{
    text.remove(QLatin1Char('&'));
    return text.trimmed();
}

} // namespace

QAction* MainWindow::AddAction(QMenu* menu, const QString& text, std::function<void()> run)
{
    QAction* action = menu->addAction(text);
    if (run)
        connect(action, &QAction::triggered, this, [run] { run(); });
    else
        action->setEnabled(false); // an item without an action yet
    actions_[Plain(text)] = action;
    return action;
}

QAction* MainWindow::Action(const QString& text) const
{
    const auto it = actions_.find(text);
    return it == actions_.end() ? nullptr : it->second;
}

void MainWindow::BuildMenus()
{
    MirelControl* c = control_;
    auto view = [c](const char* op) { return [c, op] { c->RunCommandOperation(op); }; };
    auto object = [c](int kind) { return [c, kind] { c->InsertObject(kind); }; };

    // --- 文件 ---
    QMenu* file = menuBar()->addMenu(QStringLiteral(" 文件(&F) "));
    AddAction(file, QStringLiteral("新建(&N)..."), [this] { New(); })->setShortcut(QKeySequence::New);
    AddAction(file, QStringLiteral("打开(&O)..."), [this] { Open(); })->setShortcut(QKeySequence::Open);
    AddAction(file, QStringLiteral("打开(URL)..."), [this] { OpenUrl(); });
    AddAction(file, QStringLiteral("打开模板"), [] {
        QDesktopServices::openUrl(
            QUrl::fromLocalFile(QCoreApplication::applicationDirPath() + QStringLiteral("/模板")));
    });
    recentMenu_ = file->addMenu(QStringLiteral("最近的文件(&J)"));
    file->addSeparator();
    AddAction(file, QStringLiteral("保存(&S)"), [this] { Save(); })->setShortcut(QKeySequence::Save);
    AddAction(file, QStringLiteral("另存为(&A)..."), [this] { SaveAs(); });
    file->addSeparator();
    AddAction(file, QStringLiteral("设置文档密码(&M)..."), [c] {
        Warn(kPasswordWarning);
        c->SetFilePassword();
    });
    AddAction(file, QStringLiteral("保护文档(&M)..."), [c] {
        Warn(kPasswordWarning);
        c->ProtectDocument();
    });
    AddAction(file, QStringLiteral("设置当前工作表密码(&W)..."), [c] {
        Warn(kPasswordWarning);
        c->Frame()->EditActiveWorkFormPassword();
    });
    QMenu* import = file->addMenu(QStringLiteral("导入"));
    AddAction(import, QStringLiteral("数码设备"), nullptr);
    QMenu* exportMenu = file->addMenu(QStringLiteral("导出(&T)..."));
    AddAction(exportMenu, QStringLiteral("导出为PDF"), [this] { ExportPdf(); });
    AddAction(exportMenu, QStringLiteral("另存为文本文件"), nullptr);
    AddAction(exportMenu, QStringLiteral("保存到FTP"), nullptr);
    AddAction(exportMenu, QStringLiteral("导出本页面图像"), nullptr);
    file->addSeparator();
    AddAction(file, QStringLiteral("页面设置(&U)..."), view("PageSetup"));
    AddAction(file, QStringLiteral("打印预览(&V)"), [c] { c->ShowPrintPreview(); });
    AddAction(file, QStringLiteral("打印(&P)..."), [c] { c->Print(); })->setShortcut(QKeySequence::Print);
    AddAction(file, QStringLiteral("设置打印机(&R)..."), [c] { c->PrintSetup(); });
    file->addSeparator();
    AddAction(file, QStringLiteral("发送邮件(&I)..."),
        [] { QDesktopServices::openUrl(QUrl(QString::fromUtf8(kProductPage))); });
    AddAction(file, QStringLiteral("文件信息(&I)..."), nullptr);
    file->addSeparator();
    AddAction(file, QStringLiteral("退出(&X)"), [this] { close(); })->setShortcut(QKeySequence::Quit);

    // --- 编辑 ---
    QMenu* edit = menuBar()->addMenu(QStringLiteral(" 编辑(&E) "));
    AddAction(edit, QStringLiteral("撤消(&U)"), view("Undo"))->setShortcut(QKeySequence::Undo);
    AddAction(edit, QStringLiteral("恢复(&R)"), view("Redo"))->setShortcut(QKeySequence(QStringLiteral("Ctrl+Y")));
    edit->addSeparator();
    AddAction(edit, QStringLiteral("剪切(&T)"), view("Cut"));
    AddAction(edit, QStringLiteral("复制(&C)"), view("Copy"));
    AddAction(edit, QStringLiteral("粘贴(&P)"), view("Paste"));
    AddAction(edit, QStringLiteral("删除(&D)"), view("Delete"));
    AddAction(edit, QStringLiteral("全选(&L)"), view("SelectAll"));
    edit->addSeparator();
    AddAction(edit, QStringLiteral("组合(&G)"), view("Group"));
    AddAction(edit, QStringLiteral("取消组合(&E)"), view("Ungroup"));
    QMenu* align = edit->addMenu(QStringLiteral("对齐(&L)"));
    AddAction(align, QStringLiteral("左对齐(&L)"), view("AlignLeft"));
    AddAction(align, QStringLiteral("水平居中(&C)"), view("AlignCenter"));
    AddAction(align, QStringLiteral("右对齐(&R)"), view("AlignRight"));
    AddAction(align, QStringLiteral("顶对齐(&T)"), view("AlignTop"));
    AddAction(align, QStringLiteral("垂直居中(&M)"), view("AlignMiddle"));
    AddAction(align, QStringLiteral("底对齐(&B)"), view("AlignBottom"));
    align->addSeparator();
    AddAction(align, QStringLiteral("宽度一致(&W)"), view("SameWidth"));
    AddAction(align, QStringLiteral("高度一致(&H)"), view("SameHeight"));
    AddAction(align, QStringLiteral("大小一致(&S)"), view("SameSize"));
    align->addSeparator();
    AddAction(align, QStringLiteral("水平间距相同(&H)"), view("SpaceEvenlyAcross"));
    AddAction(align, QStringLiteral("垂直间距相同(&V)"), view("SpaceEvenlyDown"));
    QMenu* order = edit->addMenu(QStringLiteral("叠放层次(&R)"));
    AddAction(order, QStringLiteral("置于顶层(&T)"), view("BringToFront"));
    AddAction(order, QStringLiteral("置于底层(&K)"), view("SendToBack"));
    AddAction(order, QStringLiteral("上移一层(&F)"), view("BringForward"));
    AddAction(order, QStringLiteral("下移一层(&B)"), view("SendBackward"));
    AddAction(edit, QStringLiteral("对象属性(&O)..."), view("ObjectProperties"));
    fillMenu_ = edit->addMenu(QStringLiteral("填充表元(&A)"));
    AddAction(fillMenu_, QStringLiteral("自动填充(&A)"), [c] { c->FillCells(0); });
    AddAction(fillMenu_, QStringLiteral("重复填充(&C)"), [c] { c->FillCells(1); });
    AddAction(fillMenu_, QStringLiteral("等差填充(&D)"), [c] { c->FillCells(2); });
    AddAction(fillMenu_, QStringLiteral("等比填充(&S)"), [c] { c->FillCells(3); });
    AddAction(edit, QStringLiteral("查看顺序(&V)..."), view("ShowFillSequence"));
    edit->addSeparator();
    AddAction(edit, QStringLiteral("查找(&F)"), view("ShowFindDialog"))->setShortcut(QKeySequence::Find);
    AddAction(edit, QStringLiteral("替换(&H)"), view("ShowReplaceDialog"))->setShortcut(QKeySequence(QStringLiteral("Ctrl+H")));

    // --- 视图 ---
    QMenu* viewMenu = menuBar()->addMenu(QStringLiteral(" 视图(&V) "));
    QMenu* bars = viewMenu->addMenu(QStringLiteral("工具栏"));
    static const char* kBarNames[4] = { "常用工具", "文本格式工具", "对齐/数据库工具", "表格工具" };
    for (int i = 0; i < 4; ++i) {
        QAction* toggle = AddAction(bars, QString::fromUtf8(kBarNames[i]), [] {});
        toggle->setCheckable(true);
        toggle->setChecked(true);
        connect(toggle, &QAction::toggled, this, [this, i](bool on) {
            if (toolBars_[i])
                toolBars_[i]->setVisible(on);
        });
        toolbarToggles_[i] = toggle;
    }
    hRulerAction_ = AddAction(viewMenu, QStringLiteral("水平标尺(&H)"), [] {});
    hRulerAction_->setCheckable(true);
    connect(hRulerAction_, &QAction::toggled, this, [c](bool on) { c->SetHorizontalRulerShown(on); });
    vRulerAction_ = AddAction(viewMenu, QStringLiteral("垂直标尺(&V)"), [] {});
    vRulerAction_->setCheckable(true);
    connect(vRulerAction_, &QAction::toggled, this, [c](bool on) { c->SetVerticalRulerShown(on); });
    viewMenu->addSeparator();
    AddAction(viewMenu, QStringLiteral("全屏(&U)"), [this] {
        ToggleFullScreen();
    })->setShortcut(QKeySequence(Qt::Key_F11));

    // --- 插入 ---
    QMenu* insert = menuBar()->addMenu(QStringLiteral(" 插入(&I) "));
    QMenu* page = insert->addMenu(QStringLiteral("页(&A)"));
    AddAction(page, QStringLiteral("添加空白页"), view("AppendPage"));
    AddAction(page, QStringLiteral("删除当前页(&D)"), view("DeleteCurrentPage"));
    QMenu* sheet = insert->addMenu(QStringLiteral("工作表(&D)"));
    QMenu* sheetInsert = sheet->addMenu(QStringLiteral("插入工作表(&I)"));
    AddAction(sheetInsert, QStringLiteral("在最后插入(&L)"), [c] { c->AddWorkForm(0); });
    AddAction(sheetInsert, QStringLiteral("在前插入(&B)"), [c] { c->AddWorkForm(1); });
    AddAction(sheetInsert, QStringLiteral("在后插入(&A)"), [c] { c->AddWorkForm(2); });
    AddAction(sheet, QStringLiteral("复制工作表(&C)"), [c] { c->CopyWorkForm(); });
    QMenu* sheetPaste = sheet->addMenu(QStringLiteral("粘贴工作表(&P)"));
    AddAction(sheetPaste, QStringLiteral("在最后粘贴(&L)"), [c] { c->PasteWorkFormAt(0); });
    AddAction(sheetPaste, QStringLiteral("在前粘贴(&B)"), [c] { c->PasteWorkFormAt(1); });
    AddAction(sheetPaste, QStringLiteral("在后粘贴(&A)"), [c] { c->PasteWorkFormAt(2); });
    AddAction(sheet, QStringLiteral("删除工作表(&D)"), [c] { c->DeleteWorkForm(); });
    AddAction(sheet, QStringLiteral("重命名(&R)"), [c] { c->RenameWorkForm(); });
    AddAction(insert, QStringLiteral("图表(&E)..."), object(25));
    AddAction(insert, QStringLiteral("插入表元批注(&N)"), view("InsertCellNote"));
    AddAction(insert, QStringLiteral("页脚(&F)"), view("EditFooter"));
    AddAction(insert, QStringLiteral("页眉(&H)"), view("EditHeader"));
    AddAction(insert, QStringLiteral("页号(&N)..."), view("InsertPageNumber"));
    AddAction(insert, QStringLiteral("符号(&S)..."), [c] { c->InsertSymbol(); });
    AddAction(insert, QStringLiteral("日期和时间(&T)..."), view("InsertDateTime"));
    QMenu* shapes = insert->addMenu(QStringLiteral("图形(&G)"));
    static const struct {
        const char* text;
        int kind;
    } kShapes[] = { { "直线(&A)", 12 }, { "多边形(&C)", 14 }, { "曲线(&D)", 4 }, { "圆(&E)", 1 }, { "矩形(&F)", 17 },
        { "圆角矩形(&G)", 20 }, { "椭圆(&H)", 9 }, { "正多边形(&I)", 15 }, { "十字多边形(&J)", 6 },
        { "四角星(&K)", 10 }, { "五角星(&L)", 13 }, { "圆柱(&M)", 8 }, { "立方体(&N)", 7 }, { "棱锥(&O)", 16 },
        { "圆锥(&P)", 3 }, { "文字圆(&Q)", 22 } };
    for (const auto& s : kShapes)
        AddAction(shapes, QString::fromUtf8(s.text), object(s.kind));
    AddAction(insert, QStringLiteral("文字框(&W)"), object(23));
    AddAction(insert, QStringLiteral("表格(&F)..."), object(21));
    AddAction(insert, QStringLiteral("旋转字(&R)"), object(19));
    QMenu* seals = insert->addMenu(QStringLiteral("印章(&L)"));
    AddAction(seals, QStringLiteral("圆形印章(&C)..."), [c] {
        Warn(kPasswordWarning);
        c->InsertObject(2);
    });
    AddAction(seals, QStringLiteral("方形印章(&R)..."), [c] {
        Warn(kPasswordWarning);
        c->InsertObject(18);
    });
    AddAction(insert, QStringLiteral("图片(&P)..."), object(11));
    QMenu* controls = insert->addMenu(QStringLiteral("控件(&J)"));
    AddAction(controls, QStringLiteral("按钮(&B)"), object(0));
    AddAction(insert, QStringLiteral("水印(&M)..."), object(24));
    AddAction(insert, QStringLiteral("OLE对象(&k)"), object(26));

    // --- 格式 ---
    QMenu* format = menuBar()->addMenu(QStringLiteral(" 格式(&O) "));
    AddAction(format, QStringLiteral("字体(&F)..."), view("FontDialog"));
    AddAction(format, QStringLiteral("段落(&P)..."), view("Paragraph"));

    // --- 工具 ---
    QMenu* tools = menuBar()->addMenu(QStringLiteral(" 工具(&T) "));
    AddAction(tools, QStringLiteral("删除尾空页"), [c] { c->DeleteTrailingEmptyPages(); });
    AddAction(tools, QStringLiteral("置底图"), nullptr);
    QMenu* revisions = tools->addMenu(QStringLiteral("修订(&T)"));
    AddAction(revisions, QStringLiteral("标记修订"), [c] {
        if (c->IsTrackingRevisions()) {
            c->SetTrackRevisions(false);
            c->EndRevisionTracking();
        } else {
            c->SetTrackRevisions(true);
        }
    });
    AddAction(revisions, QStringLiteral("接受或拒绝修订..."), view("AcceptRejectRevisions"));
    QMenu* protect = tools->addMenu(QStringLiteral("保护(&P)"));
    AddAction(protect, QStringLiteral("锁定选中对象(&P)"), [c] { c->SetLockState(1); });
    AddAction(protect, QStringLiteral("绝对锁定选中对象(&A)"), [c] {
        Warn("注意：绝对锁定的对象不能解锁！");
        c->LockAbsolutely();
    });
    QMenu* database = tools->addMenu(QStringLiteral("表格数据库(&D)"));
    for (const char* text : { "建立/编辑数据库(&R)", "设置字段名称(&M)", "首记录(&P)", "前一记录(&H)", "后一记录(&P)",
             "尾记录(&N)", "加空记录(&A)", "保存当前记录(&S)", "删除当前记录(&D)", "浏览/编辑数据(&O)..." })
        AddAction(database, QString::fromUtf8(text), nullptr);

    // --- 数据 ---
    QMenu* data = menuBar()->addMenu(QStringLiteral(" 数据(&D) "));
    AddAction(data, QStringLiteral("排序(&O)..."), view("SortTable"));
    AddAction(data, QStringLiteral("输入公式(&G)..."), view("InputFormula"));
    AddAction(data, QStringLiteral("导入数据(&I)..."), view("ImportData"));

    // --- 表格 ---
    QMenu* table = menuBar()->addMenu(QStringLiteral(" 表格(&G) "));
    AddAction(table, QStringLiteral("插入表格(&I)..."), object(21));
    AddAction(table, QStringLiteral("绘制表格"), view("DrawTableTool"));
    AddAction(table, QStringLiteral("擦表格线"), view("EraseTableLineTool"));
    AddAction(table, QStringLiteral("合并表元(&U)"), view("MergeCells"));
    AddAction(table, QStringLiteral("分解表元(&S)"), view("SplitCell"));
    QMenu* split = table->addMenu(QStringLiteral("分割表格(&P)"));
    AddAction(split, QStringLiteral("水平分割(&H)"), view("SplitTableHorizontally"));
    AddAction(split, QStringLiteral("垂直分割(&V)"), view("SplitTableVertically"));
    QMenu* merge = table->addMenu(QStringLiteral("合并表格(&M)"));
    AddAction(merge, QStringLiteral("水平合并(&H)"), [c] { c->MergeTablesHorizontally(); });
    AddAction(merge, QStringLiteral("垂直合并(&V)"), [c] { c->MergeTablesVertically(); });
    AddAction(table, QStringLiteral("前插一行(&A)"), [c] { c->InsertRow(1); });
    AddAction(table, QStringLiteral("后插一行(&B)"), [c] { c->InsertRow(2); });
    AddAction(table, QStringLiteral("前插一列(&C)"), [c] { c->InsertColumn(1); });
    AddAction(table, QStringLiteral("后插一列(&D)"), [c] { c->InsertColumn(2); });
    AddAction(table, QStringLiteral("删除当前行(&E)"), [c] { c->DeleteCurrentRow(); });
    AddAction(table, QStringLiteral("删除当前列(&F)"), [c] { c->DeleteCurrentColumn(); });
    AddAction(table, QStringLiteral("各行等高(&H)"), view("EqualRowHeights"));
    AddAction(table, QStringLiteral("各列等宽(&W)"), view("EqualColumnWidths"));
    AddAction(table, QStringLiteral("表格外观格式(&0)..."), view("TableLookFormat"));

    // --- 帮助 ---
    QMenu* help = menuBar()->addMenu(QStringLiteral(" 帮助(&H) "));
    AddAction(
        help, QStringLiteral("常见问题(&H)"), [] { QDesktopServices::openUrl(QUrl(QString::fromUtf8(kHelpPage))); });
    AddAction(help, QStringLiteral("自述文本"), [this] { ShowReadMe(); });
    AddAction(help, QStringLiteral("关于(&A)"), [this] { ShowAbout(); });
}

void MainWindow::ShowReadMe()
{
    QDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("自述文本 "));
    dialog.resize(580, 405);
    auto* layout = new QVBoxLayout(&dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* text = new QPlainTextEdit(&dialog);
    text->setReadOnly(true);
    text->setPlainText(QStringLiteral("岚舟文字 V1.1\n\n"
                                      "岚舟文字是处理中文公文、表单和财务表格的文字处理程序。\n"
                                      "一个文档由若干工作表组成，每个工作表有自己的页面设置和页面；\n"
                                      "页面上可以放文字、表格、图形、图片和印章。\n\n"
                                      "文件：*.qwd（旧版为 *.mrl）。也可以打开 RTF 和文本文件。\n"
                                      "命令行：lanzhou [文件…] 打开主窗口；\n"
                                      "lanzhou --convert-to pdf 文件 把文档转换为 PDF，不打开窗口。\n\n"
                                      "窗口设置和最近打开的文件保存在设置文件夹中的“配置项.ini”。"));
    layout->addWidget(text);
    dialog.exec();
}

void MainWindow::ShowAbout()
{
    QDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("关于 岚舟文字"));
    dialog.resize(485, 290);
    auto* layout = new QVBoxLayout(&dialog);
    auto* name = new QLabel(QStringLiteral("岚舟文字"), &dialog);
    QFont big = name->font();
    big.setPointSize(big.pointSize() * 3);
    big.setBold(true);
    name->setFont(big);
    name->setAlignment(Qt::AlignCenter);
    layout->addWidget(name);
    auto* version = new QLabel(QStringLiteral("V1.1\n中文公文、表单和财务表格的文字处理程序"), &dialog);
    version->setAlignment(Qt::AlignCenter);
    layout->addWidget(version);
    dialog.exec();
}

} // namespace mirel
