#include "persist/text_import.h"

#include "model/mirel_data.h"
#include "model/table_page.h"
#include "model/work_form.h"
#include "persist/open_messages.h"
#include "platform/cells.h"
#include "platform/gbk.h"
#include "platform/messages.h"
#include "text/text_edit.h"
#include "text/text_obj.h"

#include <array>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace mirel {

namespace {

bool IsGbkLead(unsigned char c)
{
    return c >= 0x81 && c <= 0xFE;
}

bool IsGbkTrail(unsigned char c)
{
    return c >= 0x40 && c <= 0xFE && c != 0x7F;
}

// GBK text -> the text the engine may hold: line ends become "\r", control
// characters (the inline-object placeholder 0x16 among them) and zero bytes
// go, broken double-byte characters become "?".
std::string CleanGbk(std::string_view in, std::size_t& replaced)
{
    std::string out;
    out.reserve(in.size());
    for (std::size_t i = 0; i < in.size(); ++i) {
        const auto c = static_cast<unsigned char>(in[i]);
        if (c == '\r') {
            out.push_back('\r');
            if (i + 1 < in.size() && in[i + 1] == '\n')
                ++i;
        } else if (c == '\n') {
            out.push_back('\r');
        } else if (c < 0x20 && c != '\t') {
            continue;
        } else if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (IsGbkLead(c) && i + 1 < in.size() && IsGbkTrail(static_cast<unsigned char>(in[i + 1]))) {
            out.push_back(in[i]);
            out.push_back(in[i + 1]);
            ++i;
        } else {
            // 0x80, 0xFF, or a lead byte without its trail byte.
            out.push_back('?');
            ++replaced;
        }
    }
    return out;
}

std::u16string Utf16Units(std::string_view bytes, bool littleEndian, std::size_t& replaced)
{
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        units.push_back(static_cast<char16_t>(littleEndian ? (a | b << 8) : (a << 8 | b)));
    }
    if (bytes.size() % 2)
        ++replaced;   // half a unit at the end
    return units;
}

bool StartsWith(std::string_view bytes, std::string_view prefix)
{
    return bytes.substr(0, prefix.size()) == prefix;
}

}  // namespace

DecodedText DecodeTextForImport(std::string_view bytes)
{
    DecodedText out;
    std::string gbk;
    if (StartsWith(bytes, "\xEF\xBB\xBF")) {
        out.encoding = TextEncoding::Utf8;
        Converted<std::string> c = Utf8ToGbk(bytes.substr(3));
        gbk = std::move(c.text);
        out.replaced += c.lost;
    } else if (StartsWith(bytes, "\xFF\xFE") || StartsWith(bytes, "\xFE\xFF")) {
        const bool little = bytes[0] == '\xFF';
        out.encoding = little ? TextEncoding::Utf16LE : TextEncoding::Utf16BE;
        Converted<std::string> c = Utf16ToGbk(Utf16Units(bytes.substr(2), little, out.replaced));
        gbk = std::move(c.text);
        out.replaced += c.lost;
    } else {
        gbk.assign(bytes);
    }
    out.cells = ToCells(CleanGbk(gbk, out.replaced), false);
    return out;
}

FileOutcome ReadTextFile(const std::string& path, std::string& bytes, std::size_t maxBytes)
{
    const MessageArg name(std::filesystem::path(path).filename().string());
    if (path.empty() || path.size() >= PATH_MAX)
        return FileSystemFailure(ENOENT, path, false);
    // O_NONBLOCK: a FIFO must not hold the open up; it is refused below.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return errno == ENOENT || errno == ENOTDIR ? FileSystemFailure(errno, path, false)
                                                   : FileOutcome{FileOutcome::Status::Failed, Message(41550)};
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return {FileOutcome::Status::Failed, FormatText(open_msg::kNotAFile, std::span(&name, 1))};
    }
    auto tooLarge = [&] {
        ::close(fd);
        bytes.clear();
        return FileOutcome{FileOutcome::Status::Failed, FormatText(open_msg::kTextTooLarge, std::span(&name, 1))};
    };
    if (static_cast<std::uint64_t>(st.st_size) > maxBytes)
        return tooLarge();
    // Read to the end, whatever stat said: the file may have grown since.
    bytes.clear();
    bytes.reserve(static_cast<std::size_t>(st.st_size));
    std::array<char, 65536> block;
    for (;;) {
        const ssize_t n = ::read(fd, block.data(), block.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ::close(fd);
            bytes.clear();
            return {FileOutcome::Status::Failed, Message(41550)};
        }
        if (n == 0)
            break;
        if (bytes.size() + static_cast<std::size_t>(n) > maxBytes)
            return tooLarge();
        bytes.append(block.data(), static_cast<std::size_t>(n));
    }
    ::close(fd);
    return {};
}

CTextObj* FirstTextColumn(const CMirelData& doc)
{
    const CWorkForm* wf = doc.FirstWorkForm();
    if (!wf)
        wf = doc.GetWorkForm(0);
    if (!wf)
        return nullptr;
    if (CTextObj* column = wf->FindTextColumn(0))
        return column;
    for (int i = 0; i < wf->PageCount(); ++i)
        if (const CTablePage* page = wf->GetPage(i); page && !page->TextColumns().empty())
            return page->TextColumns().front().get();
    return nullptr;
}

FileOutcome ImportText(CTextObj& column, const std::string& path)
{
    std::string bytes;
    FileOutcome read = ReadTextFile(path, bytes);
    if (!read.ok())
        return read;
    const DecodedText text = DecodeTextForImport(bytes);
    if (text.cells.empty())
        return {};
    // Paragraph marks in the cells start new paragraphs. One insertion and
    // one layout at the end, however many paragraphs the file holds; the
    // caret is kept as an offset across the layout, which rebuilds rows.
    const TextPosition end = InsertCells(column, column.caret, text.cells, column.TypingAttributes());
    const int caret = column.PositionToOffset(end);
    Relayout(column);
    column.caret = column.OffsetToPosition(caret);
    return {};
}

}  // namespace mirel
