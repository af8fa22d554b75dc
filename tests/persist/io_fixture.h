#pragma once
// A fixture for the document-file tests: a private folder, the system temp
// dir pointed into it (so leftovers of downloads and conversions show up),
// a scripted prompt and the user's open document.
#include "model/mirel_data.h"
#include "model/table_page.h"
#include "model/work_form.h"
#include "persist/document_files.h"
#include "persist/native_file.h"
#include "platform/prompt.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <unistd.h>

namespace mirel::test {

class DocumentIoTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        namespace fs = std::filesystem;
        dir_ = fs::temp_directory_path() / ("mirel-io-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "tmp");
        if (const char* old = std::getenv("TMPDIR"))
            oldTmp_ = old;
        ::setenv("TMPDIR", (dir_ / "tmp").c_str(), 1);
        previousPrompt_ = SetCurrentPrompt(&prompt_);
        MakeUsersDocument();
    }
    void TearDown() override
    {
        SetCurrentPrompt(previousPrompt_);
        if (oldTmp_)
            ::setenv("TMPDIR", oldTmp_->c_str(), 1);
        else
            ::unsetenv("TMPDIR");
        std::filesystem::permissions(dir_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add);
        std::filesystem::remove_all(dir_);
    }

    // The document the user has open: two pages, a path name, modified.
    void MakeUsersDocument()
    {
        doc_.GetWorkForm(0)->name = "mine";
        doc_.GetWorkForm(0)->AddPage();
        doc_.SetPathName(Path("report.qwd"));
        doc_.SetModified(true);
    }

    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    static std::string Read(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static void Write(const std::string& path, const std::string& bytes)
    {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    }
    // A native file of `pages` pages in a work form named `name`.
    static std::string NativeFileBytes(int pages, const std::string& name = "theirs")
    {
        CMirelData other;
        other.GetWorkForm(0)->name = name;
        for (int i = 1; i < pages; ++i)
            other.GetWorkForm(0)->AddPage();
        return NativeBytes(other);
    }
    // What is left in the system temp dir.
    std::set<std::string> TempLeftovers() const
    {
        std::set<std::string> names;
        for (const auto& e : std::filesystem::recursive_directory_iterator(dir_ / "tmp"))
            names.insert(e.path().filename().string());
        return names;
    }

    // Texts of the message boxes shown, in order.
    std::vector<std::string> Messages() const
    {
        std::vector<std::string> texts;
        for (const auto& call : prompt_.Calls())
            if (call.kind == ScriptedPrompt::Kind::Message)
                texts.push_back(call.text);
        return texts;
    }
    bool SaveQuestionAsked() const
    {
        for (const auto& call : prompt_.Calls())
            if (call.text == "文档已修改，是否保存？")
                return true;
        return false;
    }
    // The last message box (not the save question), or "".
    std::string LastMessage() const
    {
        const auto texts = Messages();
        for (auto it = texts.rbegin(); it != texts.rend(); ++it)
            if (*it != "文档已修改，是否保存？")
                return *it;
        return {};
    }

    // The state an open that failed must leave as it was.
    struct Snapshot {
        std::string bytes, path;
        bool modified = false;
        int32_t tempCopy = 0;
        bool operator==(const Snapshot&) const = default;
    };
    Snapshot Take() { return {NativeBytes(doc_), doc_.GetPathName(), doc_.IsModified(), doc_.isTempCopy}; }

    std::filesystem::path dir_;
    std::optional<std::string> oldTmp_;
    ScriptedPrompt prompt_;
    Prompt* previousPrompt_ = nullptr;
    CMirelData doc_;
    DocumentFiles files_{doc_};
};

}  // namespace mirel::test
