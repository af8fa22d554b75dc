// Importing plain text: the whole file is read and decoded at once (GBK, or
// UTF-8/UTF-16 with a byte-order mark), line ends become paragraph marks,
// and hostile bytes never reach the text engine as anything but "?".
#include "io_fixture.h"
#include "persist/document_source.h"
#include "persist/text_import.h"
#include "platform/cells.h"
#include "platform/gbk.h"
#include "platform/messages.h"
#include "text/text_edit.h"
#include "text/text_obj.h"

#include <sys/stat.h>

namespace mirel::test {
namespace {

namespace fs = std::filesystem;

// "中文" in GBK and in UTF-8.
const std::string kZhongWenGbk = "\xD6\xD0\xCE\xC4";
const std::string kZhongWenUtf8 = "\xE4\xB8\xAD\xE6\x96\x87";

std::string Cells(std::string_view gbk)
{
    return ToCells(gbk, false);
}

// The paragraphs of a text column as GBK text (a leading empty one, the
// first paragraph's own mark, left out).
std::vector<std::string> Paragraphs(const CTextObj& column)
{
    const std::string cells = GetAllCells(column);
    std::vector<std::string> paragraphs(1);
    std::string current;
    for (size_t i = 0; i + 1 < cells.size(); i += 2) {
        if (cells[i] == '\r' && cells[i + 1] == 0)
            paragraphs.emplace_back();
        else
            paragraphs.back() += FromCells(cells.substr(i, 2), false);
    }
    if (paragraphs.size() > 1 && paragraphs.front().empty())
        paragraphs.erase(paragraphs.begin());
    return paragraphs;
}

TEST(TextDecoding, TurnsBytesIntoCells)
{
    struct Case {
        const char* what;
        std::string bytes;
        std::string gbk;   // the expected text before it becomes cells
        TextEncoding encoding;
        size_t replaced;
    };
    const Case cases[] = {
        {"CR LF", "ab\r\ncd", "ab\rcd", TextEncoding::Gbk, 0},
        {"LF and CR alone", "a\nb\rc\r\n\r\n", "a\rb\rc\r\r", TextEncoding::Gbk, 0},
        {"GBK", "x" + kZhongWenGbk + "\r\n" + kZhongWenGbk, "x" + kZhongWenGbk + "\r" + kZhongWenGbk,
         TextEncoding::Gbk, 0},
        {"zero bytes and controls go, tabs stay", std::string("a\0b\x16" "c\td\x0C", 8), "abc\td",
         TextEncoding::Gbk, 0},
        // A trail byte may be "\\" or a letter: it stays with its lead byte.
        {"trail bytes that look like ASCII", "\x81\x5C\x81\x41", "\x81\x5C\x81\x41", TextEncoding::Gbk, 0},
        {"a lead byte before a line end", "a\xD6\r\nb", "a?\rb", TextEncoding::Gbk, 1},
        {"a lead byte at the end", "a\xD6", "a?", TextEncoding::Gbk, 1},
        {"bytes that start nothing", "\x80" "a\xFF", "?a?", TextEncoding::Gbk, 2},
        {"UTF-8 with a mark", "\xEF\xBB\xBF" + kZhongWenUtf8 + "\r\nok", kZhongWenGbk + "\rok", TextEncoding::Utf8, 0},
        {"UTF-8 beyond GBK", "\xEF\xBB\xBF" "a\xF0\x9F\x98\x80", "a?", TextEncoding::Utf8, 1},
        {"UTF-16LE with a mark", std::string("\xFF\xFE\x2D\x4E\x87\x65\x0A\x00" "A\x00", 10), kZhongWenGbk + "\rA",
         TextEncoding::Utf16LE, 0},
        {"UTF-16BE with a mark and half a unit", std::string("\xFE\xFF\x4E\x2D\x00", 5), "\xD6\xD0",
         TextEncoding::Utf16BE, 1},
        {"empty", "", "", TextEncoding::Gbk, 0},
    };
    for (const Case& c : cases) {
        const DecodedText got = DecodeTextForImport(c.bytes);
        EXPECT_EQ(got.cells, Cells(c.gbk)) << c.what;
        EXPECT_EQ(got.cells.size() % 2, 0u) << c.what;
        EXPECT_EQ(got.encoding, c.encoding) << c.what;
        EXPECT_EQ(got.replaced, c.replaced) << c.what;
    }
}

using TextFileTest = DocumentIoTest;

TEST_F(TextFileTest, ReadsTheWholeFileSoNoCharacterIsSplit)
{
    // 600 bytes of GBK with a double-byte character on bytes 254 and 255
    // (0-based), where a reader in blocks of 255 bytes would cut it.
    std::string text = std::string(254, 'a') + kZhongWenGbk;
    while (text.size() < 600)
        text += "b\xD6\xD0";
    ASSERT_EQ(text.size(), 600u);
    ASSERT_EQ(text.substr(254, 2), "\xD6\xD0");
    Write(Path("long.txt"), text);

    std::string bytes;
    ASSERT_TRUE(ReadTextFile(Path("long.txt"), bytes).ok());
    EXPECT_EQ(bytes, text);
    const DecodedText got = DecodeTextForImport(bytes);
    EXPECT_EQ(got.replaced, 0u);
    EXPECT_EQ(FromCells(got.cells, false), text);
}

TEST_F(TextFileTest, RefusesWhatIsNoReadableTextFile)
{
    std::string bytes = "left alone";
    Write(Path("big.txt"), std::string(1001, 'x'));
    FileOutcome out = ReadTextFile(Path("big.txt"), bytes, 1000);
    EXPECT_FALSE(out.ok());
    EXPECT_EQ(out.message, "文本文件太大，不能导入：big.txt");
    EXPECT_TRUE(bytes.empty());
    EXPECT_TRUE(ReadTextFile(Path("big.txt"), bytes, 1001).ok());

    // Past the real limit: a sparse file costs nothing to make.
    {
        std::ofstream(Path("huge.txt")).close();
        fs::resize_file(Path("huge.txt"), kMaxTextImportBytes + 1);
    }
    out = ReadTextFile(Path("huge.txt"), bytes);
    EXPECT_EQ(out.message, "文本文件太大，不能导入：huge.txt");

    ASSERT_EQ(::mkfifo(Path("pipe.txt").c_str(), 0600), 0);   // never waits for a writer
    EXPECT_EQ(ReadTextFile(Path("pipe.txt"), bytes).message, "不是文件：pipe.txt");
    EXPECT_EQ(ReadTextFile(Path("absent.txt"), bytes).message, Message(61729));
    EXPECT_FALSE(ReadTextFile("", bytes).ok());

    Write(Path("locked.txt"), "secret");
    ::chmod(Path("locked.txt").c_str(), 0);
    if (::geteuid() != 0) {
        EXPECT_EQ(ReadTextFile(Path("locked.txt"), bytes).message, Message(41550));
    }

    // Through the open: refused before the document is touched.
    const Snapshot before = Take();
    EXPECT_FALSE(files_.OpenFile(Path("huge.txt")));
    EXPECT_EQ(LastMessage(), "文本文件太大，不能导入：huge.txt");
    EXPECT_FALSE(SaveQuestionAsked());
    EXPECT_EQ(Take(), before);
}

TEST_F(TextFileTest, OpensTextFilesAsTemporaryCopies)
{
    const std::string gbk = "\xB5\xDA\xD2\xBB\xB6\xCE\r\n" + kZhongWenGbk + " and ASCII\r\nthird";   // 第一段
    Write(Path("A.TXT"), gbk);
    const Snapshot before = Take();
    ASSERT_TRUE(files_.OpenFile(Path("A.TXT"))) << LastMessage();
    EXPECT_TRUE(SaveQuestionAsked());
    const CTextObj* column = FirstTextColumn(doc_);
    ASSERT_NE(column, nullptr);
    EXPECT_EQ(Paragraphs(*column),
              (std::vector<std::string>{"\xB5\xDA\xD2\xBB\xB6\xCE", kZhongWenGbk + " and ASCII", "third"}));
    EXPECT_EQ(column->PositionToOffset(column->caret), column->PositionToOffset(column->EndPosition()));
    EXPECT_EQ(doc_.GetPathName(), Path("A.TXT"));
    EXPECT_EQ(doc_.isTempCopy, 1);
    EXPECT_FALSE(doc_.IsModified());
    EXPECT_EQ(doc_.WorkFormCount(), 1);
    EXPECT_NE(Take(), before);

    // The imported document is a sound one: it survives the native file.
    CMirelData again;
    ASSERT_TRUE(ReadNativeBytes(NativeBytes(doc_), again).ok());
    EXPECT_EQ(Paragraphs(*FirstTextColumn(again)), Paragraphs(*column));

    // Saving under the text file's own name asks for a new one and never
    // writes the native format over the text file.
    prompt_.QueueText(std::nullopt);
    EXPECT_FALSE(files_.SaveDocument(Path("A.TXT")));
    EXPECT_EQ(Read(Path("A.TXT")), gbk);
}

TEST_F(TextFileTest, ImportsUtf8WithAMarkAndLongGbkIntact)
{
    Write(Path("u.txt"), "\xEF\xBB\xBF" + kZhongWenUtf8 + "\nline");
    ASSERT_TRUE(files_.OpenFile(Path("u.txt"))) << LastMessage();
    EXPECT_EQ(Paragraphs(*FirstTextColumn(doc_)), (std::vector<std::string>{kZhongWenGbk, "line"}));

    std::string text = std::string(254, 'a') + kZhongWenGbk;
    while (text.size() < 600)
        text += "b\xD6\xD0";
    Write(Path("long.txt"), text);
    ASSERT_TRUE(files_.OpenFile(Path("long.txt"))) << LastMessage();
    EXPECT_EQ(Paragraphs(*FirstTextColumn(doc_)), std::vector<std::string>{text});

    Write(Path("empty.txt"), "");
    ASSERT_TRUE(files_.OpenFile(Path("empty.txt"))) << LastMessage();
    EXPECT_EQ(Paragraphs(*FirstTextColumn(doc_)), std::vector<std::string>{""});
    EXPECT_EQ(doc_.GetPathName(), Path("empty.txt"));
}

TEST_F(TextFileTest, LoadsTextForTheCommandLine)
{
    Write(Path("a.txt"), "one\r\ntwo");
    LoadedDocument got = LoadDocumentFile(Path("a.txt"));
    ASSERT_TRUE(got.document) << got.error;
    EXPECT_EQ(Paragraphs(*FirstTextColumn(*got.document)), (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(got.document->isTempCopy, 1);
}

}  // namespace
}  // namespace mirel::test
