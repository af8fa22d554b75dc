// MainWindow: the four toolbars, the zoom, font-name and font-size boxes and
// keeping their states in step with the component.
#include "app/main_window.h"
#include "view/o_frame.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QStringList>
#include <QToolBar>

namespace mirel {

namespace {

// The one constant the boxes are filled from: eight zoom entries, then the
// font sizes ("name|points" or a bare number).
constexpr char kBoxItems[]
    = "400%；300%；200%；100%；75%；50%；25%；10%；初号|42；小初号|36；一号|26；小一号|24；二号|22；"
      "小二号|18；三号|16；小三号|15；四号|14；小四号|12；五号|11；小五号|9；六号|8；小六号|7；"
      "七号|6；小七号|5；6；7；8；9；10；13；17；21；28；31；48；72；86；128；168；272；405；524；"
      "624；748";
constexpr int kZoomEntries = 8;

QStringList BoxEntries()
{
    return QString::fromUtf8(kBoxItems).split(QStringLiteral("；"));
}

// A theme icon, or a small painted one showing `glyph` when the theme has
// none.
QIcon ToolIcon(const char* themeName, const QString& glyph, QFont::Weight weight = QFont::Normal, bool italic = false,
    bool underline = false)
{
    QPixmap pixmap(22, 22);
    pixmap.fill(Qt::transparent);
    {
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QColor(0x40, 0x55, 0x80));
        p.setBrush(QColor(0xF4, 0xF7, 0xFC));
        p.drawRoundedRect(QRectF(1.5, 1.5, 19, 19), 3, 3);
        QFont f(QStringLiteral("Noto Sans CJK SC"));
        f.setPixelSize(glyph.size() > 1 ? 10 : 14);
        f.setWeight(weight);
        f.setItalic(italic);
        f.setUnderline(underline);
        p.setFont(f);
        p.setPen(QColor(0x20, 0x30, 0x50));
        p.drawText(QRect(0, 0, 22, 22), Qt::AlignCenter, glyph);
    }
    const QIcon fallback(pixmap);
    return themeName ? QIcon::fromTheme(QString::fromUtf8(themeName), fallback) : fallback;
}

} // namespace

std::vector<BoxItem> ZoomBoxItems()
{
    std::vector<BoxItem> items;
    const QStringList entries = BoxEntries();
    for (int i = 0; i < kZoomEntries && i < entries.size(); ++i) {
        QString number = entries[i];
        number.chop(1);
        items.push_back({ entries[i], number.toInt() });
    }
    return items;
}

std::vector<BoxItem> SizeBoxItems()
{
    std::vector<BoxItem> items;
    const QStringList entries = BoxEntries();
    for (int i = kZoomEntries; i < entries.size(); ++i) {
        const QStringList parts = entries[i].split(QLatin1Char('|'));
        items.push_back({ parts.front(), parts.back().toInt() });
    }
    return items;
}

