#pragma once
// Lines, polylines, rectangles, circles and solid figures.
// Registered with their places in the class hierarchy; their records come
// later (see docs/pending-records.md).

#include "model/filled_obj.h"
#include "model/pending_record.h"

class CLine : public CBasicObj {
    MIREL_DECLARE_CLASS(CLine)
public:
    MIREL_PENDING_RECORD(CLine)
};

class CArrowLine : public CLine {
    MIREL_DECLARE_CLASS(CArrowLine)
public:
    MIREL_PENDING_RECORD(CArrowLine)
};

class CPolyLine : public CFilledObj {
    MIREL_DECLARE_CLASS(CPolyLine)
public:
    MIREL_PENDING_RECORD(CPolyLine)
};

class CDrawRect : public CFilledObj {
    MIREL_DECLARE_CLASS(CDrawRect)
public:
    MIREL_PENDING_RECORD(CDrawRect)
};

class CRectangle : public CFilledObj {
    MIREL_DECLARE_CLASS(CRectangle)
public:
    MIREL_PENDING_RECORD(CRectangle)
};

class CDataRectangle : public CRectangle {
    MIREL_DECLARE_CLASS(CDataRectangle)
public:
    MIREL_PENDING_RECORD(CDataRectangle)
};

class CCircle : public CFilledObj {
    MIREL_DECLARE_CLASS(CCircle)
public:
    MIREL_PENDING_RECORD(CCircle)
};

class COutCirPoly : public CFilledObj {
    MIREL_DECLARE_CLASS(COutCirPoly)
public:
    MIREL_PENDING_RECORD(COutCirPoly)
};
