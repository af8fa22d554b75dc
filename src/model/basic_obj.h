#pragma once
// CBasicObj: everything that stands on a page (text columns, text boxes,
// tables, cells, shapes, pictures, seals, charts, buttons, groups) derives
// from it. It owns the geometry and the placement attributes shared by every
// object, the links to its container and page, and the one interface through
// which views, tools, commands and the archive reach any object.
#include "model/geometry.h"
#include "model/mirel_object.h"

#include <concepts>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CTablePage;
class CImage;

namespace mirel {
class Surface;
class ViewContext;

// The value of a formatting attribute named by its code: a number (sizes,
// weights, flags, colours as 0x00BBGGRR) or a text (face names, commands;
// GBK).
struct AttrValue {
    AttrValue() = default;
    template <std::integral T>
    AttrValue(T v) : number(static_cast<int64_t>(v))
    {
    }
    AttrValue(std::string v) : text(std::move(v)), isText(true) {}
    AttrValue(const char* v) : text(v ? v : ""), isText(true) {}

    int32_t Int() const { return static_cast<int32_t>(number); }
    uint32_t Color() const { return static_cast<uint32_t>(number); }

    int64_t number = 0;
    std::string text;
    bool isText = false;
};
}  // namespace mirel

class CBasicObj : public mirel::CMirelObject {
    MIREL_DECLARE_CLASS(CBasicObj)
public:
    using ViewContext = mirel::ViewContext;
    using Surface = mirel::Surface;
    using Point = mirel::Point;
    using Rect = mirel::Rect;
    using Size = mirel::Size;

    CBasicObj() = default;
    ~CBasicObj() override;
    void Serialize(mirel::Archive& ar) override;

    // --- geometry ---
    virtual void SetRect(int l, int t, int r, int b);
    void SetRect(const Rect& r) { SetRect(r.left, r.top, r.right, r.bottom); }
    virtual void SetLeft(int x);
    virtual void SetTop(int y);
    virtual void SetRight(int x);
    virtual void SetBottom(int y);
    void MoveLeft(int d);
    void MoveTop(int d);
    void MoveRight(int d);
    void MoveBottom(int d);
    void OffsetBy(int dx, int dy);
    int GetLeft() const { return GetRect().left; }
    int GetTop() const { return GetRect().top; }
    int GetRight() const { return GetRect().right; }
    int GetBottom() const { return GetRect().bottom; }
    virtual Rect GetRect() const { return rect_; }
    virtual Rect GetBoundRect() const { return GetRect(); }
    virtual Point GetCenter() const;
    void SetRectDirect(int l, int t, int r, int b) { rect_ = {l, t, r, b}; }
    Size GetSize() const { return {GetRect().Width(), GetRect().Height()}; }

    // --- handles and direct manipulation ---
    virtual int GetHandleCount() const { return 11; }
    // The handle's point in document units relative to the container; false
    // for numbers that are no handle of this object.
    virtual bool GetHandle(int n, Point& p) const;
    virtual void DrawTracker(ViewContext& view, Surface& dc, int state) const;
    virtual bool MoveBy(ViewContext* view, int dx, int dy);
    virtual void Offset(int dx, int dy);
    // Handle mode: number of the first handle whose +-3 pixel square holds
    // the view point; containment mode compares with the bound rectangle.
    virtual int HitTest(const ViewContext& view, Point viewPoint, bool handlesOnly) const;
    virtual bool IntersectsRect(const Rect& r) const;
    virtual bool MoveHandleTo(int handle, Point p, ViewContext* view);
    virtual std::unique_ptr<CBasicObj> Clone() const;
    virtual void CopyFrom(const CBasicObj& other);
    virtual bool IsVisible(const ViewContext& view, const Rect& clipPixels) const;
    virtual void Normalize();
    virtual void InvalidateRect(ViewContext* view, const Rect& docRect) const;
    virtual void Invalidate(ViewContext* view) const;