void MainWindow::BuildToolBars()
{
    MirelControl* c = control_;
    static const char* kNames[4] = { "常用工具", "文本格式工具", "对齐/数据库工具", "表格工具" };
    for (int i = 0; i < 4; ++i) {
        toolBars_[i] = new QToolBar(QString::fromUtf8(kNames[i]), this);
        toolBars_[i]->setObjectName(QStringLiteral("toolbar%1").arg(i + 1));
        toolBars_[i]->setIconSize(QSize(18, 18));
        // One row each, as the four toolbars always stood.
        if (i > 0)
            addToolBarBreak();
        addToolBar(Qt::TopToolBarArea, toolBars_[i]);
        connect(toolBars_[i], &QToolBar::visibilityChanged, this, [this, i](bool on) {
            if (toolbarToggles_[i] && !isMinimized() && !isFullScreen())
                toolbarToggles_[i]->setChecked(on);
        });
    }
    auto add = [this](int bar, const char* role, const char* theme, const QString& glyph, const QString& tip,
                   std::function<void()> run, bool checkable = false) {
        QAction* a = toolBars_[bar]->addAction(ToolIcon(theme, glyph), tip);
        a->setCheckable(checkable);
        if (run)
            connect(a, &QAction::triggered, this, [run] { run(); });
        else
            a->setEnabled(false);
        toolButtons_[role] = a;
        return a;
    };
    auto view = [c](const char* op) { return [c, op] { c->RunCommandOperation(op); }; };
    auto viewSync = [this, c](const char* op) {
        return [this, c, op] {
            c->RunCommandOperation(op);
            SyncCommands();
        };
    };

    // 1 常用工具
    QToolBar* t1 = toolBars_[0];
    add(0, "new", "document-new", QStringLiteral("新"), QStringLiteral("新建"), [this] { New(); });
    add(0, "open", "document-open", QStringLiteral("开"), QStringLiteral("打开"), [this] { Open(); });
    add(0, "save", "document-save", QStringLiteral("存"), QStringLiteral("保存"), [this] { Save(); });
    add(0, "saveexit", "application-exit", QStringLiteral("退"), QStringLiteral("保存并退出"), [this] {
        if (Save())
            close();
    });
    add(0, "mail", "mail-send", QStringLiteral("邮"), QStringLiteral("发送邮件"), [this] {
        if (QAction* a = Action(QStringLiteral("发送邮件(I)...")))
            a->trigger();
    });
    t1->addSeparator();
    add(0, "preview", "document-print-preview", QStringLiteral("览"), QStringLiteral("打印预览"),
        [c] { c->ShowPrintPreview(); });
    add(0, "print", "document-print", QStringLiteral("印"), QStringLiteral("打印"), [c] { c->Print(); });
    t1->addSeparator();
    add(0, "find", "edit-find", QStringLiteral("查"), QStringLiteral("查找"), view("ShowFindDialog"));
    add(0, "cut", "edit-cut", QStringLiteral("剪"), QStringLiteral("剪切"), view("Cut"));
    add(0, "copy", "edit-copy", QStringLiteral("复"), QStringLiteral("复制"), view("Copy"));
    add(0, "paste", "edit-paste", QStringLiteral("贴"), QStringLiteral("粘贴"), view("Paste"));
    t1->addSeparator();
    add(0, "undo", "edit-undo", QStringLiteral("撤"), QStringLiteral("撤消"), view("Undo"));
    add(0, "redo", "edit-redo", QStringLiteral("恢"), QStringLiteral("恢复"), view("Redo"));
    t1->addSeparator();
    add(0, "textbox", nullptr, QStringLiteral("文"), QStringLiteral("文字框"), [c] { c->InsertObject(23); });
    add(0, "table", "insert-table", QStringLiteral("表"), QStringLiteral("表格"), [c] { c->InsertObject(21); });
    add(0, "picture", "insert-image", QStringLiteral("图"), QStringLiteral("图片"), [c] { c->InsertObject(11); });
    add(0, "chart", nullptr, QStringLiteral("柱"), QStringLiteral("图表"), [c] { c->InsertObject(25); });
    t1->addSeparator();
    zoomBox_ = new QComboBox(t1);
    zoomBox_->setEditable(true);
    zoomBox_->setInsertPolicy(QComboBox::NoInsert);
    zoomBox_->setMinimumContentsLength(5);
    zoomBox_->setToolTip(QStringLiteral("显示比例"));
    t1->addWidget(zoomBox_);
    t1->addSeparator();
    add(0, "reload", "view-refresh", QStringLiteral("刷"), QStringLiteral("重新读入当前记录"), nullptr);
    add(0, "fullscreen", "view-fullscreen", QStringLiteral("全"), QStringLiteral("全屏"),
        [this] { ToggleFullScreen(); });

    // 2 文本格式工具
    QToolBar* t2 = toolBars_[1];
    fontBox_ = new QComboBox(t2);
    fontBox_->setMinimumContentsLength(10);
    fontBox_->setMaxVisibleItems(20);
    fontBox_->setToolTip(QStringLiteral("字体"));
    t2->addWidget(fontBox_);
    sizeBox_ = new QComboBox(t2);
    sizeBox_->setMinimumContentsLength(5);
    sizeBox_->setToolTip(QStringLiteral("字号"));
    t2->addWidget(sizeBox_);
    t2->addSeparator();
    auto formatToggle = [this](int32_t TextFormat::*field) {
        return [this, field] {
            textFormat_.*field = textFormat_.*field ? 0 : 1;
            control_->SetTextFormat(textFormat_);
            SyncFormat();
        };
    };
    QAction* bold = add(1, "bold", "format-text-bold", QStringLiteral("B"), QStringLiteral("粗体"),
        formatToggle(&TextFormat::bold), true);
    bold->setIcon(ToolIcon("format-text-bold", QStringLiteral("B"), QFont::Bold));
    QAction* italic = add(1, "italic", "format-text-italic", QStringLiteral("I"), QStringLiteral("斜体"),
        formatToggle(&TextFormat::italic), true);
    italic->setIcon(ToolIcon("format-text-italic", QStringLiteral("I"), QFont::Normal, true));
    QAction* underline = add(1, "underline", "format-text-underline", QStringLiteral("U"), QStringLiteral("下划线"),
        formatToggle(&TextFormat::underline), true);
    underline->setIcon(ToolIcon("format-text-underline", QStringLiteral("U"), QFont::Normal, false, true));
    add(
        1, "shading", nullptr, QStringLiteral("底"), QStringLiteral("底纹"),
        [this, c] {
            c->SetShading(!c->GetShading());
            SyncFormat();
        },
        true);
    add(1, "color", "format-text-color", QStringLiteral("色"), QStringLiteral("文字颜色"),
        [c] { c->ChooseTextColor(1); });
    t2->addSeparator();
    static const char* kAlignThemes[5]
        = { "format-justify-left", "format-justify-center", "format-justify-right", "format-justify-fill", nullptr };
    static const char* kAlignGlyphs[5] = { "左", "中", "右", "两", "散" };
    static const char* kAlignTips[5] = { "左对齐", "居中", "右对齐", "两端对齐", "分散对齐" };
    for (int a = 0; a < 5; ++a) {
        const std::string role = "align" + std::to_string(a);
        add(
            1, role.c_str(), kAlignThemes[a], QString::fromUtf8(kAlignGlyphs[a]), QString::fromUtf8(kAlignTips[a]),
            [this, c, a] {
                c->SetAlignment(a);
                SyncFormat();
            },
            true);
    }
    t2->addSeparator();
    add(
        1, "indent", "format-indent-more", QStringLiteral("缩"), QStringLiteral("首行缩进"),
        [this, c] {
            c->SetFirstLineIndent(!c->GetFirstLineIndent());
            SyncFormat();
        },
        true);
    add(1, "larger", "zoom-in", QStringLiteral("大"), QStringLiteral("增大字号"), [this, c] {
        c->FontSizeLarger();
        SyncFormat();
    });
    add(1, "smaller", "zoom-out", QStringLiteral("小"), QStringLiteral("减小字号"), [this, c] {
        c->FontSizeSmaller();
        SyncFormat();
    });
    add(1, "superscript", nullptr, QStringLiteral("上"), QStringLiteral("上标"), [c] {
        const int p = c->GetScriptPosition();
        c->SetScriptPosition(p == 0 || p == 2 ? 1 : 0);
    });
    add(1, "subscript", nullptr, QStringLiteral("下"), QStringLiteral("下标"), [c] {
        const int p = c->GetScriptPosition();
        c->SetScriptPosition(p == 0 || p == 1 ? 2 : 0);
    });
    t2->addSeparator();
    add(1, "lock", "object-locked", QStringLiteral("锁"), QStringLiteral("锁定选中对象"), [c] { c->SetLockState(1); });

    // 3 对齐/数据库工具
    QToolBar* t3 = toolBars_[2];
    add(2, "a_left", nullptr, QStringLiteral("左"), QStringLiteral("左对齐"), viewSync("AlignLeft"));
    add(2, "a_right", nullptr, QStringLiteral("右"), QStringLiteral("右对齐"), viewSync("AlignRight"));
    add(2, "a_top", nullptr, QStringLiteral("顶"), QStringLiteral("顶对齐"), viewSync("AlignTop"));
    add(2, "a_bottom", nullptr, QStringLiteral("底"), QStringLiteral("底对齐"), viewSync("AlignBottom"));
    t3->addSeparator();
    add(2, "a_middle", nullptr, QStringLiteral("垂"), QStringLiteral("垂直居中"), viewSync("AlignMiddle"));
    add(2, "a_center", nullptr, QStringLiteral("水"), QStringLiteral("水平居中"), viewSync("AlignCenter"));
    t3->addSeparator();
    add(2, "a_across", nullptr, QStringLiteral("横"), QStringLiteral("水平间距相同"), viewSync("SpaceEvenlyAcross"));
    add(2, "a_down", nullptr, QStringLiteral("纵"), QStringLiteral("垂直间距相同"), viewSync("SpaceEvenlyDown"));
    t3->addSeparator();
    add(2, "a_width", nullptr, QStringLiteral("宽"), QStringLiteral("宽度一致"), viewSync("SameWidth"));
    add(2, "a_height", nullptr, QStringLiteral("高"), QStringLiteral("高度一致"), viewSync("SameHeight"));
    add(2, "a_size", nullptr, QStringLiteral("同"), QStringLiteral("大小一致"), viewSync("SameSize"));
    t3->addSeparator();
    add(2, "z_front", "go-top", QStringLiteral("顶"), QStringLiteral("置于顶层"), viewSync("BringToFront"));
    add(2, "z_back", "go-bottom", QStringLiteral("底"), QStringLiteral("置于底层"), viewSync("SendToBack"));
    add(2, "z_forward", "go-up", QStringLiteral("上"), QStringLiteral("上移一层"), viewSync("BringForward"));
    add(2, "z_backward", "go-down", QStringLiteral("下"), QStringLiteral("下移一层"), viewSync("SendBackward"));
    t3->addSeparator();
    // The record database buttons wait for the companion database.
    add(2, "db_edit", nullptr, QStringLiteral("库"), QStringLiteral("建立/编辑数据库"), nullptr);
    t3->addSeparator();
    add(2, "db_first", "go-first", QStringLiteral("首"), QStringLiteral("首记录"), nullptr);
    add(2, "db_prev", "go-previous", QStringLiteral("前"), QStringLiteral("前一记录"), nullptr);
    add(2, "db_next", "go-next", QStringLiteral("后"), QStringLiteral("后一记录"), nullptr);
    add(2, "db_last", "go-last", QStringLiteral("尾"), QStringLiteral("尾记录"), nullptr);
    add(2, "db_add", "list-add", QStringLiteral("加"), QStringLiteral("加空记录"), nullptr);
    add(2, "db_save", nullptr, QStringLiteral("存"), QStringLiteral("保存当前记录"), nullptr);
    add(2, "db_delete", "list-remove", QStringLiteral("删"), QStringLiteral("删除当前记录"), nullptr);
    t3->addSeparator();
    add(2, "db_browse", nullptr, QStringLiteral("浏"), QStringLiteral("浏览/编辑数据"), nullptr);

    // 4 表格工具
    QToolBar* t4 = toolBars_[3];
    add(3, "t_draw", nullptr, QStringLiteral("绘"), QStringLiteral("绘制表格"), viewSync("DrawTableTool"));
    add(3, "t_erase", nullptr, QStringLiteral("擦"), QStringLiteral("擦表格线"), viewSync("EraseTableLineTool"));
    add(3, "t_merge", nullptr, QStringLiteral("合"), QStringLiteral("合并表元"), viewSync("MergeCells"));
    add(3, "t_split", nullptr, QStringLiteral("分"), QStringLiteral("分解表元"), viewSync("SplitCell"));
    t4->addSeparator();
    add(3, "t_hsplit", nullptr, QStringLiteral("横"), QStringLiteral("水平分割"), viewSync("SplitTableHorizontally"));
    add(3, "t_hmerge", nullptr, QStringLiteral("并"), QStringLiteral("水平合并"), [this, c] {
        c->MergeTablesHorizontally();
        SyncCommands();
    });
    add(3, "t_vsplit", nullptr, QStringLiteral("竖"), QStringLiteral("垂直分割"), viewSync("SplitTableVertically"));
    add(3, "t_vmerge", nullptr, QStringLiteral("联"), QStringLiteral("垂直合并"), [this, c] {
        c->MergeTablesVertically();
        SyncCommands();
    });
    t4->addSeparator();
    add(3, "t_rowbefore", nullptr, QStringLiteral("行"), QStringLiteral("前插一行"), [this, c] {
        c->InsertRow(1);
        SyncCommands();
    });
    add(3, "t_rowafter", nullptr, QStringLiteral("行"), QStringLiteral("后插一行"), [this, c] {
        c->InsertRow(2);
        SyncCommands();
    });
    add(3, "t_rowdelete", nullptr, QStringLiteral("删"), QStringLiteral("删除当前行"), [this, c] {
        c->DeleteCurrentRow();
        SyncCommands();
    });
    t4->addSeparator();
    add(3, "t_colbefore", nullptr, QStringLiteral("列"), QStringLiteral("前插一列"), [this, c] {
        c->InsertColumn(1);
        SyncCommands();
    });
    add(3, "t_colafter", nullptr, QStringLiteral("列"), QStringLiteral("后插一列"), [this, c] {
        c->InsertColumn(2);
        SyncCommands();
    });
    add(3, "t_coldelete", nullptr, QStringLiteral("删"), QStringLiteral("删除当前列"), [this, c] {
        c->DeleteCurrentColumn();
        SyncCommands();
    });
    t4->addSeparator();
    static const char* kVAlign[3] = { "上", "中", "下" };
    static const char* kVAlignTips[3] = { "表元内容靠上", "表元内容垂直居中", "表元内容靠下" };
    for (int v = 0; v < 3; ++v) {
        const std::string role = "t_valign" + std::to_string(v);
        add(3, role.c_str(), nullptr, QString::fromUtf8(kVAlign[v]), QString::fromUtf8(kVAlignTips[v]), [this, c, v] {
            c->SetCellVerticalAlignment({}, v);
            SyncCommands();
        });
    }
    t4->addSeparator();
    add(3, "t_rows", nullptr, QStringLiteral("等"), QStringLiteral("各行等高"), viewSync("EqualRowHeights"));
    add(3, "t_cols", nullptr, QStringLiteral("齐"), QStringLiteral("各列等宽"), viewSync("EqualColumnWidths"));
    t4->addSeparator();
    add(3, "t_formula", nullptr, QStringLiteral("式"), QStringLiteral("输入公式"), viewSync("InputFormula"));
    add(3, "t_look", nullptr, QStringLiteral("样"), QStringLiteral("表格外观格式"), viewSync("TableLookFormat"));
}

