#include "model/class_registry.h"

#include "graphics/charts.h"
#include "graphics/groups.h"
#include "graphics/image.h"
#include "graphics/seals.h"
#include "graphics/shapes.h"
#include "model/basic_obj.h"
#include "model/doc_info.h"
#include "model/filled_obj.h"
#include "model/table_page.h"
#include "model/work_form.h"
#include "table/cell_attributes.h"
#include "table/expression.h"
#include "table/table_classes.h"
#include "text/attribute_objects.h"
#include "text/emend.h"
#include "text/sentence.h"
#include "text/text_frame.h"
#include "text/text_obj.h"
#include "text/text_row.h"

#include <cstring>

namespace mirel {

namespace {
// Classes known by name for run-time identity only; they are never stored,
// so the registry can name them but the archive cannot create them.
constexpr ClassInfo kUndoSenAttribData{"CUndoSenAttribData", nullptr, 0, nullptr};
constexpr ClassInfo kUndoRowAttribData{"CUndoRowAttribData", nullptr, 0, nullptr};
constexpr ClassInfo kDrawTool{"CDrawTool", nullptr, 2000, nullptr};
constexpr ClassInfo kSelectTool{"CSelectTool", &kDrawTool, 2000, nullptr};
constexpr ClassInfo kRectTool{"CRectTool", &kDrawTool, 2000, nullptr};
constexpr ClassInfo kLocateTool{"CLocateTool", &kDrawTool, 2000, nullptr};
constexpr ClassInfo kPolyLineTool{"CPolyLineTool", &kDrawTool, 2000, nullptr};
constexpr ClassInfo kTextTool{"CTextTool", &kDrawTool, 2000, nullptr};
}  // namespace

ClassRegistry::ClassRegistry()
{
    const ClassInfo* all[] = {
        &CBasicObj::kClass, &CFilledObj::kClass, &CWorkForm::kClass, &CTablePage::kClass, &CDocInfo::kClass,
        &CTextObj::kClass, &CSentence::kClass, &CTextRow::kClass, &CEmend::kClass, &CEmendInfo::kClass,
        &CTextFrame::kClass, &CPageHeadFoot::kClass, &CSingleRowText::kClass, &CRotateRow::kClass,
        &CTableFrame::kClass, &CTableRC::kClass, &CTableCell::kClass,
        &CAttribute::kClass, &CAttrib_String::kClass, &CAttrib_Color::kClass, &CAttrib_Int::kClass,
        &CAttrib_HyperLink::kClass, &CAttrib_ToNxtRow::kClass, &CAttrib_FollowObj::kClass, &CAttrib_Emend::kClass,
        &CCell_Attrib::kClass, &CAttrib_Amount::kClass, &CAttrib_Money::kClass, &CAttrib_Percent::kClass,
        &CAttrib_Accountant::kClass, &CAttrib_Special::kClass, &CAttrib_Text::kClass, &CExpression::kClass,
        &CLine::kClass, &CArrowLine::kClass, &CPolyLine::kClass, &CDrawRect::kClass, &CRectangle::kClass,
        &CDataRectangle::kClass, &CCircle::kClass, &COutCirPoly::kClass,
        &CImage::kClass, &CFrameImage::kClass, &CWMFFrame::kClass, &CDibmap::kClass, &CMetaFile::kClass,
        &CSeal::kClass, &CRectSeal::kClass, &CTableChart::kClass, &CAxis::kClass, &CPieCell::kClass,
        &CPieChart::kClass, &CGroupObj::kClass, &CRotateChar::kClass, &TButton::kClass, &CDrawObj::kClass,
        &COleObj::kClass, &COleItem::kClass,
        &kUndoSenAttribData, &kUndoRowAttribData, &kDrawTool, &kSelectTool, &kRectTool, &kLocateTool,
        &kPolyLineTool, &kTextTool,
    };
    classes_.assign(std::begin(all), std::end(all));
}

ClassRegistry& ClassRegistry::Instance()
{
    static ClassRegistry registry;
    return registry;
}

const ClassInfo* ClassRegistry::Find(std::string_view name) const
{
    if (name.size() > kMaxNameLength)
        return nullptr;
    for (const ClassInfo* c : classes_)
        if (name == c->name)
            return c;
    return nullptr;
}

void ClassRegistry::Register(const ClassInfo* info)
{
    for (const ClassInfo*& c : classes_) {
        if (std::strcmp(c->name, info->name) == 0) {
            c = info;
            return;
        }
    }
    classes_.push_back(info);
}

}  // namespace mirel
