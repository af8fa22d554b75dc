// The bytes of the native file: a new document byte for byte, round trips
// that must reproduce the input exactly, and the version gates.
#include "model/basic_obj.h"
#include "model/class_registry.h"
#include "model/doc_info.h"
#include "model/mirel_data.h"
#include "model/table_page.h"
#include "model/work_form.h"
#include "persist/archive.h"
#include "persist/native_file.h"
#include "platform/messages.h"
#include "platform/prompt.h"
#include "support/bytes.h"
#include "text/text_obj.h"

#include <gtest/gtest.h>

using mirel::test::Bytes;
using mirel::test::Hex;

namespace {

const std::string kSheet1 = "\xB9\xA4\xD7\xF7\xB1\xED\x31";   // 工作表1
const std::string kSong = "\xCB\xCE\xCC\xE5";                  // 宋体

// The record of a text column of a new A4 page with margins of 200, once
// the classes CTextObj, CTextRow, CSentence and CAttrib_Int are described
// with the indices given.
void NewColumnRecord(Bytes& b)
{
    b.newClass(2000, "CTextObj");
    b.rect(200, 200, 1900, 2770).i32(0).i32(0).i32(1);   // rect, lock, noPrint, noFill
    b.u16(1).newClass(2000, "CTextRow").rect(0, 0, 0, 0).u16(0);   // one row, no paragraph attributes
    b.u16(1).newClass(2000, "CSentence").rect(0, 0, 0, 0).u16(0).u8(0);   // one empty sentence
    // Margins of 15 differ from the file's reference of 5: written 18, 17, 16.
    b.u16(3).newClass(2000, "CAttrib_Int").u16(18).i32(15);
    b.u16(0x8000 + 11).u16(17).i32(15);
    b.u16(0x8000 + 11).u16(16).i32(15);
}

void WorkFormFields(Bytes& b, const std::string& name, int id)
{
    b.i32(id).str(name).u16(0);                        // id, name, no background picture
    b.i32(2100).i32(2970).i32(1);                      // page size, orientation
    b.i32(200).i32(200).i32(200).i32(200);             // margins
    b.u32(0xFFFFFF).i32(1).i32(100);                   // paper colour, zoom mode, zoom
    b.u16(0).u16(0);                                   // no header, no footer
    b.i32(0).i32(5).i32(1).i32(0);                     // page numbers
    b.i32(150).i32(170).i32(0);                        // head, foot margins, reserved
    b.i32(1).i32(65).i32(0).i32(1).u32(0xC0C0C0).i32(1);   // columns
    b.u8(0);                                           // no sheet password
    b.u8(0).str(kSong).u16(5000).u32(0xE1E1E1).i32(0);   // watermark
    b.i32(0).i32(0).i32(0);                            // object counter, total, below footer
}

}  // namespace

TEST(DocumentBytes, NewDocumentIsExactlyTheDocumentedHeaderAndRecords)
{
    CMirelData doc;
    const std::string bytes = mirel::NativeBytes(doc);

    Bytes b;
    b.u16(1).str(doc.noticeText).u16(2005).u16(134).i32(1).u8(0).i32(0).u8(0);
    b.u16(1).newClass(2005, "CWorkForm");
    b.u16(1).newClass(2002, "CTablePage").rect(0, 0, 0, 0).i32(0).i32(0);
    b.u16(1);
    NewColumnRecord(b);
    b.u16(0).u16(0);   // no objects above or below the text
    WorkFormFields(b, kSheet1, 0xE900);
    b.u16(1).newClass(2002, "CDocInfo").u32(0x3F800000);   // docVersion 1.0
    for (int i = 0; i < 8; ++i)
        b.u8(0);   // eight empty strings (no Owner or CompanyName in the test profile)
    b.u16(0).i32(0).u8(0);   // no extra records, no revision marking, no reviser styles

    EXPECT_EQ(Hex(bytes), Hex(b.str()));
    // The work form's name as GBK bytes.
    EXPECT_NE(bytes.find("\x07" + kSheet1), std::string::npos);
}

