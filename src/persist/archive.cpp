#include "persist/archive.h"

#include "model/class_registry.h"
#include "platform/gbk.h"

#include <cstring>
#include <atomic>
#include <utility>

namespace mirel {

namespace {
constexpr uint16_t kNullTag = 0x0000;
constexpr uint16_t kNewClassTag = 0xFFFF;
constexpr uint16_t kBigTag = 0x7FFF;
constexpr uint16_t kClassBit = 0x8000;
constexpr uint32_t kBigClassBit = 0x80000000;
constexpr uint16_t kWideMarker = 0xFFFE;

[[noreturn]] void Fail(ArchiveError::Kind kind, const char* what)
{
    throw ArchiveError(kind, what);
}
}  // namespace

// The writer's table of classes already described: a few dozen at most.
struct Archive::WriteIndex {
    std::vector<std::pair<const ClassInfo*, uint32_t>> classes;
    uint64_t serial = 0;   // this stream's mark on the objects it stored

    const uint32_t* FindClass(const ClassInfo* cls) const
    {
        for (const auto& [c, index] : classes)
            if (c == cls)
                return &index;
        return nullptr;
    }
};

namespace {
std::atomic<uint64_t> nextStreamSerial{1};
}

Archive::Archive() : storing_(true), written_(std::make_unique<WriteIndex>())
{
    written_->serial = nextStreamSerial.fetch_add(1);
}

Archive::Archive(Sink sink) : Archive()
{
    sink_ = std::move(sink);
    out_.reserve(kSinkBlock + 4096);
}

void Archive::Flush()
{
    if (sink_ && !out_.empty()) {
        sink_(out_);
        out_.clear();
    }
}

Archive::Archive(std::string_view data) : storing_(false), in_(data)
{
    table_.push_back({});   // index 0 stands for null
}

Archive::~Archive() = default;

// ---------------------------------------------------------------- writing

void Archive::WriteRect(const Rect& r)
{
    WriteI32(r.left);
    WriteI32(r.top);
    WriteI32(r.right);
    WriteI32(r.bottom);
}

void Archive::WriteString(std::string_view text)
{
    const size_t n = text.size();
    if (n < 0xFF) {
        WriteU8(static_cast<uint8_t>(n));
    } else if (n < 0xFFFE) {
        WriteU8(0xFF);
        WriteU16(static_cast<uint16_t>(n));
    } else {
        WriteU8(0xFF);
        WriteU16(0xFFFF);
        WriteU32(static_cast<uint32_t>(n));
    }
    WriteBytes(text);
}

void Archive::WriteCount(size_t count)
{
    if (count < 0xFFFF) {
        WriteU16(static_cast<uint16_t>(count));
    } else {
        WriteU16(0xFFFF);
        WriteU32(static_cast<uint32_t>(count));
    }
}

void Archive::WriteObject(const CMirelObject* obj)
{
    if (!obj) {
        WriteU16(kNullTag);
        return;
    }
    if (obj->writtenBy_ == written_->serial) {
        const uint32_t n = obj->writtenIndex_;
        if (n < kBigTag) {
            WriteU16(static_cast<uint16_t>(n));
        } else {
            WriteU16(kBigTag);
            WriteU32(n);
        }
        return;
    }
    WriteNew(*obj, true);
}

void Archive::WriteFresh(const CMirelObject& obj)
{
    WriteNew(obj, false);
}

void Archive::WriteNew(const CMirelObject& object, bool remember)
{
    const CMirelObject* obj = &object;
    WriteIndex& index = *written_;
    if (nextIndex_ + 2 > kMaxTableSize)
        Fail(ArchiveError::Kind::BadIndex, "object table full");

    const ClassInfo& cls = obj->GetClass();
    if (const uint32_t* found = index.FindClass(&cls)) {
        const uint32_t c = *found;
        if (c < kBigTag) {
            WriteU16(static_cast<uint16_t>(kClassBit + c));
        } else {
            WriteU16(kBigTag);
            WriteU32(kBigClassBit + c);
        }
    } else {
        WriteU16(kNewClassTag);
        WriteU16(cls.schema);
        const size_t len = std::strlen(cls.name);
        WriteU16(static_cast<uint16_t>(len));
        WriteBytes(std::string_view(cls.name, len));
        index.classes.emplace_back(&cls, nextIndex_++);
    }
    // An object written fresh takes its index like any other but is not
    // remembered: nothing can refer to it.
    if (remember) {
        obj->writtenBy_ = index.serial;
        obj->writtenIndex_ = nextIndex_;
    }
    ++nextIndex_;
    const_cast<CMirelObject*>(obj)->Serialize(*this);
}

// ---------------------------------------------------------------- reading

void Archive::FailEndOfData()
{
    Fail(ArchiveError::Kind::EndOfData, "unexpected end of data");
}

void Archive::Need(size_t n) const
{
    if (n > in_.size() - pos_)
        FailEndOfData();
}

void Archive::ReadRaw(void* p, size_t n)
{
    Need(n);
    std::memcpy(p, in_.data() + pos_, n);
    pos_ += n;
}

uint8_t Archive::ReadU8()
{
    Need(1);
    return static_cast<uint8_t>(in_[pos_++]);
}

Rect Archive::ReadRect()
{
    Rect r;
    r.left = ReadI32();
    r.top = ReadI32();
    r.right = ReadI32();
    r.bottom = ReadI32();
    return r;
}

std::string Archive::ReadBytes(size_t n)
{
    Need(n);
    std::string s(in_.substr(pos_, n));
    pos_ += n;
    return s;
}

// The length part of a counted string, after a wide marker has been dealt with.
size_t Archive::ReadLength()
{
    const uint8_t b = ReadU8();
    if (b < 0xFF)
        return b;
    const uint16_t w = ReadU16();
    if (w < 0xFFFE)
        return w;
    if (w == kWideMarker)
        Fail(ArchiveError::Kind::BadRecord, "nested wide-string marker");
    return ReadU32();
}

std::string Archive::ReadString()
{
    // A wide string: 0xFF, 0xFFFE, then the length of UTF-16 units in the
    // ordinary form. Detect the marker without consuming an ordinary length.
    if (Remaining() >= 3 && static_cast<uint8_t>(in_[pos_]) == 0xFF && static_cast<uint8_t>(in_[pos_ + 1]) == 0xFE &&
        static_cast<uint8_t>(in_[pos_ + 2]) == 0xFF) {
        pos_ += 3;
        const size_t units = ReadLength();
        if (units > Remaining() / 2)
            Fail(ArchiveError::Kind::EndOfData, "wide string longer than the data");
        std::u16string wide(units, u'\0');
        ReadRaw(wide.data(), units * 2);
        return Utf16ToGbk(wide).text;
    }
    const size_t n = ReadLength();
    return ReadBytes(n);
}

uint32_t Archive::ReadCount(size_t minBytesEach)
{
    uint32_t n = ReadU16();
    if (n == 0xFFFF)
        n = ReadU32();
    if (minBytesEach == 0)
        minBytesEach = 1;
    if (n > Remaining() / minBytesEach)
        Fail(ArchiveError::Kind::EndOfData, "count larger than the data left");
    return n;
}

void Archive::Discard(std::unique_ptr<CMirelObject> obj)
{
    if (!obj)
        return;
    // The last entry of the table is the object when it held no objects of
    // its own: forget it, so that a later reference to it is refused.
    if (table_.size() > 1 && table_.back().Object() == obj.get()) {
        table_.back() = {};
        return;
    }
    Adopt(std::move(obj));
}

uint32_t Archive::GetObjectSchema()
{
    const uint32_t s = schema_;
    schema_ = 0xFFFFFFFF;
    return s;
}

CMirelObject* Archive::ReadObject(const ClassInfo* expected, bool owned)
{
    uint32_t tag = ReadU16();
    bool bigForm = false;
    if (tag == kBigTag) {
        tag = ReadU32();
        bigForm = true;
    }
    if (tag == kNullTag)
        return nullptr;

    const ClassInfo* cls = nullptr;
    uint16_t schema = 0;
    if (!bigForm && tag == kNewClassTag) {
        schema = ReadU16();
        const uint16_t len = ReadU16();
        if (len > ClassRegistry::kMaxNameLength)
            Fail(ArchiveError::Kind::BadClass, "class name too long");
        const std::string name = ReadBytes(len);
        cls = ClassRegistry::Instance().Find(name);
        if (!cls || !cls->create)
            Fail(ArchiveError::Kind::BadClass, "unregistered class");
        if (table_.size() >= kMaxTableSize)
            Fail(ArchiveError::Kind::BadIndex, "object table full");
        table_.push_back({cls, schema, false});
    } else {
        const bool classBit = bigForm ? (tag & kBigClassBit) != 0 : (tag & kClassBit) != 0;
        const uint32_t index = bigForm ? (tag & ~kBigClassBit) : (tag & ~uint32_t(kClassBit));
        if (index == 0 || index >= table_.size())
            Fail(ArchiveError::Kind::BadIndex, "index outside the table");
        Entry& e = table_[index];
        if (!classBit) {
            // A reference to an object read earlier.
            CMirelObject* obj = e.Object();
            if (!obj)
                Fail(ArchiveError::Kind::BadIndex, "index names a class where an object is expected");
            if (expected && !obj->IsKindOf(*expected))
                Fail(ArchiveError::Kind::BadClass, "object of an unexpected class");
            if (owned)
                Fail(ArchiveError::Kind::BadRecord, "one object in two owning places");
            return obj;
        }
        cls = e.Class();
        if (!cls)
            Fail(ArchiveError::Kind::BadIndex, "index names an object where a class is expected");
        schema = e.schema;
    }

    if (expected && !cls->IsDerivedFrom(expected))
        Fail(ArchiveError::Kind::BadClass, "object of an unexpected class");
    if (!owned)
        Fail(ArchiveError::Kind::BadRecord, "a new object where only a reference may stand");
    if (table_.size() >= kMaxTableSize)
        Fail(ArchiveError::Kind::BadIndex, "object table full");
    if (depth_ >= kMaxDepth)
        Fail(ArchiveError::Kind::TooDeep, "objects nested too deeply");

    std::unique_ptr<CMirelObject> obj(cls->create());
    table_.push_back({obj.get(), 0, true});
    const uint32_t savedSchema = schema_;
    schema_ = schema;
    ++depth_;
    obj->Serialize(*this);
    --depth_;
    schema_ = savedSchema;
    return obj.release();
}

}  // namespace mirel
