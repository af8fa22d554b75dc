#pragma once
// The common root of every persistent class: run-time class identity,
// creation by class name and one Serialize that both writes and reads.
#include "model/slot_pool.h"

#include <cstdint>
#include <memory>
#include <string_view>

namespace mirel {

class Archive;
class CMirelObject;

struct ClassInfo {
    const char* name;            // ASCII, exactly as written into files
    const ClassInfo* base;       // null for classes derived only from the root
    uint16_t schema;             // current schema, written in class descriptors
    CMirelObject* (*create)();   // null for classes that are never created by name

    bool IsDerivedFrom(const ClassInfo* other) const
    {
        for (const ClassInfo* c = this; c; c = c->base)
            if (c == other)
                return true;
        return false;
    }
};

class CMirelObject {
    // Documents hold millions of small objects: see slot_pool.h.
    MIREL_POOLED_ALLOCATION
public:
    CMirelObject() = default;
    // A copy is a different object to a stream: the marks are not copied.
    CMirelObject(const CMirelObject&) {}
    CMirelObject& operator=(const CMirelObject&) { return *this; }
    virtual ~CMirelObject() = default;
    virtual const ClassInfo& GetClass() const = 0;
    virtual void Serialize(Archive& ar) = 0;

    bool IsKindOf(const ClassInfo& info) const { return GetClass().IsDerivedFrom(&info); }

    // A deep copy made by writing the object into a memory stream and reading
    // it back: everything persistent is copied, links and run-time state are not.
    std::unique_ptr<CMirelObject> CloneThroughArchive() const;

private:
    friend class Archive;
    // Which writing stream stored this object, and under which index: lets a
    // stream find an object it already wrote without a table lookup. Stream
    // serials are never reused.
    mutable uint64_t writtenBy_ = 0;
    mutable uint32_t writtenIndex_ = 0;
};

// Asks the processor to bring an object into the cache, ahead of a walk
// that will visit it next: writing or reading a document visits millions of
// objects whose memory is not in the cache.
inline void PrefetchObject(const void* obj)
{
    const char* p = static_cast<const char*>(obj);
    __builtin_prefetch(p);
    __builtin_prefetch(p + 64);
    __builtin_prefetch(p + 128);
    __builtin_prefetch(p + 192);
}

template <class T>
T* DynamicCast(CMirelObject* obj)
{
    return obj && obj->IsKindOf(T::kClass) ? static_cast<T*>(obj) : nullptr;
}
template <class T>
const T* DynamicCast(const CMirelObject* obj)
{
    return obj && obj->IsKindOf(T::kClass) ? static_cast<const T*>(obj) : nullptr;
}

}  // namespace mirel

// Inside a class body: its run-time class.
#define MIREL_DECLARE_CLASS(Name)                                       \
public:                                                                 \
    static const ::mirel::ClassInfo kClass;                             \
    const ::mirel::ClassInfo& GetClass() const override { return kClass; }

// In one source file: the class's entry (name, base, current schema).
#define MIREL_IMPLEMENT_CLASS(Name, BaseInfo, Schema)                             \
    const ::mirel::ClassInfo Name::kClass{#Name, BaseInfo, Schema,               \
                                          []() -> ::mirel::CMirelObject* { return new Name; }};
