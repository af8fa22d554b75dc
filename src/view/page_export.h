#pragma once
// Writing the pages of a work form as BMP files.
#include <QImage>
#include <string>
#include <vector>

class CWorkForm;

namespace mirel {

// The file names for `pageCount` page bitmaps: the chosen name for a single
// page; otherwise the name without its ".bmp" followed by the page number
// (from 1) and ".bmp".
std::vector<std::string> PageBitmapFileNames(const std::string& chosen, int pageCount);

// Writes the image as a BMP file (through a temporary file, so an existing
// file stays intact until the new one is complete). False on failure.
bool WriteBitmapFile(const QImage& image, const std::string& path);

// Renders every page of the work form at 100 % and `dpi` and writes them;
// a failure shows "<file> : Write file error!" and stops. False on failure.
bool ExportPageBitmaps(const CWorkForm& wf, const std::string& chosen, int dpi);

} // namespace mirel