TEST(DocumentBytes, SecondWorkFormUsesTheClassIndexOfTheFirst)
{
    CMirelData doc;
    auto wf = doc.CreateWorkForm(doc.NextWorkFormId() + 1, doc.NextWorkFormName());
    doc.AddWorkForm(std::move(wf));
    const std::string bytes = mirel::NativeBytes(doc);

    // The first CWorkForm takes class index 1, so the second one is tagged 0x8001.
    const std::string first = Bytes().u16(2).newClass(2005, "CWorkForm").str();
    ASSERT_NE(bytes.find(first), std::string::npos);
    const std::string kSheet2 = "\xB9\xA4\xD7\xF7\xB1\xED\x32";
    const size_t second = bytes.find(std::string("\x01\x80", 2) + std::string("\x01\x00", 2) + std::string("\x03\x80", 2));
    EXPECT_NE(second, std::string::npos) << "0x8001, one page, page class 0x8003";
    EXPECT_NE(bytes.find("\x07" + kSheet2), std::string::npos);
}

namespace {

// A container that owns one child and points at it a second time, to show
// an object stored from two places: written once, then by its index.
class CTestHolder : public CBasicObj {
    MIREL_DECLARE_CLASS(CTestHolder)
public:
    std::unique_ptr<CBasicObj> owned;
    CBasicObj* link = nullptr;
    void Serialize(mirel::Archive& ar) override
    {
        SerializeBase(ar);
        if (ar.IsStoring()) {
            ar.WriteObject(owned.get());
            ar.WriteObject(link);
        } else {
            owned = ar.ReadOwned<CBasicObj>();
            link = ar.ReadLink<CBasicObj>();
        }
    }
};
MIREL_IMPLEMENT_CLASS(CTestHolder, &CBasicObj::kClass, 2000)

struct RegisterHolder {
    RegisterHolder() { mirel::ClassRegistry::Instance().Register(&CTestHolder::kClass); }
} registerHolder;

std::unique_ptr<CMirelData> RichDocument()
{
    auto doc = std::make_unique<CMirelData>();
    doc->filePassword = "abc123";
    doc->protectType = 2;
    doc->protectPassword = "fill";
    CWorkForm* first = doc->GetWorkForm(0);
    first->watermarkText = "\xC3\xDC";   // 密
    first->watermarkHorizontal = 1;
    first->sheetPassword = "sheet";
    first->AddPage();

    auto holder = std::make_unique<CTestHolder>();
    holder->SetRect(100, 100, 400, 300);
    holder->owned = std::make_unique<CTextObj>();
    holder->owned->SetRect(10, 10, 90, 40);
    holder->link = holder->owned.get();
    first->GetPage(1)->AddObject(std::move(holder));

    auto below = std::make_unique<CTextObj>();
    below->SetRect(300, 300, 600, 500);
    below->SetBelowText();
    below->SetLock(1);
    first->GetPage(1)->AddObject(std::move(below));

    auto second = doc->CreateWorkForm(doc->NextWorkFormId() + 1, doc->NextWorkFormName());
    second->columnCount = 3;
    second->GetPage(0)->LayoutColumns(nullptr);
    doc->AddWorkForm(std::move(second));
    doc->GetDocInfo()->title = "\xB1\xEA\xCC\xE2";   // 标题
    // As after the first load: objects named and the counter kept.
    first->objectCounter = 2;
    first->GetPage(1)->Objects()[1]->SetName("Obj2");
    return doc;
}

}  // namespace

TEST(DocumentBytes, ReadingAndWritingAgainReproducesTheBytes)
{
    auto doc = RichDocument();
    const std::string bytes = mirel::NativeBytes(*doc);

    CMirelData again;
    ASSERT_TRUE(mirel::ReadNativeBytes(bytes, again, "abc123").ok());
    EXPECT_EQ(Hex(mirel::NativeBytes(again)), Hex(bytes));

    // What was read is what was written.
    ASSERT_EQ(again.WorkFormCount(), 2);
    const CWorkForm* wf = again.GetWorkForm(0);
    EXPECT_EQ(wf->watermarkText, "\xC3\xDC");
    EXPECT_EQ(wf->sheetPassword, "sheet");
    EXPECT_EQ(again.filePassword, "abc123");
    EXPECT_EQ(again.protectType, 2);
    const auto& objects = wf->GetPage(1)->Objects();
    ASSERT_EQ(objects.size(), 2u);
    const auto* holder = mirel::DynamicCast<CTestHolder>(objects[0].get());
    ASSERT_NE(holder, nullptr);
    EXPECT_EQ(holder->link, holder->owned.get()) << "the second place refers to the same object";
    EXPECT_FALSE(objects[1]->IsAboveText());
    EXPECT_EQ(objects[1]->GetLock(), 1);
    EXPECT_EQ(again.GetWorkForm(1)->GetPage(0)->TextColumns().size(), 3u);
    EXPECT_EQ(again.GetWorkForm(1)->GetPage(0)->TextColumn(2)->GetFlowIndex(), 2);
}

