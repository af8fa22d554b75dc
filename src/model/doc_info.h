#pragma once
// CDocInfo: the document-information record (title, author, company …) and
// the revision-marking switch with the per-reviser colours.
#include "model/mirel_object.h"

#include <memory>
#include <string>
#include <vector>

class CDocInfo : public mirel::CMirelObject {
    MIREL_DECLARE_CLASS(CDocInfo)
public:
    CDocInfo();
    ~CDocInfo() override;
    void Serialize(mirel::Archive& ar) override;

    // All strings are GBK.
    std::string title, subject, author, company, lastModifiedBy, category, keywords, remarks;
    float docVersion = 1.0f;
    std::vector<std::unique_ptr<mirel::CMirelObject>> extra;
    int32_t trackRevisions = 0;
    std::string currentEmender;   // run-time only
    std::string emendStyles;
};
