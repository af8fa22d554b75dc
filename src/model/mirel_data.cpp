#include "model/mirel_data.h"

#include "model/basic_obj.h"
#include "model/doc_info.h"
#include "model/profile_values.h"
#include "model/table_page.h"
#include "model/work_form.h"
#include "persist/archive.h"
#include "persist/password.h"
#include "platform/gbk.h"
#include "platform/messages.h"
#include "platform/prompt.h"

#include <algorithm>

namespace {
// "工作表" in GBK: the stem of work-form names.
const std::string kWorkFormStem = "\xB9\xA4\xD7\xF7\xB1\xED";
// The notice written into every file; readers ignore it.
const std::string kNotice = "LanZhou Office Document";

bool EqualNoCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    // Names are GBK: fold only single-byte letters, step over double-byte cells whole.
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = a[i], y = b[i];
        if (x >= 0x80) {
            if (x != y || i + 1 >= a.size() || a[i + 1] != b[i + 1])
                return false;
            ++i;
            continue;
        }
        if (std::tolower(x) != std::tolower(y))
            return false;
    }
    return true;
}

std::unique_ptr<CDocInfo> NewDocInfo()
{
    auto info = std::make_unique<CDocInfo>();
    info->author = mirel::ProfileOwner();
    info->lastModifiedBy = info->author;
    info->company = mirel::ProfileCompanyName();
    return info;
}
}  // namespace

CMirelData::CMirelData()
{
    ResetDocument();
}

CMirelData::~CMirelData() = default;

void CMirelData::ResetDocument()
{
    workForms_.clear();
    docInfos_.clear();
    formatWord = 1;
    fileVersion = kCurrentVersion;
    noticeText = kNotice;
    charSet = 134;
    workFormCounter = 1;
    protectType = 0;
    protectPassword.clear();
    filePassword.clear();
    isTempCopy = 0;
    auto wf = CreateWorkForm(kFirstWorkFormId, kWorkFormStem + "1");
    AddWorkForm(std::move(wf));
    docInfos_.push_back(NewDocInfo());
}

void CMirelData::TakeContentsFrom(CMirelData& other)
{
    workForms_ = std::move(other.workForms_);
    docInfos_ = std::move(other.docInfos_);
    formatWord = other.formatWord;
    fileVersion = other.fileVersion;
    noticeText = other.noticeText;
    charSet = other.charSet;
    workFormCounter = other.workFormCounter;
    protectType = other.protectType;
    protectPassword = other.protectPassword;
    filePassword = other.filePassword;
    isTempCopy = other.isTempCopy;
    for (const auto& wf : workForms_)
        wf->SetDocument(this);
    other.ResetDocument();
}

// ---------------------------------------------------------------- work forms

CWorkForm* CMirelData::GetWorkForm(int index) const
{
    if (index < 0 || index >= WorkFormCount())
        return nullptr;
    return workForms_[index].get();
}

CWorkForm* CMirelData::FindWorkFormById(int id) const
{
    for (const auto& wf : workForms_)
        if (wf->id == id)
            return wf.get();
    return nullptr;
}

CWorkForm* CMirelData::FindWorkFormByName(const std::string& name) const
{
    const int i = IndexOfWorkForm(name);
    return i < 0 ? nullptr : workForms_[i].get();
}

int CMirelData::IndexOfWorkForm(const std::string& name) const
{
    for (size_t i = 0; i < workForms_.size(); ++i)
        if (EqualNoCase(workForms_[i]->name, name))
            return static_cast<int>(i);
    return -1;
}

void CMirelData::AdoptWorkForm(CWorkForm* wf)
{
    wf->SetDocument(this);
}

CWorkForm* CMirelData::AddWorkForm(std::unique_ptr<CWorkForm> wf)
{
    return InsertWorkForm(WorkFormCount(), std::move(wf));
}

CWorkForm* CMirelData::InsertWorkForm(int position, std::unique_ptr<CWorkForm> wf)
{
    position = std::clamp(position, 0, WorkFormCount());
    CWorkForm* raw = wf.get();
    workForms_.insert(workForms_.begin() + position, std::move(wf));
    AdoptWorkForm(raw);
    return raw;
}

void CMirelData::RemoveWorkForm(int index)
{
    TakeWorkForm(index);
}

std::unique_ptr<CWorkForm> CMirelData::TakeWorkForm(int index)
{
    if (index < 0 || index >= WorkFormCount())
        return nullptr;
    std::unique_ptr<CWorkForm> wf = std::move(workForms_[index]);
    workForms_.erase(workForms_.begin() + index);
    wf->SetDocument(nullptr);
    return wf;
}

std::unique_ptr<CWorkForm> CMirelData::CreateWorkForm(int id, const std::string& name) const
{
    auto wf = std::make_unique<CWorkForm>();
    wf->id = id;
    wf->name = name;
    return wf;
}

std::string CMirelData::NextWorkFormName()
{
    ++workFormCounter;
    return kWorkFormStem + std::to_string(workFormCounter);
}

