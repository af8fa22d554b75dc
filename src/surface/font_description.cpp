#include "surface/font_description.h"

#include <QHash>

namespace mirel {

std::size_t hashFontSpec(const FontSpec& s)
{
    std::size_t h = qHash(s.faceName);
    for (int v : {s.height, s.width, s.escapement, s.orientation, s.weight, int(s.italic),
                  int(s.underline), int(s.strikeOut), s.charSet})
        h = h * 1000003u ^ static_cast<std::size_t>(static_cast<unsigned>(v));
    return h;
}

}  // namespace mirel
