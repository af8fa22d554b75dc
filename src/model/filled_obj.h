#pragma once
// CFilledObj: an object with an area that can be filled with a colour, a
// picture stretched over it, or a hatch.
#include "model/basic_obj.h"

class CFilledObj : public CBasicObj {
    MIREL_DECLARE_CLASS(CFilledObj)
public:
    CFilledObj();
    ~CFilledObj() override;
    void Serialize(mirel::Archive& ar) override;
    void CopyFrom(const CBasicObj& other) override;

    bool CanFill() const override { return true; }
    void SetFillColor(ViewContext* view, uint32_t c) override;
    uint32_t GetFillColor() const override { return fillColor_; }
    void SetFillPicture(ViewContext* view, std::unique_ptr<CImage> picture) override;
    const CImage* GetFillPicture() const override { return fillPicture_.get(); }
    void SetHatchStyle(ViewContext* view, int v) override;
    int GetHatchStyle() const override { return hatchStyle_; }
    void SetHatchColor(ViewContext* view, uint32_t c) override;
    uint32_t GetHatchColor() const override { return hatchColor_; }
    void SetNoFill(ViewContext* view, int v) override;
    int GetNoFill() const override { return noFill_; }

    // Paints the interior of a polygon given in document units relative to
    // the page: solid fill when filled, then the hatch.
    void FillPolygon(ViewContext& view, Surface& dc, const std::vector<Point>& pagePoints) const;

    static constexpr uint32_t kNoColor = 0xFF000000;
    static constexpr int kNoHatch = 99;

protected:
    // The CFilledObj part of a record, after the CBasicObj part.
    void SerializeFill(mirel::Archive& ar);

    int32_t noFill_ = 1;
    std::unique_ptr<CImage> fillPicture_;
    uint32_t fillColor_ = kNoColor;
    int32_t hatchStyle_ = kNoHatch;
    uint32_t hatchColor_ = 0;
};
