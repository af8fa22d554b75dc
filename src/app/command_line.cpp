#include "app/command_line.h"

#include "graphics/page_renderer.h"
#include "persist/document_source.h"
#include "model/document_dump.h"
#include "model/mirel_data.h"
#include "model/work_form.h"
#include "persist/native_file.h"
#include "platform/prompt.h"

#include <QImage>

#include <cstdio>
#include <cstring>
#include <strings.h>
#include <filesystem>
#include <iostream>

namespace fs = std::filesystem;

namespace mirel {

namespace {

constexpr int kExportDpi = 150;

bool IsKnownFormat(const std::string& f)
{
    return f == "qwd" || f == "png" || f == "pdf";
}

bool IsRemoteName(const std::string& name)
{
    auto starts = [&](const char* prefix) {
        const size_t n = std::strlen(prefix);
        return name.size() >= n && strncasecmp(name.c_str(), prefix, n) == 0;
    };
    return starts("http://") || starts("https://") || starts("ftp:");
}

// Where the converted form of `input` goes: the output folder (or the
// input's own folder; the current one for remote names) with the new
// extension; pages get "-N" before it.
fs::path OutputPath(const CommandLine& cmd, const std::string& input, const std::string& suffix)
{
    const bool remote = IsRemoteName(input);
    std::string name = input;
    if (remote)
        name = name.substr(name.find_last_of("/:") + 1);
    const fs::path in(name);
    fs::path dir = cmd.outDir;
    if (dir.empty())
        dir = (!remote && in.has_parent_path()) ? in.parent_path() : fs::path(".");
    const std::string stem = in.stem().string();
    return dir / ((stem.empty() ? std::string("document") : stem) + suffix);
}

void Fail(const std::string& file, const std::string& message)
{
    std::cerr << file << ": " << message << std::endl;
}

SourceSettings SettingsOf(const CommandLine& cmd)
{
    SourceSettings s;
    s.ftp.address = cmd.ftpServer;
    s.ftp.user = cmd.ftpUser;
    s.ftp.password = cmd.ftpPassword;
    s.ftp.passive = !cmd.ftpActive;
    return s;
}

// Opens any name the program opens: a local file of any kind it reads, an
// address, or "FTP:" and a name on the given server.
std::unique_ptr<CMirelData> Load(const CommandLine& cmd, const std::string& input)
{
    LoadedDocument loaded = LoadDocumentFile(input, SettingsOf(cmd));
    if (!loaded.document)
        Fail(input, loaded.error.empty() ? "refused" : loaded.error);
    return std::move(loaded.document);
}

bool ConvertOne(const CommandLine& cmd, const std::string& input)
{
    const std::unique_ptr<CMirelData> loaded = Load(cmd, input);
    if (!loaded)
        return false;
    CMirelData& doc = *loaded;
    if (cmd.format == "pdf") {
        const fs::path out = OutputPath(cmd, input, ".pdf");
        std::string error;
        if (!WriteDocumentPdf(doc, out, &error)) {
            Fail(out.string(), error.empty() ? "cannot write the PDF" : error);
            return false;
        }
        std::cout << out.string() << '\n';
        return true;
    }
    if (cmd.format == "qwd") {
        const fs::path out = OutputPath(cmd, input, ".qwd");
        const FileOutcome saved = SaveNativeFile(out.string(), doc);
        if (!saved.ok()) {
            Fail(out.string(), saved.message);
            return false;
        }
        std::cout << out.string() << '\n';
        return true;
    }
    // png: one image a page, numbered over all work forms.
    int n = 0;
    for (int w = 0; w < doc.WorkFormCount(); ++w) {
        const CWorkForm& wf = *doc.GetWorkForm(w);
        for (int p = 0; p < wf.PageCount(); ++p) {
            const fs::path out = OutputPath(cmd, input, std::string("-").append(std::to_string(++n)).append(".png"));
            const QImage image = RenderPageImage(wf, p, kExportDpi);
            if (image.isNull() || !image.save(QString::fromStdString(out.string()), "PNG")) {
                Fail(out.string(), "cannot write the image");
                return false;
            }
            std::cout << out.string() << '\n';
        }
    }
    return true;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args)
{
    CommandLine cmd;
    auto invalid = [&](const std::string& why) {
        cmd.action = CommandLine::Action::Invalid;
        cmd.error = why;
        return cmd;
    };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            cmd.action = CommandLine::Action::Help;
        } else if (a == "--new") {
            cmd.action = CommandLine::Action::New;
        } else if (a == "--dump") {
            cmd.action = CommandLine::Action::Dump;
        } else if (a == "--convert-to") {
            if (i + 1 >= args.size())
                return invalid("--convert-to needs a format");
            cmd.action = CommandLine::Action::Convert;
            cmd.format = args[++i];
            if (!IsKnownFormat(cmd.format))
                return invalid("unknown format: " + cmd.format);
        } else if (a == "--ftp-server" || a == "--ftp-user" || a == "--ftp-password") {
            if (i + 1 >= args.size())
                return invalid(a + " needs a value");
            std::string& field = a == "--ftp-server" ? cmd.ftpServer : a == "--ftp-user" ? cmd.ftpUser : cmd.ftpPassword;
            field = args[++i];
        } else if (a == "--ftp-active") {
            cmd.ftpActive = true;
        } else if (a == "--outdir") {
            if (i + 1 >= args.size())
                return invalid("--outdir needs a folder");
            cmd.outDir = args[++i];
        } else if (a.size() > 1 && a[0] == '-' && a != "-") {
            return invalid("unknown option: " + a);
        } else {
            cmd.files.push_back(a);
        }
    }
    if (cmd.action != CommandLine::Action::Window && cmd.action != CommandLine::Action::Help && cmd.files.empty())
        return invalid("no file given");
    return cmd;
}

