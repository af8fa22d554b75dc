#pragma once
// Cell attributes and display formats.
// Registered with their places in the class hierarchy; their records come
// later (see docs/pending-records.md).

#include "model/mirel_object.h"
#include "model/pending_record.h"

class CCell_Attrib : public mirel::CMirelObject {
    MIREL_DECLARE_CLASS(CCell_Attrib)
public:
    MIREL_PENDING_RECORD(CCell_Attrib)
};

class CAttrib_Amount : public CCell_Attrib {
    MIREL_DECLARE_CLASS(CAttrib_Amount)
public:
    MIREL_PENDING_RECORD(CAttrib_Amount)
};

class CAttrib_Money : public CCell_Attrib {
    MIREL_DECLARE_CLASS(CAttrib_Money)
public:
    MIREL_PENDING_RECORD(CAttrib_Money)
};

class CAttrib_Percent : public CCell_Attrib {
    MIREL_DECLARE_CLASS(CAttrib_Percent)
public:
    MIREL_PENDING_RECORD(CAttrib_Percent)
};

class CAttrib_Accountant : public CCell_Attrib {
    MIREL_DECLARE_CLASS(CAttrib_Accountant)
public:
    MIREL_PENDING_RECORD(CAttrib_Accountant)
};

class CAttrib_Special : public CCell_Attrib {
    MIREL_DECLARE_CLASS(CAttrib_Special)
public:
    MIREL_PENDING_RECORD(CAttrib_Special)
};

class CAttrib_Text : public CCell_Attrib {
    MIREL_DECLARE_CLASS(CAttrib_Text)
public:
    MIREL_PENDING_RECORD(CAttrib_Text)
};