void MainWindow::FillBoxes()
{
    for (const BoxItem& item : ZoomBoxItems())
        zoomBox_->addItem(item.text, item.value);
    zoomBox_->setCurrentIndex(3);
    for (const BoxItem& item : SizeBoxItems())
        sizeBox_->addItem(item.text, item.value);
    const QStringList families
        = QString::fromStdString(control_->GetFontList()).split(QLatin1Char('|'), Qt::SkipEmptyParts);
    fontBox_->addItems(families);
    if (fontBox_->findText(QStringLiteral("宋体")) < 0)
        fontBox_->insertItem(0, QStringLiteral("宋体"));
    fontBox_->setCurrentIndex(fontBox_->findText(QStringLiteral("宋体")));

    connect(zoomBox_, &QComboBox::activated, this, [this](int index) {
        if (!syncing_)
            control_->SetZoomPercent(zoomBox_->itemData(index).toInt());
        control_->setFocus();
    });
    connect(zoomBox_->lineEdit(), &QLineEdit::returnPressed, this, [this] {
        QString text = zoomBox_->currentText().trimmed();
        if (text.endsWith(QLatin1Char('%')))
            text.chop(1);
        bool ok = false;
        const int percent = text.toInt(&ok);
        if (!ok || !control_->SetZoomPercent(percent))
            SyncZoom();
        control_->setFocus();
    });
    auto applyFormat = [this](int) {
        if (!syncing_)
            ApplyFormatBoxes();
        control_->setFocus();
    };
    connect(fontBox_, &QComboBox::activated, this, applyFormat);
    connect(sizeBox_, &QComboBox::activated, this, applyFormat);
}