std::string UsageText()
{
    return "usage: lanzhou [FILE...]\n"
           "       lanzhou --new FILE.qwd\n"
           "       lanzhou --convert-to qwd|pdf|png [--outdir DIR] FILE...\n"
           "       FILE may be a path, an http:// or https:// address, or FTP:NAME with\n"
           "       --ftp-server HOST[:PORT] --ftp-user USER --ftp-password PASSWORD [--ftp-active]\n"
           "       lanzhou --dump FILE\n";
}

int RunHeadless(const CommandLine& cmd)
{
    // Messages go to standard error; questions get their default answer.
    ScriptedPrompt prompt;
    prompt.SetEcho(true);
    prompt.SetRecording(false);
    ScopedPrompt scope(prompt);

    int failures = 0;
    switch (cmd.action) {
    case CommandLine::Action::Help:
        std::cout << UsageText();
        return 0;
    case CommandLine::Action::Invalid:
        std::cerr << cmd.error << '\n' << UsageText();
        return 2;
    case CommandLine::Action::New:
        for (const std::string& f : cmd.files) {
            CMirelData doc;
            const FileOutcome saved = SaveNativeFile(f, doc);
            if (!saved.ok()) {
                Fail(f, saved.message);
                ++failures;
            }
        }
        break;
    case CommandLine::Action::Dump:
        for (const std::string& f : cmd.files) {
            if (const std::unique_ptr<CMirelData> doc = Load(cmd, f))
                std::cout << DumpDocument(*doc);
            else
                ++failures;
        }
        break;
    case CommandLine::Action::Convert:
        // The output folder is made when it is missing, as other office
        // suites do.
        if (!cmd.outDir.empty()) {
            std::error_code ec;
            fs::create_directories(cmd.outDir, ec);
            if (ec) {
                Fail(cmd.outDir, ec.message());
                return 1;
            }
        }
        for (const std::string& f : cmd.files)
            failures += ConvertOne(cmd, f) ? 0 : 1;
        break;
    case CommandLine::Action::Window:
        break;
    }
    return failures ? 1 : 0;
}

}  // namespace mirel