bool CMirelData::SetWorkFormId(int index, int id)
{
    CWorkForm* wf = GetWorkForm(index);
    if (!wf)
        return false;
    for (const auto& other : workForms_)
        if (other.get() != wf && other->id == id)
            return false;
    wf->id = id;
    return true;
}

int CMirelData::NextWorkFormId() const
{
    int id = kFirstWorkFormId;
    for (const auto& wf : workForms_)
        id = std::max(id, static_cast<int>(wf->id));
    return id;
}

CWorkForm* CMirelData::FindWorkFormOfObject(const CBasicObj* obj) const
{
    if (!obj)
        return nullptr;
    const CBasicObj* top = obj;
    while (top->GetParent())
        top = top->GetParent();
    for (const auto& wf : workForms_) {
        for (int p = 0; p < wf->PageCount(); ++p) {
            const CTablePage* page = wf->GetPage(p);
            if (page == top || top->GetPage() == page)
                return wf.get();
            for (const auto& o : page->Objects())
                if (o.get() == top)
                    return wf.get();
        }
    }
    return nullptr;
}

// ---------------------------------------------------------------- information

CDocInfo* CMirelData::GetDocInfo()
{
    for (const auto& o : docInfos_)
        if (CDocInfo* info = mirel::DynamicCast<CDocInfo>(o.get()))
            return info;
    docInfos_.push_back(NewDocInfo());
    return static_cast<CDocInfo*>(docInfos_.back().get());
}

const CDocInfo* CMirelData::FindDocInfo() const
{
    for (const auto& o : docInfos_)
        if (const CDocInfo* info = mirel::DynamicCast<CDocInfo>(o.get()))
            return info;
    return nullptr;
}

std::string CMirelData::GetFileTitle() const
{
    const size_t slash = pathName_.find_last_of("/\\");
    const size_t dot = pathName_.find_last_of('.');
    if (slash == std::string::npos || dot == std::string::npos || dot < slash)
        return {};
    return pathName_.substr(slash + 1, dot - slash - 1);
}

// ---------------------------------------------------------------- the record

bool CMirelData::Serialize(mirel::Archive& ar, const std::string& password, bool askForPassword)
{
    if (ar.IsStoring()) {
        ar.WriteI16(formatWord);
        ar.WriteString(noticeText);
        ar.WriteI16(kCurrentVersion);
        ar.WriteI16(charSet);
        ar.WriteI32(workFormCounter);
        ar.WriteString(mirel::ScramblePassword(filePassword).value_or(std::string()));
        ar.WriteI32(protectType);
        ar.WriteString(protectPassword);
        ar.WriteCount(workForms_.size());
        for (const auto& wf : workForms_)
            ar.WriteObject(wf.get());
        if (IsModified() && !docInfos_.empty())
            if (CDocInfo* info = mirel::DynamicCast<CDocInfo>(docInfos_.front().get()))
                info->lastModifiedBy = mirel::ProfileOwner();
        ar.WriteCount(docInfos_.size());
        for (const auto& o : docInfos_)
            ar.WriteObject(o.get());
        return true;
    }

    ResetDocument();
    formatWord = ar.ReadI16();
    ar.ReadString();   // the notice: ignored
    fileVersion = ar.ReadI16();
    if (fileVersion > kCurrentVersion) {
        mirel::CurrentPrompt().MessageBox(mirel::kComponentCaption, mirel::Message(41654), mirel::PromptIcon::Error,
                                         mirel::PromptButtons::Ok);
        ResetDocument();
        return false;
    }
    if (fileVersion >= 2001) {
        charSet = ar.ReadI16();
        workFormCounter = ar.ReadI32();
    }
    if (fileVersion >= 2002) {
        const std::string stored = mirel::UnscramblePassword(ar.ReadString());
        if (!stored.empty() && stored != password) {
            if (!askForPassword || !mirel::AskFilePassword(stored)) {
                ResetDocument();
                return false;
            }
        }
        filePassword = stored;
    }
    protectType = ar.ReadI32();
    if (fileVersion == 2000)
        protectType = protectType == 0 ? 1 : 0;
    protectPassword = ar.ReadString();

    workForms_.clear();
    docInfos_.clear();
    const uint32_t forms = ar.ReadCount(2);
    for (uint32_t i = 0; i < forms; ++i) {
        std::unique_ptr<CWorkForm> wf = ar.ReadOwned<CWorkForm>();
        if (!wf)
            throw mirel::ArchiveError(mirel::ArchiveError::Kind::BadRecord, "null work form");
        AddWorkForm(std::move(wf));
    }
    const uint32_t infos = ar.ReadCount(2);
    for (uint32_t i = 0; i < infos; ++i)
        docInfos_.push_back(ar.ReadOwnedAny());
    if (workForms_.empty())
        throw mirel::ArchiveError(mirel::ArchiveError::Kind::BadRecord, "a document without work forms");
    for (size_t k = 0; k < workForms_.size(); ++k)
        workForms_[k]->id = kFirstWorkFormId + static_cast<int>(k);
    return true;
}
