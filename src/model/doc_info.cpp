#include "model/doc_info.h"

#include "persist/archive.h"

MIREL_IMPLEMENT_CLASS(CDocInfo, nullptr, 2002)

CDocInfo::CDocInfo() = default;
CDocInfo::~CDocInfo() = default;

void CDocInfo::Serialize(mirel::Archive& ar)
{
    std::string* const strings[] = {&remarks, &keywords, &category, &lastModifiedBy, &company, &author, &subject, &title};
    if (ar.IsStoring()) {
        ar.WriteFloat(docVersion);
        for (std::string* s : strings)
            ar.WriteString(*s);
        ar.WriteCount(extra.size());
        for (const auto& o : extra)
            ar.WriteObject(o.get());
        ar.WriteI32(trackRevisions);
        ar.WriteString(emendStyles);
        return;
    }
    const uint32_t schema = ar.GetObjectSchema();
    docVersion = ar.ReadFloat();
    for (std::string* s : strings)
        *s = ar.ReadString();
    if (schema > 2000) {
        const uint32_t n = ar.ReadCount(2);
        extra.clear();
        for (uint32_t i = 0; i < n; ++i)
            extra.push_back(ar.ReadOwnedAny());
        trackRevisions = ar.ReadI32();
    }
    if (schema > 2001)
        emendStyles = ar.ReadString();
}
