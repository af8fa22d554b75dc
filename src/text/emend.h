#pragma once
// Revision records carried by sentences.
// Registered with their places in the class hierarchy; their records come
// later (see docs/pending-records.md).

#include "model/mirel_object.h"
#include "model/pending_record.h"

class CEmend : public mirel::CMirelObject {
    MIREL_DECLARE_CLASS(CEmend)
public:
    MIREL_PENDING_RECORD(CEmend)
};

class CEmendInfo : public mirel::CMirelObject {
    MIREL_DECLARE_CLASS(CEmendInfo)
public:
    MIREL_PENDING_RECORD(CEmendInfo)
    // A record without entries counts as no record.
    bool IsEmpty() const { return true; }
    bool SameAs(const CEmendInfo&) const { return true; }
};