TEST(DocumentBytes, SharedObjectIsWrittenOnceThenByIndex)
{
    auto doc = RichDocument();
    const std::string bytes = mirel::NativeBytes(*doc);
    // The holder's child is a new CTextObj (class already described, so a
    // 0x80nn tag); the link right after the child's record is a plain index.
    ASSERT_NE(bytes.find(Bytes().newClass(2000, "CTestHolder").str()), std::string::npos);
    // The child's record (its rectangle) is written once.
    const std::string childRect = Bytes().rect(10, 10, 90, 40).str();
    ASSERT_NE(bytes.find(childRect), std::string::npos);
    EXPECT_EQ(bytes.find(childRect), bytes.rfind(childRect));
}

TEST(DocumentBytes, WrongFilePasswordIsRefusedWithoutAsking)
{
    auto doc = RichDocument();
    const std::string bytes = mirel::NativeBytes(*doc);
    CMirelData target;
    target.GetWorkForm(0)->name = "mine";
    const auto out = mirel::ReadNativeBytes(bytes, target, "wrong", false);
    EXPECT_EQ(out.status, mirel::FileOutcome::Status::Refused);
    EXPECT_EQ(target.GetWorkForm(0)->name, "mine") << "a refused read leaves the document as it was";
}

TEST(DocumentBytes, FilePasswordIsAskedUntilRightOrCancelled)
{
    auto doc = RichDocument();
    const std::string bytes = mirel::NativeBytes(*doc);
    mirel::ScriptedPrompt prompt;
    mirel::ScopedPrompt scope(prompt);
    prompt.QueueText("nope");
    prompt.QueueText("abc123");
    CMirelData target;
    ASSERT_TRUE(mirel::ReadNativeBytes(bytes, target, "", true).ok());
    ASSERT_EQ(prompt.Calls().size(), 3u);
    EXPECT_EQ(prompt.Calls()[0].caption, mirel::Message(41669));
    EXPECT_EQ(prompt.Calls()[1].text, mirel::Message(41668));

    prompt.ClearCalls();
    CMirelData other;
    EXPECT_EQ(mirel::ReadNativeBytes(bytes, other, "", true).status, mirel::FileOutcome::Status::Refused);
}

namespace {
// The header of a file of the given version, as its version writes it,
// followed by the work-form and information arrays of `body`.
std::string FileOfVersion(int version, int32_t storedProtect, const std::string& arrays)
{
    Bytes b;
    b.u16(1).str("notice").u16(static_cast<uint16_t>(version));
    if (version >= 2001)
        b.u16(134).i32(1);
    if (version >= 2002)
        b.u8(0);
    b.i32(storedProtect).u8(0);
    return b.str() + arrays;
}

// The two object arrays of a new document, which follow the header.
std::string NewDocumentArrays()
{
    CMirelData doc;
    const std::string bytes = mirel::NativeBytes(doc);
    const size_t header = 2 + 1 + doc.noticeText.size() + 2 + 2 + 4 + 1 + 4 + 1;
    return bytes.substr(header);
}
}  // namespace

TEST(DocumentBytes, VersionGates)
{
    struct Case {
        int version;
        int32_t storedProtect;
        bool accepted;
        int protectType;
    };
    const Case cases[] = {
        {2000, 0, true, 1},   // version 2000 stores the protection inverted
        {2000, 1, true, 0},
        {2001, 1, true, 1},
        {2004, 2, true, 2},
        {2005, 0, true, 0},
        {2006, 0, false, 0},   // newer than this program: refused
    };
    const std::string arrays = NewDocumentArrays();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        mirel::ScriptedPrompt prompt;
        mirel::ScopedPrompt scope(prompt);
        CMirelData doc;
        const std::string file = FileOfVersion(c.version, c.storedProtect, arrays);
        mirel::Archive ar(file);
        EXPECT_EQ(doc.Serialize(ar), c.accepted);
        EXPECT_EQ(doc.protectType, c.protectType);
        EXPECT_EQ(doc.WorkFormCount(), 1);
        if (!c.accepted) {
            ASSERT_EQ(prompt.Calls().size(), 1u);
            EXPECT_EQ(prompt.Calls()[0].text, mirel::Message(41654));
            EXPECT_EQ(prompt.Calls()[0].icon, mirel::PromptIcon::Error);
            EXPECT_EQ(doc.GetWorkForm(0)->PageCount(), 1);
        }
    }
}