void MainWindow::ApplyFormatBoxes()
{
    textFormat_.size = sizeBox_->currentData().toInt();
    textFormat_.faceName = fontBox_->currentText().toStdString();
    control_->SetTextFormat(textFormat_);
}

void MainWindow::SyncFormat()
{
    textFormat_ = control_->GetTextFormat();
    syncing_ = true;
    const int face = fontBox_->findText(QString::fromStdString(textFormat_.faceName));
    if (face >= 0)
        fontBox_->setCurrentIndex(face);
    const int size = sizeBox_->findData(textFormat_.size);
    if (size >= 0)
        sizeBox_->setCurrentIndex(size);
    syncing_ = false;
    toolButtons_["bold"]->setChecked(textFormat_.bold != 0);
    toolButtons_["italic"]->setChecked(textFormat_.italic != 0);
    toolButtons_["underline"]->setChecked(textFormat_.underline != 0);
    toolButtons_["shading"]->setChecked(control_->GetShading());
    toolButtons_["indent"]->setChecked(control_->GetFirstLineIndent());
    const int alignment = control_->GetAlignment();
    for (int a = 0; a < 5; ++a)
        toolButtons_["align" + std::to_string(a)]->setChecked(alignment == a);
}

void MainWindow::SyncCommands()
{
    MirelControl* c = control_;
    const bool multiple = c->HasMultipleSelection();
    for (const char* role : { "a_left", "a_right", "a_top", "a_bottom", "a_width", "a_height", "a_size" })
        toolButtons_[role]->setEnabled(multiple);
    toolButtons_["a_middle"]->setEnabled(c->HasSelection());
    toolButtons_["a_center"]->setEnabled(c->HasSelection());
    toolButtons_["a_across"]->setEnabled(c->HasThreeOrMore());
    toolButtons_["a_down"]->setEnabled(c->HasThreeOrMore());
    toolButtons_["z_front"]->setEnabled(c->CanBringForward());
    toolButtons_["z_forward"]->setEnabled(c->CanBringForward());
    toolButtons_["z_back"]->setEnabled(c->CanSendBackward());
    toolButtons_["z_backward"]->setEnabled(c->CanSendBackwardNonChart());

    const bool table = c->GetSelectionKind() == 2;
    for (const char* role : { "t_draw", "t_erase", "t_valign0", "t_valign1", "t_valign2", "t_formula", "t_look" })
        toolButtons_[role]->setEnabled(table);
    fillMenu_->setEnabled(c->CanFill());
    toolButtons_["t_hsplit"]->setEnabled(c->CanSplitTableHorizontally());
    toolButtons_["t_vsplit"]->setEnabled(c->CanSplitTableVertically());
    toolButtons_["t_hmerge"]->setEnabled(c->CanMergeTables());
    toolButtons_["t_vmerge"]->setEnabled(c->CanMergeTablesStrict());
    toolButtons_["t_rows"]->setEnabled(c->IsTableCurrent());
    toolButtons_["t_cols"]->setEnabled(c->IsTableCurrent());
    toolButtons_["t_rowdelete"]->setEnabled(c->CanDeleteRow());
    toolButtons_["t_coldelete"]->setEnabled(c->CanDeleteColumn());
    for (const char* role : { "t_rowbefore", "t_rowafter", "t_colbefore", "t_colafter", "t_split" })
        toolButtons_[role]->setEnabled(c->CanSplitCell());
    toolButtons_["t_merge"]->setEnabled(c->CanMergeCells());

    COFrame* frame = c->Frame();
    toolButtons_["undo"]->setEnabled(frame->IsCommandEnabled(57643));
    toolButtons_["redo"]->setEnabled(frame->IsCommandEnabled(57644));
    UpdateCaption();
}

void MainWindow::ToggleFullScreen()
{
    const bool enter = !isFullScreen();
    // The window changes state first, so that hiding the toolbars is not
    // taken for the user switching them off.
    if (enter)
        showFullScreen();
    else
        showNormal();
    menuBar()->setVisible(!enter);
    for (int i = 0; i < 4; ++i)
        if (toolbarToggles_[i]->isChecked())
            toolBars_[i]->setVisible(!enter);
    control_->setFocus();
}

} // namespace mirel
