// End to end: Chinese and Latin body text in two columns over several pages
// is laid out with the installed fonts, written to PDF, and pdftotext gives
// the text back in reading order. One page is also rendered to PNG.
#include "graphics/page_renderer.h"
#include "model/mirel_data.h"
#include "model/table_page.h"
#include "model/work_form.h"
#include "surface/gui_app.h"
#include "text_support.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace mirel;
using mirel::test::Cells;

namespace {

// Text compared without white space and in compatibility form: a Chinese
// font draws some characters and the radicals of the same shape with one
// glyph, which the PDF maps back to the radical (⽂ for 文). Radicals of the
// supplement block have no compatibility form (⻚ for 页): the text avoids
// the few characters drawn like them.
std::string Comparable(const std::string& utf8)
{
    QString text = QString::fromUtf8(utf8).normalized(QString::NormalizationForm_KC);
    text.remove(QRegularExpression("\\s"));
    return text.toStdString();
}

// A paragraph of mixed text, different each time.
std::string Paragraph(int i)
{
    static const char* const kPieces[] = {
        "岚舟文字排版测试，", "中文段落与", "Latin words ", "在两栏之间流动。", "第", "部分的文字",
        "reading order ", "必须保持正确；", "公文格式", "and justification ", "均匀分布。",
    };
    std::string out;
    for (int k = 0; k < 9 + i % 5; ++k)
        out += kPieces[(i * 3 + k) % 11];
    return out + std::to_string(i) + "。";
}

}  // namespace

TEST(PdfOutput, TwoColumnsOverSeveralPagesReadBackInOrder)
{
    test::ensureGuiApp();
    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";

    CMirelData doc;
    CWorkForm& wf = *doc.GetWorkForm(0);
    wf.columnCount = 2;
    wf.GetPage(0)->LayoutColumns(nullptr);
    CTextObj& body = *wf.GetPage(0)->TextColumn(0);
    // pdftotext keeps rows together as one block only while they are less
    // than 1.5 em apart: a line space of 1 mm (rows 4.7 mm apart).
    ParagraphAttributes para;
    para.firstLineIndent = 2;
    para.lineSpace = 10;
    body.GetRow(0)->SetParagraph(para);
    std::string expected;
    TextPosition at;
    for (int i = 0; i < 60; ++i) {
        const std::string text = Paragraph(i);
        if (i)
            at = InsertCells(body, at, Cells("\r"), {});
        at = InsertCells(body, at, Cells(text), {});
        expected += test::Gbk(text);
    }
    LayoutPendingText(doc);
    ASSERT_GE(wf.PageCount(), 3) << "the text should need several pages";

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::filesystem::path pdf = (dir.path() + "/flow.pdf").toStdString();
    std::string error;
    ASSERT_TRUE(WriteDocumentPdf(doc, pdf, &error)) << error;

    QProcess info;
    info.start(QStandardPaths::findExecutable("pdfinfo"), {QString::fromStdString(pdf.string())});
    if (info.waitForFinished(30000)) {
        const QString out = QString::fromUtf8(info.readAllStandardOutput());
        EXPECT_TRUE(out.contains(QRegularExpression("Pages:\\s+" + QString::number(wf.PageCount()) + "\\n")))
            << out.toStdString();
    }

    QProcess proc;
    proc.start(pdftotext, {"-enc", "UTF-8", QString::fromStdString(pdf.string()), "-"});
    ASSERT_TRUE(proc.waitForFinished(60000));
    ASSERT_EQ(proc.exitCode(), 0) << proc.readAllStandardError().toStdString();
    const std::string text = proc.readAllStandardOutput().toStdString();
    const std::string got = Comparable(text);
    const std::string want = Comparable(GbkToUtf8(expected).text);
    if (got != want) {
        // Written out for a look; the assertion shows where they part.
        std::filesystem::copy_file(pdf, std::string(MIREL_BINARY_DIR) + "/text-flow.pdf",
                                   std::filesystem::copy_options::overwrite_existing);
        size_t at = 0;
        while (at < got.size() && at < want.size() && got[at] == want[at])
            ++at;
        at = at > 60 ? at - 60 : 0;
        FAIL() << "extracted text differs near byte " << at << "\n got: " << got.substr(at, 240)
               << "\nwant: " << want.substr(at, 240);
    }

    // A page as an image, kept in the build folder to be looked at.
    const QImage image = RenderPageImage(wf, 1, 100);
    ASSERT_FALSE(image.isNull());
    image.save(QString(MIREL_BINARY_DIR) + "/text-flow-page2.png");
}

TEST(PdfOutput, ReportsFailuresAndWritesEmptyDocuments)
{
    test::ensureGuiApp();
    CMirelData doc;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    std::string error;
    EXPECT_FALSE(WriteDocumentPdf(doc, (dir.path() + "/missing/folder/x.pdf").toStdString(), &error));
    EXPECT_FALSE(error.empty());

    const std::filesystem::path target = (dir.path() + "/doc.pdf").toStdString();
    ASSERT_TRUE(WriteDocumentPdf(doc, target, &error)) << error;
    EXPECT_GT(std::filesystem::file_size(target), 100u);
}
