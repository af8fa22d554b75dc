#include "text/attribute_objects.h"

#include "model/basic_obj.h"
#include "persist/archive.h"
#include "text/emend.h"

MIREL_IMPLEMENT_CLASS(CAttribute, nullptr, 2000)
MIREL_IMPLEMENT_CLASS(CAttrib_String, &CAttribute::kClass, 2000)
MIREL_IMPLEMENT_CLASS(CAttrib_Int, &CAttribute::kClass, 2000)
MIREL_IMPLEMENT_CLASS(CAttrib_Color, &CAttribute::kClass, 2000)
MIREL_IMPLEMENT_CLASS(CAttrib_ToNxtRow, &CAttribute::kClass, 2000)
MIREL_IMPLEMENT_CLASS(CAttrib_HyperLink, &CAttribute::kClass, 2000)
MIREL_IMPLEMENT_CLASS(CAttrib_FollowObj, &CAttribute::kClass, 2000)
MIREL_IMPLEMENT_CLASS(CAttrib_Emend, &CAttribute::kClass, 2000)

void CAttribute::Serialize(mirel::Archive& ar)
{
    if (ar.IsStoring())
        ar.WriteU16(code);
    else
        code = ar.ReadU16();
}

void CAttrib_String::Serialize(mirel::Archive& ar)
{
    CAttribute::Serialize(ar);
    if (ar.IsStoring())
        ar.WriteString(value);
    else
        value = ar.ReadString();
}

void CAttrib_Int::Serialize(mirel::Archive& ar)
{
    CAttribute::Serialize(ar);
    if (ar.IsStoring())
        ar.WriteI32(value);
    else
        value = ar.ReadI32();
}

void CAttrib_Color::Serialize(mirel::Archive& ar)
{
    CAttribute::Serialize(ar);
    if (ar.IsStoring())
        ar.WriteU32(value);
    else
        value = ar.ReadU32();
}

void CAttrib_ToNxtRow::Serialize(mirel::Archive& ar)
{
    CAttribute::Serialize(ar);
    if (ar.IsStoring())
        ar.WriteI32(value);
    else
        value = ar.ReadI32();
}

void CAttrib_HyperLink::Serialize(mirel::Archive& ar)
{
    CAttribute::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteU16(value);
        ar.WriteString(link);
    } else {
        value = ar.ReadU16();
        link = ar.ReadString();
    }
}

CAttrib_FollowObj::CAttrib_FollowObj() : CAttribute(29) {}
CAttrib_FollowObj::~CAttrib_FollowObj() = default;

void CAttrib_FollowObj::Serialize(mirel::Archive& ar)
{
    CAttribute::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteObject(object);
    } else {
        read = ar.ReadOwned<CBasicObj>();
        object = read.get();
    }
}

CAttrib_Emend::CAttrib_Emend() : CAttribute(36) {}
CAttrib_Emend::~CAttrib_Emend() = default;

void CAttrib_Emend::Serialize(mirel::Archive& ar)
{
    CAttribute::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteObject(record);
    } else {
        read = ar.ReadOwned<CEmendInfo>();
        record = read.get();
    }
}
