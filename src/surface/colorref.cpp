#include "surface/colorref.h"

namespace mirel {

QColor toQColor(ColorRef c)
{
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

ColorRef fromQColor(const QColor& c)
{
    const QColor rgb = c.toRgb();
    return Rgb(rgb.red(), rgb.green(), rgb.blue());
}

}  // namespace mirel
