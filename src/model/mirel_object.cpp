#include "model/mirel_object.h"

#include "persist/archive.h"

namespace mirel {

std::unique_ptr<CMirelObject> CMirelObject::CloneThroughArchive() const
{
    Archive out;
    out.WriteObject(this);
    const std::string bytes = out.TakeBuffer();
    Archive in(bytes);
    return in.ReadOwnedAny();
}

}  // namespace mirel
