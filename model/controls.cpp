#include "model/controls.h"

namespace lumatone {

ControlLook Control::Look() const {
    ControlLook look;
    LookInto(look);
    return look;
}

void Control::LookInto(ControlLook& look) const {
    look.text.clear();
    look.ends = {};
    look.value = 0;
    look.left = WindowLeft();
    look.top = WindowTop();
    look.width = width;
    look.height = height;
    look.originLeft = container ? container->WindowLeft() : 0;
    look.originTop = container ? container->WindowTop() : 0;
    look.visible = visible;
    look.enabled = enabled;
    look.foreColor = foreColor;
    look.backColor = backColor;
    look.font = font;
    AddToLook(look);
}

} // namespace lumatone
