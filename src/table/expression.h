#pragma once
// Cell formulas.
// Registered with their places in the class hierarchy; their records come
// later (see docs/pending-records.md).

#include "model/mirel_object.h"
#include "model/pending_record.h"

class CExpression : public mirel::CMirelObject {
    MIREL_DECLARE_CLASS(CExpression)
public:
    MIREL_PENDING_RECORD(CExpression)
};
