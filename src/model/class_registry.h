#pragma once
// The registry of persistent classes: the archive recreates objects by the
// class name read from a file, and only registered classes can be read back.
#include "model/mirel_object.h"

#include <string_view>
#include <vector>

namespace mirel {

class ClassRegistry {
public:
    // The registry holding every class of the document model.
    static ClassRegistry& Instance();

    // Exact, case-sensitive lookup; null for unknown or over-long names.
    const ClassInfo* Find(std::string_view name) const;
    void Register(const ClassInfo* info);   // a second entry of one name replaces the first
    const std::vector<const ClassInfo*>& Classes() const { return classes_; }

    static constexpr size_t kMaxNameLength = 63;

private:
    ClassRegistry();
    std::vector<const ClassInfo*> classes_;
};

}  // namespace mirel