    // --- state ---
    virtual bool IsActive() const { return active_ != 0; }
    virtual void SetActive(ViewContext* view, bool on) { active_ = on ? 1 : 0; }
    void Activate(ViewContext* view) { SetActive(view, true); }
    void Deactivate(ViewContext* view) { SetActive(view, false); }
    virtual void Redraw(ViewContext* view) { Invalidate(view); }
    // Bound rectangle in view pixels, through the parent chain and the page.
    virtual Rect GetClientRect(const ViewContext& view) const;
    // Absolute position on the page: the rectangle offset by every parent.
    Rect GetPageRect() const;
    virtual std::string GetInfoText() const;   // UTF-8
    virtual void SetPassword(const std::string&) {}
    virtual std::string GetPassword() const { return {}; }
    virtual void SetAngle(int) {}
    virtual int GetAngle() const { return 0; }
    virtual bool IsRotatable() const { return false; }
    void SetAboveText() { aboveText_ = 1; }
    void SetBelowText() { aboveText_ = 0; }
    bool IsAboveText() const { return aboveText_ != 0; }

    // --- drawing ---
    virtual void Draw(ViewContext& view, Surface& dc) const;

    // --- content and binding hooks (overridden by text, tables, charts) ---
    virtual bool HasSelection() const { return false; }
    virtual std::string GetSelectedText() const { return {}; }
    virtual double GetValue() const { return 0.0; }
    virtual void SetValue(double) {}
    virtual void Recalculate(ViewContext*, int) {}
    virtual bool IsButton() const { return false; }
    virtual void SetCommand(const std::string&) {}
    virtual std::string GetCommand() const { return {}; }
    virtual std::string GetName() const { return {}; }
    virtual void SetName(const std::string&) {}

    // --- character and paragraph format: defaults of an object without text ---
    virtual int GetWeight() const { return 400; }
    virtual int GetCharSpacing() const { return 0; }
    virtual int GetHorzScale() const { return 100; }
    virtual std::string GetFaceName() const;   // GBK; "宋体"
    virtual int GetItalic() const { return 0; }
    virtual uint32_t GetTextColor() const { return 0; }
    virtual int GetUnderline() const { return 0; }
    virtual int GetStrikeOut() const { return 0; }
    virtual int GetScriptType() const { return 0; }
    virtual int GetVerAlignment() const { return -1; }
    virtual int GetAlignment() const { return -1; }
    virtual int GetLineSpace() const { return 0; }
    virtual int GetFirstLineIndent() const { return 0; }
    virtual int GetTextEffect() const { return 0; }
    virtual uint32_t GetBackColor() const { return 0xFFFFFF; }
    virtual int GetFontSize() const { return -9; }

    // Height of a text line in 0.01 mm (sentences); 0 for other objects.
    virtual int GetLineHeight() const { return 0; }
    // The font size converted to 0.01 mm.
    virtual int GetFontHeight() const;
    virtual std::string GetAutoCommand() const { return {}; }
    // Setters of the same properties; objects without text ignore them.
    // Those that can refuse a value answer whether it was taken.
    virtual void SetWeight(ViewContext*, int) {}
    virtual void SetCharSpacing(ViewContext*, int) {}
    virtual void SetHorzScale(ViewContext*, int) {}
    virtual bool SetFaceName(ViewContext*, const std::string&) { return false; }
    virtual bool SetAutoCommand(ViewContext*, const std::string&) { return false; }
    virtual void SetItalic(ViewContext*, int) {}
    virtual void SetTextColor(ViewContext*, uint32_t) {}
    virtual void SetUnderline(ViewContext*, int) {}
    virtual void SetStrikeOut(ViewContext*, int) {}
    virtual void SetScriptType(ViewContext*, int) {}
    // Applies an attribute code (see text/attributes.h); 0 when the object
    // does not take that code.
    virtual int SetFormatByCode(ViewContext*, int code, const mirel::AttrValue& value) { return 0; }
    virtual void SetVerAlignment(ViewContext*, int) {}
    virtual void SetAlignment(ViewContext*, int) {}
    virtual void SetLineSpace(ViewContext*, int) {}
    virtual void SetFirstLineIndent(ViewContext*, int) {}
    // Inner margins of text; the fourth (bottom) is ignored and read as 0.
    virtual void SetTextMargins(ViewContext*, int left, int top, int right, int bottom) {}
    virtual Rect GetTextMargins() const { return {}; }
    virtual void SetTextEffect(ViewContext*, int) {}
    virtual void SetBackColor(ViewContext*, uint32_t) {}
    virtual void SetFontSize(ViewContext*, int) {}

