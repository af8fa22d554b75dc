#include "view/page_export.h"

#include "model/work_form.h"
#include "persist/native_file.h"
#include "platform/prompt.h"
#include "graphics/page_renderer.h"

#include <QBuffer>
#include <QByteArray>

namespace mirel {

std::vector<std::string> PageBitmapFileNames(const std::string& chosen, int pageCount)
{
    std::vector<std::string> names;
    if (pageCount <= 0 || chosen.empty())
        return names;
    if (pageCount == 1) {
        names.push_back(chosen);
        return names;
    }
    // Only a ".bmp" ending is cut: a name without it keeps every character.
    std::string stem = chosen;
    if (stem.size() >= 4) {
        std::string tail = stem.substr(stem.size() - 4);
        for (char& c : tail)
            c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        if (tail == ".bmp")
            stem.resize(stem.size() - 4);
    }
    for (int i = 1; i <= pageCount; ++i)
        names.push_back(stem + std::to_string(i) + ".bmp");
    return names;
}

bool WriteBitmapFile(const QImage& image, const std::string& path)
{
    if (image.isNull() || path.empty())
        return false;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "BMP"))
        return false;
    return WriteFileAtomically(path, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size()))).ok();
}

bool ExportPageBitmaps(const CWorkForm& wf, const std::string& chosen, int dpi)
{
    const std::vector<std::string> names = PageBitmapFileNames(chosen, wf.PageCount());
    for (size_t i = 0; i < names.size(); ++i) {
        const QImage image = RenderPageImage(wf, static_cast<int>(i), dpi, 100);
        if (!WriteBitmapFile(image, names[i])) {
            ShowComponentMessage(names[i] + " : Write file error!", PromptIcon::Error);
            return false;
        }
    }
    return !names.empty();
}

} // namespace mirel
