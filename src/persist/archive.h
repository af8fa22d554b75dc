#pragma once
// The archive stream: little-endian values, counted strings, counts and
// object references with one index table per stream. The same stream carries
// document files, clipboard data and undo buffers.
//
// Reading treats the bytes as hostile: every count and length is checked
// against the bytes left before anything is allocated, nesting is bounded,
// and any inconsistency throws ArchiveError, which aborts the whole read.
#include "model/geometry.h"
#include "model/mirel_object.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace mirel {

// Values are copied as they lie in memory, which is the file's byte order.
static_assert(std::endian::native == std::endian::little, "the archive assumes a little-endian host");

class ArchiveError : public std::runtime_error {
public:
    enum class Kind {
        EndOfData,       // reading past the end
        BadIndex,        // object or class index outside the table, or of the wrong kind
        BadClass,        // unregistered class, over-long name, class not of the expected kind
        BadRecord,       // a record that contradicts itself (bad count, shared owned object, cycle)
        TooDeep,         // nesting beyond the bound
        Unsupported,     // a registered class whose record this build cannot read or write
    };
    ArchiveError(Kind kind, const std::string& what) : std::runtime_error(what), kind_(kind) {}
    Kind kind() const { return kind_; }

private:
    Kind kind_;
};

class Archive {
public:
    // A stream that writes into an in-memory buffer.
    Archive();
    // A stream that hands what it wrote to `sink` in blocks of about
    // kSinkBlock bytes, and the rest on Flush(); for files of any size.
    using Sink = std::function<void(std::string_view)>;
    explicit Archive(Sink sink);
    // A stream that reads the given bytes (which must outlive the stream).
    explicit Archive(std::string_view data);
    explicit Archive(std::string&&) = delete;   // the bytes must outlive the stream
    ~Archive();
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;

    bool IsStoring() const { return storing_; }
    bool IsLoading() const { return !storing_; }

    // --- writing ---
    const std::string& Buffer() const { return out_; }
    std::string TakeBuffer() { return std::move(out_); }
    void Flush();
    void WriteU8(uint8_t v)
    {
        out_.push_back(static_cast<char>(v));
        MaybeFlush();
    }
    void WriteI16(int16_t v) { WriteRaw(&v, 2); }
    void WriteU16(uint16_t v) { WriteRaw(&v, 2); }
    void WriteI32(int32_t v) { WriteRaw(&v, 4); }
    void WriteU32(uint32_t v) { WriteRaw(&v, 4); }
    void WriteFloat(float v) { WriteRaw(&v, 4); }
    void WriteDouble(double v) { WriteRaw(&v, 8); }
    void WriteRect(const Rect& r);
    void WriteBytes(std::string_view bytes)
    {
        out_.append(bytes);
        MaybeFlush();
    }
    void WriteString(std::string_view text);       // counted string, ANSI (GBK) bytes
    void WriteCount(size_t count);
    void WriteObject(const CMirelObject* obj);    // null, index of a stored object, or a new record
    // Writes the object as a new record without remembering it: for records
    // made only to be written (attribute records), which nothing refers to.
    void WriteFresh(const CMirelObject& obj);

    // --- reading ---
    size_t Remaining() const { return in_.size() - pos_; }
    size_t Position() const { return pos_; }
    uint8_t ReadU8();
    int16_t ReadI16() { return ReadValue<int16_t>(); }
    uint16_t ReadU16() { return ReadValue<uint16_t>(); }
    int32_t ReadI32() { return ReadValue<int32_t>(); }
    uint32_t ReadU32() { return ReadValue<uint32_t>(); }
    float ReadFloat() { return ReadValue<float>(); }
    double ReadDouble() { return ReadValue<double>(); }
    Rect ReadRect();
    std::string ReadBytes(size_t n);
    std::string ReadString();
    // A count of elements that each take at least minBytesEach bytes; a count
    // that cannot fit in what is left is a failure.
    uint32_t ReadCount(size_t minBytesEach = 1);