    // --- fill (CFilledObj and tables implement these) ---
    virtual bool CanFill() const { return false; }
    virtual void SetFillColor(ViewContext*, uint32_t) {}
    virtual uint32_t GetFillColor() const { return 0; }
    virtual void SetFillPicture(ViewContext*, std::unique_ptr<CImage> picture);
    virtual const CImage* GetFillPicture() const { return nullptr; }
    virtual void SetHatchStyle(ViewContext*, int) {}
    virtual int GetHatchStyle() const { return 99; }
    virtual void SetHatchColor(ViewContext*, uint32_t) {}
    virtual uint32_t GetHatchColor() const { return 0xFFFFFF; }
    virtual void SetNoFill(ViewContext*, int) {}
    virtual int GetNoFill() const { return 1; }

    // --- border line ---
    virtual void SetLineStyle(ViewContext*, int, int side) {}
    virtual int GetLineStyle(int side) const { return 5; }
    virtual void SetLineColor(ViewContext*, uint32_t, int side) {}
    virtual uint32_t GetLineColor(int side) const { return 0; }
    virtual void SetLineWidth(ViewContext*, int, int side) {}
    virtual int GetLineWidth(int side) const { return 1; }

    // --- protection ---
    void SetLock(int v);
    int GetLock() const { return lock_; }
    void SetNoPrint(int v) { noPrint_ = v; }
    int GetNoPrint() const { return noPrint_; }

    // --- links ---
    void SetParent(CBasicObj* p) { parent_ = p; }
    CBasicObj* GetParent() const { return parent_; }
    void SetPage(CTablePage* page) { page_ = page; }
    CTablePage* GetPage() const { return page_; }
    void SetPageIndex(int i) { pageIndex_ = i; }
    int GetPageIndex() const { return pageIndex_; }

    // --- text wrap around the object ---
    int GetWrapType() const { return wrapType_; }
    void SetWrapType(int t) { wrapType_ = static_cast<int16_t>(t); }
    Rect GetWrapMargins() const { return wrap_; }
    void SetWrapMargins(const Rect& m) { wrap_ = m; }

    // --- children ---
    virtual bool ContainsChild(const CBasicObj* obj) const;
    virtual CBasicObj* ChildAt(Point) const { return nullptr; }
    CBasicObj* GetChild(int i) const;
    int ChildCount() const { return static_cast<int>(children_.size()); }
    void AppendChild(std::unique_ptr<CBasicObj> child);
    // Removes obj; deletes it when del is set, else hands it back through
    // released. Returns the former index or -1.
    virtual int RemoveChild(ViewContext* view, CBasicObj* obj, bool del, std::unique_ptr<CBasicObj>* released = nullptr);
    void RemoveAllChildren();                                  // deletes them
    std::vector<std::unique_ptr<CBasicObj>> TakeAllChildren();  // hands them over

protected:
    // The CBasicObj part of a record: rectangle, lock, no-print.
    void SerializeBase(mirel::Archive& ar);
    bool DocumentProtected(int anyOf) const;
    void MarkModified() const;

    // Ordered so that the members pack without holes: a large document
    // holds millions of objects.
    Rect rect_;
    int32_t active_ = 0;
    int32_t aboveText_ = 1;
    int32_t pageIndex_ = 0;
    CBasicObj* parent_ = nullptr;
    CTablePage* page_ = nullptr;
    Rect wrap_{25, 0, 25, 0};
    int32_t lock_ = 0;
    int32_t noPrint_ = 0;
    std::vector<std::unique_ptr<CBasicObj>> children_;
    int16_t wrapType_ = 0;
};
