#include "view/key_codes.h"

#include <Qt>

namespace mirel {

int VirtualKeyFromQt(int key)
{
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return 'A' + (key - Qt::Key_A);
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return '0' + (key - Qt::Key_0);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return vk::F1 + (key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Backspace:
        return vk::Back;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return vk::Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return vk::Return;
    case Qt::Key_Shift:
        return vk::Shift;
    case Qt::Key_Control:
        return vk::Control;
    case Qt::Key_Alt:
        return vk::Menu;
    case Qt::Key_Escape:
        return vk::Escape;
    case Qt::Key_Space:
        return vk::Space;
    case Qt::Key_PageUp:
        return vk::Prior;
    case Qt::Key_PageDown:
        return vk::Next;
    case Qt::Key_End:
        return vk::End;
    case Qt::Key_Home:
        return vk::Home;
    case Qt::Key_Left:
        return vk::Left;
    case Qt::Key_Up:
        return vk::Up;
    case Qt::Key_Right:
        return vk::Right;
    case Qt::Key_Down:
        return vk::Down;
    case Qt::Key_Insert:
        return vk::Insert;
    case Qt::Key_Delete:
        return vk::Delete;
    default:
        return 0;
    }
}

} // namespace mirel
