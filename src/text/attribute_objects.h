#pragma once
// The attribute objects through which text attributes are written to and
// read from the archive: each holds a 16-bit code and one value.
#include "model/mirel_object.h"

#include <memory>
#include <string>

class CBasicObj;

class CAttribute : public mirel::CMirelObject {
    MIREL_DECLARE_CLASS(CAttribute)
public:
    CAttribute() = default;
    explicit CAttribute(uint16_t c) : code(c) {}
    void Serialize(mirel::Archive& ar) override;
    uint16_t code = 0;
};

class CAttrib_String : public CAttribute {
    MIREL_DECLARE_CLASS(CAttrib_String)
public:
    CAttrib_String() = default;
    CAttrib_String(uint16_t c, std::string v) : CAttribute(c), value(std::move(v)) {}
    void Serialize(mirel::Archive& ar) override;
    std::string value;
};

class CAttrib_Int : public CAttribute {
    MIREL_DECLARE_CLASS(CAttrib_Int)
public:
    CAttrib_Int() = default;
    CAttrib_Int(uint16_t c, int32_t v) : CAttribute(c), value(v) {}
    void Serialize(mirel::Archive& ar) override;
    int32_t value = 0;
};

class CAttrib_Color : public CAttribute {
    MIREL_DECLARE_CLASS(CAttrib_Color)
public:
    CAttrib_Color() = default;
    CAttrib_Color(uint16_t c, uint32_t v) : CAttribute(c), value(v) {}
    void Serialize(mirel::Archive& ar) override;
    uint32_t value = 0;
};

// Line spacing of a row; its code is always 15.
class CAttrib_ToNxtRow : public CAttribute {
    MIREL_DECLARE_CLASS(CAttrib_ToNxtRow)
public:
    CAttrib_ToNxtRow() : CAttribute(15) {}
    explicit CAttrib_ToNxtRow(int32_t v) : CAttribute(15), value(v) {}
    void Serialize(mirel::Archive& ar) override;
    int32_t value = 0;
};

class CAttrib_HyperLink : public CAttribute {
    MIREL_DECLARE_CLASS(CAttrib_HyperLink)
public:
    void Serialize(mirel::Archive& ar) override;
    uint16_t value = 0;
    std::string link;
};

// An object carried inline in the text; code 29.
class CAttrib_FollowObj : public CAttribute {
    MIREL_DECLARE_CLASS(CAttrib_FollowObj)
public:
    CAttrib_FollowObj();
    ~CAttrib_FollowObj() override;
    void Serialize(mirel::Archive& ar) override;
    // Writing points at the sentence's object; reading owns what it read
    // until the sentence takes it.
    const CBasicObj* object = nullptr;
    std::unique_ptr<CBasicObj> read;
};

// A revision record; code 36.
class CAttrib_Emend : public CAttribute {
    MIREL_DECLARE_CLASS(CAttrib_Emend)
public:
    CAttrib_Emend();
    ~CAttrib_Emend() override;
    void Serialize(mirel::Archive& ar) override;
    const mirel::CMirelObject* record = nullptr;
    std::unique_ptr<mirel::CMirelObject> read;
};