    // An object in a slot that owns it: null, or a new object of the expected
    // class (or one derived from it). A reference back to an object that was
    // already read is refused here: one object cannot have two owners.
    template <class T>
    std::unique_ptr<T> ReadOwned()
    {
        return std::unique_ptr<T>(static_cast<T*>(ReadObject(&T::kClass, true)));
    }
    std::unique_ptr<CMirelObject> ReadOwnedAny() { return std::unique_ptr<CMirelObject>(ReadObject(nullptr, true)); }
    // An object in a slot that only points at it: null or a reference to an
    // object already read earlier in the stream.
    template <class T>
    T* ReadLink()
    {
        return static_cast<T*>(ReadObject(&T::kClass, false));
    }

    // Keeps an object alive as long as the stream. Objects made only to be
    // written (attribute records) and objects read only to be applied must
    // outlive the stream: the index table knows them by address.
    void Adopt(std::unique_ptr<CMirelObject> obj) { kept_.push_back(std::move(obj)); }
    // Ends the life of an object that was read only to be applied (an
    // attribute record). A later reference to it is refused.
    void Discard(std::unique_ptr<CMirelObject> obj);

    // The schema of the record being read. A record asks once; a second
    // query in the same record answers 0xFFFFFFFF, so a class that needs the
    // schema in a base and a derived part passes it on.
    uint32_t GetObjectSchema();

    static constexpr int kMaxDepth = 200;
    static constexpr uint32_t kMaxTableSize = 0x3FFFFFFE;

private:
    void WriteRaw(const void* p, size_t n)
    {
        out_.append(static_cast<const char*>(p), n);
        MaybeFlush();
    }
    void MaybeFlush()
    {
        if (sink_ && out_.size() >= kSinkBlock)
            Flush();
    }
    static constexpr size_t kSinkBlock = 64 * 1024;
    void ReadRaw(void* p, size_t n);
    // The primitives are read inline: a document is millions of them.
    template <class T>
    T ReadValue()
    {
        if (sizeof(T) > in_.size() - pos_)
            FailEndOfData();
        T v;
        std::memcpy(&v, in_.data() + pos_, sizeof v);
        pos_ += sizeof v;
        return v;
    }
    [[noreturn]] static void FailEndOfData();
    void Need(size_t n) const;
    size_t ReadLength();
    CMirelObject* ReadObject(const ClassInfo* expected, bool owned);
    void WriteNew(const CMirelObject& obj, bool remember);

    // A class descriptor or an object; 16 bytes, as a large document has
    // millions of entries.
    struct Entry {
        const void* ptr = nullptr;   // the ClassInfo or the object; null: a forgotten entry
        uint16_t schema = 0;         // of a class descriptor
        bool isObject = false;
        const ClassInfo* Class() const { return isObject ? nullptr : static_cast<const ClassInfo*>(ptr); }
        CMirelObject* Object() const { return isObject ? static_cast<CMirelObject*>(const_cast<void*>(ptr)) : nullptr; }
    };

    bool storing_;
    std::string out_;
    Sink sink_;
    std::string_view in_;
    size_t pos_ = 0;
    // The reading index table, in blocks that never move: growing it copies
    // nothing, and its memory comes back from one file to the next.
    class EntryTable {
    public:
        size_t size() const { return size_; }
        Entry& operator[](size_t i) { return blocks_[i / kBlock][i % kBlock]; }
        Entry& back() { return (*this)[size_ - 1]; }
        void push_back(const Entry& e)
        {
            if (size_ % kBlock == 0)
                blocks_.push_back(std::make_unique<Entry[]>(kBlock));
            (*this)[size_++] = e;
        }

    private:
        static constexpr size_t kBlock = 4096;
        std::vector<std::unique_ptr<Entry[]>> blocks_;
        size_t size_ = 0;
    };
    EntryTable table_;                         // reading: index -> entry (0 is null)
    struct WriteIndex;
    std::unique_ptr<WriteIndex> written_;      // writing: object/class -> index
    std::vector<std::unique_ptr<CMirelObject>> kept_;
    uint32_t nextIndex_ = 1;
    uint32_t schema_ = 0xFFFFFFFF;             // schema of the record being read
    int depth_ = 0;
};

}  // namespace mirel
