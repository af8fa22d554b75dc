#pragma once
// Charts, their axes and pie cells.
// Registered with their places in the class hierarchy; their records come
// later (see docs/pending-records.md).

#include "model/filled_obj.h"
#include "model/pending_record.h"

class CTableChart : public CFilledObj {
    MIREL_DECLARE_CLASS(CTableChart)
public:
    MIREL_PENDING_RECORD(CTableChart)
};

class CAxis : public CBasicObj {
    MIREL_DECLARE_CLASS(CAxis)
public:
    MIREL_PENDING_RECORD(CAxis)
};

class CPieCell : public CBasicObj {
    MIREL_DECLARE_CLASS(CPieCell)
public:
    MIREL_PENDING_RECORD(CPieCell)
};

class CPieChart : public CBasicObj {
    MIREL_DECLARE_CLASS(CPieChart)
public:
    MIREL_PENDING_RECORD(CPieChart)
};
