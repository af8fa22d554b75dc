#pragma once
// Tables, their rows and columns, and cells.
// Registered with their places in the class hierarchy; their records come
// later (see docs/pending-records.md).

#include "text/text_obj.h"
#include "model/pending_record.h"

class CTableFrame : public CBasicObj {
    MIREL_DECLARE_CLASS(CTableFrame)
public:
    MIREL_PENDING_RECORD(CTableFrame)
};

class CTableRC : public CBasicObj {
    MIREL_DECLARE_CLASS(CTableRC)
public:
    MIREL_PENDING_RECORD(CTableRC)
};

class CTableCell : public CTextObj {
    MIREL_DECLARE_CLASS(CTableCell)
public:
    MIREL_PENDING_RECORD(CTableCell)
};
