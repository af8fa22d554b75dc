#pragma once
// CMirelData: the document. An ordered list of work forms with the
// protection settings, an optional file password and the document
// information. Its header is written directly, not as an object record.
#include "model/mirel_object.h"

#include <memory>
#include <string>
#include <vector>

class CWorkForm;
class CDocInfo;
class CBasicObj;

namespace mirel {
class Archive;
class Prompt;
}  // namespace mirel

class CMirelData {
public:
    CMirelData();
    ~CMirelData();
    CMirelData(const CMirelData&) = delete;
    CMirelData& operator=(const CMirelData&) = delete;

    // Takes over everything another document holds (work forms, information,
    // header fields); the other one is left reset. Used to hand over a
    // document that was read apart once the whole file was read.
    void TakeContentsFrom(CMirelData& other);

    // Back to a new document: one work form "工作表1" and one information record.
    void ResetDocument();

    // --- work forms ---
    int WorkFormCount() const { return static_cast<int>(workForms_.size()); }
    CWorkForm* GetWorkForm(int index) const;
    CWorkForm* FindWorkFormById(int id) const;
    CWorkForm* FindWorkFormByName(const std::string& name) const;   // letter case ignored
    int IndexOfWorkForm(const std::string& name) const;
    CWorkForm* AddWorkForm(std::unique_ptr<CWorkForm> wf);
    CWorkForm* InsertWorkForm(int position, std::unique_ptr<CWorkForm> wf);
    void RemoveWorkForm(int index);
    std::unique_ptr<CWorkForm> TakeWorkForm(int index);
    std::unique_ptr<CWorkForm> CreateWorkForm(int id, const std::string& name) const;
    // Names a work form being inserted: "工作表" and the next counter value.
    std::string NextWorkFormName();
    bool SetWorkFormId(int index, int id);
    int NextWorkFormId() const;
    CWorkForm* FirstWorkForm() const { return workForms_.empty() ? nullptr : workForms_.front().get(); }
    CWorkForm* FindWorkFormOfObject(const CBasicObj* obj) const;

    // --- information ---
    CDocInfo* GetDocInfo();
    const CDocInfo* FindDocInfo() const;   // the first one, or null
    int DocInfoCount() const { return static_cast<int>(docInfos_.size()); }

    // --- state ---
    void SetModified(bool flag) { modified_ = modifiedSinceAutoSave_ = flag ? 1 : 0; }
    bool IsModified() const { return modified_ != 0; }
    const std::string& GetPathName() const { return pathName_; }   // UTF-8
    void SetPathName(const std::string& path) { pathName_ = path; }
    std::string GetFileTitle() const;
    int GetProtectType() const { return protectType; }

    // Writes or reads the document record. Reading resets first, so a
    // refusal (newer version, wrong password) leaves a reset document and
    // returns false; a damaged stream throws ArchiveError.
    bool Serialize(mirel::Archive& ar, const std::string& password = {}, bool askForPassword = false);

    // Fields, named as in the file; strings are GBK.
    int16_t formatWord = 1;
    int16_t fileVersion = 2005;
    std::string noticeText;
    int16_t charSet = 134;
    int32_t workFormCounter = 1;
    int32_t protectType = 0;
    std::string protectPassword;
    std::string filePassword;   // plain in memory, scrambled in the file
    int32_t isTempCopy = 0;

    static constexpr int16_t kCurrentVersion = 2005;
    static constexpr int kFirstWorkFormId = 0xE900;

private:
    void AdoptWorkForm(CWorkForm* wf);

    std::vector<std::unique_ptr<CWorkForm>> workForms_;
    std::vector<std::unique_ptr<mirel::CMirelObject>> docInfos_;
    std::string pathName_;
    int32_t modified_ = 0, modifiedSinceAutoSave_ = 0;
};
