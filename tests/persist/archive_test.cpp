// The archive stream: encodings of strings and counts, the object-reference
// protocol, and the refusal of inconsistent streams.
#include "model/basic_obj.h"
#include "model/class_registry.h"
#include "model/work_form.h"
#include "persist/archive.h"
#include "persist/password.h"
#include "support/bytes.h"
#include "text/text_obj.h"

#include <gtest/gtest.h>

using mirel::Archive;
using mirel::ArchiveError;
using mirel::test::Bytes;
using mirel::test::Hex;

TEST(Archive, CountedStringLengthForms)
{
    struct Case {
        size_t length;
        std::string prefix;
    };
    const Case cases[] = {
        {0, Bytes().u8(0)},
        {254, Bytes().u8(254)},
        {255, Bytes().u8(0xFF).u16(255)},
        {65533, Bytes().u8(0xFF).u16(65533)},
        {65534, Bytes().u8(0xFF).u16(0xFFFF).u32(65534)},
        {70000, Bytes().u8(0xFF).u16(0xFFFF).u32(70000)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        const std::string text(c.length, 'x');
        Archive out;
        out.WriteString(text);
        const std::string& bytes = out.Buffer();
        ASSERT_EQ(bytes.size(), c.prefix.size() + c.length);
        EXPECT_EQ(Hex(bytes.substr(0, c.prefix.size())), Hex(c.prefix));
        Archive in(bytes);
        EXPECT_EQ(in.ReadString(), text);
        EXPECT_EQ(in.Remaining(), 0u);
    }
}

TEST(Archive, WideStringIsReadAsGbk)
{
    // 0xFF 0xFFFE announces UTF-16; then the length in the ordinary form.
    const std::string bytes = Bytes().u8(0xFF).u16(0xFFFE).u8(3).u16(u'工').u16(u'作').u16('A');
    Archive in(bytes);
    EXPECT_EQ(Hex(in.ReadString()), Hex("\xB9\xA4\xD7\xF7" "A"));
}

TEST(Archive, CountForms)
{
    for (size_t n : {0u, 1u, 0xFFFEu, 0xFFFFu, 0x12345u}) {
        SCOPED_TRACE(n);
        Archive out;
        out.WriteCount(n);
        EXPECT_EQ(out.Buffer().size(), n < 0xFFFF ? 2u : 6u);
        std::string bytes = out.Buffer() + std::string(n, '\0');
        Archive in(bytes);
        EXPECT_EQ(in.ReadCount(1), n);
    }
}

TEST(Archive, RefusesLengthsAndCountsBeyondTheData)
{
    const std::string cases[] = {
        Bytes().u8(10).raw("abc"),                       // string longer than the data
        Bytes().u8(0xFF).u16(0xFFFF).u32(0x7FFFFFFF),    // huge length, no data
        Bytes().u8(0xFF).u16(0xFFFE).u8(0xFF).u16(0xFFFE),   // nested wide marker
    };
    for (const std::string& c : cases) {
        SCOPED_TRACE(Hex(c));
        Archive in(c);
        EXPECT_THROW(in.ReadString(), ArchiveError);
    }
    const std::string countBytes = Bytes().u16(0xFFFF).u32(1000000).u16(0);
    Archive counts(countBytes);
    EXPECT_THROW(counts.ReadCount(2), ArchiveError);
}

TEST(Archive, PasswordScrambling)
{
    struct Case {
        std::string plain;
        bool storable;
        std::string scrambled;
    };
    const Case cases[] = {
        {"", true, ""},
        {"abc", true, "\x5F\x5E\x60"},
        {"\r\nab", true, ""},                 // CR LF is skipped for the printable test
        {"\xC3\xDC\xC2\xEB", false, ""},      // begins with a Chinese character
        {"\x01x", false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Hex(c.plain));
        const auto s = mirel::ScramblePassword(c.plain);
        EXPECT_EQ(s.has_value(), c.storable);
        if (s && !c.scrambled.empty()) {
            EXPECT_EQ(Hex(*s), Hex(c.scrambled));
        }
        if (s) {
            EXPECT_EQ(mirel::UnscramblePassword(*s), c.plain);
        }
    }
    // A scrambled form with a zero byte cannot be stored: 0x04 at i = 2 becomes 0.
    EXPECT_FALSE(mirel::CanStorePassword("a\x04"));
    EXPECT_TRUE(mirel::CanStorePassword("secret"));
}

TEST(Archive, ObjectReferencesAreRecreatedByClass)
{
    Archive out;
    CTextObj a;
    a.SetRect(1, 2, 3, 4);
    CTextObj b;
    b.SetRect(5, 6, 7, 8);
    out.WriteObject(&a);
    out.WriteObject(&b);
    out.WriteObject(nullptr);
    const std::string bytes = out.TakeBuffer();
    // The second object is tagged with the class index of the first (1).
    EXPECT_NE(bytes.find(std::string("\x01\x80", 2)), std::string::npos);

    Archive in(bytes);
    auto ra = in.ReadOwned<CTextObj>();
    auto rb = in.ReadOwned<CBasicObj>();
    auto rn = in.ReadOwned<CTextObj>();
    ASSERT_TRUE(ra && rb);
    EXPECT_EQ(ra->GetRect(), a.GetRect());
    EXPECT_EQ(rb->GetRect(), b.GetRect());
    EXPECT_TRUE(rb->IsKindOf(CTextObj::kClass));
    EXPECT_EQ(rn, nullptr);
}

TEST(Archive, RefusesInconsistentReferences)
{
    // One valid object (class index 1, object index 2) followed by a second reference.
    CTextObj t;
    Archive out;
    out.WriteObject(&t);
    const std::string first = out.TakeBuffer();

    struct Case {
        const char* what;
        std::string bytes;
        bool expectWorkForm = false;
    };
    const Case cases[] = {
        {"index outside the table", Bytes().u16(5).str()},
        {"big index outside the table", Bytes().u16(0x7FFF).u32(1000).str()},
        {"class index outside the table", Bytes().u16(0x8009).str()},
        {"unregistered class", Bytes().newClass(2000, "CNoSuchClass").str()},
        {"name of 64 characters", Bytes().newClass(2000, std::string(64, 'C')).str()},
        {"class of the run-time tools", Bytes().newClass(2000, "CSelectTool").str()},
        {"class not of the expected kind", Bytes().newClass(2000, "CDocInfo").str(), true},
        {"class index where an object is expected", first + Bytes().u16(1).str()},
        {"object index where a class is expected", first + Bytes().u16(0x8002).str()},
        {"an object in two owning places", first + Bytes().u16(2).str()},
        {"truncated record", first.substr(0, first.size() - 3)},
        {"record of a class not built yet", Bytes().newClass(2003, "CTableFrame").rect(0, 0, 0, 0).str()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Archive in(c.bytes);
        if (c.expectWorkForm) {
            EXPECT_THROW(in.ReadOwned<CWorkForm>(), ArchiveError);
            continue;
        }
        EXPECT_THROW({
            auto one = in.ReadOwnedAny();
            auto two = in.ReadOwnedAny();
        }, ArchiveError);
    }
}

namespace {
// Nests itself as deep as the data says.
class CTestNest : public CBasicObj {
    MIREL_DECLARE_CLASS(CTestNest)
public:
    std::unique_ptr<CBasicObj> inner;
    void Serialize(mirel::Archive& ar) override
    {
        if (ar.IsStoring())
            ar.WriteObject(inner.get());
        else
            inner = ar.ReadOwned<CBasicObj>();
    }
};
MIREL_IMPLEMENT_CLASS(CTestNest, &CBasicObj::kClass, 2000)
}  // namespace

TEST(Archive, NestingIsBounded)
{
    mirel::ClassRegistry::Instance().Register(&CTestNest::kClass);
    Bytes b;
    b.newClass(2000, "CTestNest");
    for (int i = 0; i < 100000; ++i)
        b.u16(0x8001);
    b.u16(0);
    Archive in(b.str());
    try {
        in.ReadOwnedAny();
        FAIL() << "a chain of 100000 nested objects was accepted";
    } catch (const ArchiveError& e) {
        EXPECT_EQ(e.kind(), ArchiveError::Kind::TooDeep);
    }

    // Within the bound it reads.
    Bytes ok;
    ok.newClass(2000, "CTestNest");
    for (int i = 0; i < 50; ++i)
        ok.u16(0x8001);
    ok.u16(0);
    Archive fine(ok.str());
    EXPECT_NE(fine.ReadOwnedAny(), nullptr);
}

namespace {
// Asks for its schema twice while reading.
class CTestSchema : public CBasicObj {
    MIREL_DECLARE_CLASS(CTestSchema)
public:
    uint32_t first = 0, second = 0;
    void Serialize(mirel::Archive& ar) override
    {
        if (ar.IsLoading()) {
            first = ar.GetObjectSchema();
            second = ar.GetObjectSchema();
        }
    }
};
MIREL_IMPLEMENT_CLASS(CTestSchema, &CBasicObj::kClass, 2003)
}  // namespace

TEST(Archive, SchemaIsGivenOncePerRecordAndRemembered)
{
    mirel::ClassRegistry::Instance().Register(&CTestSchema::kClass);
    // Written with schema 2001; the second object of the class uses the remembered schema.
    const std::string bytes = Bytes().newClass(2001, "CTestSchema").u16(0x8001);
    Archive in(bytes);
    auto one = in.ReadOwned<CTestSchema>();
    auto two = in.ReadOwned<CTestSchema>();
    ASSERT_TRUE(one && two);
    EXPECT_EQ(one->first, 2001u);
    EXPECT_EQ(one->second, 0xFFFFFFFFu);
    EXPECT_EQ(two->first, 2001u);
}
