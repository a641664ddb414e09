#include "app/drag.h"

#include "model/forms.h"

#include <cmath>
#include <limits>

namespace lumatone {
namespace {

int RoundTwips(float twips) {
    return static_cast<int>(std::nearbyint(twips));
}

// x, y in twips relative to the group.
bool OnBindingBox(Form1& form, const Frame& group, float x, float y) {
    for (const BindingGroup& g : form.BindingGroups())
        for (const BindingSlot& slot : g.slots) {
            const TextBox& box = *slot.binding;
            if (box.container == &group && x >= static_cast<float>(box.left) &&
                x < static_cast<float>(box.left + box.width) && y >= static_cast<float>(box.top) &&
                y < static_cast<float>(box.top + box.height))
                return true;
        }
    return false;
}

} // namespace

std::int16_t RoundTwipsToInt16(float twips) {
    if (std::isnan(twips))
        return 0;
    constexpr float lo = std::numeric_limits<std::int16_t>::min();
    constexpr float hi = std::numeric_limits<std::int16_t>::max();
    // nearbyint follows the current rounding mode: to nearest, halves to even.
    const float r = std::nearbyint(twips);
    return static_cast<std::int16_t>(r < lo ? lo : r > hi ? hi : r);
}

Dragging::Dragging(Form1& form, ScreenMetrics& screen) : form_(form), screen_(screen) {
    const auto down = [this](int b, int s, float x, float y) { OnMouseDown(b, s, x, y); };
    const auto move = [this](int b, int s, float x, float y) { OnMouseMove(b, s, x, y); };
    const auto up = [this](int b, int s, float x, float y) { OnMouseUp(b, s, x, y); };
    form_.onMouseDown = down;
    form_.onMouseMove = move;
    form_.onMouseUp = up;
    for (Frame* handle : {&form_.Frame1, &form_.Frame2, &form_.Frame3, &form_.Frame4}) {
        // A locked group's binding boxes are disabled, and the system hands a
        // press on a disabled control to the group: a press there drags nothing.
        handle->onMouseDown = [this, handle](int b, int s, float x, float y) {
            if (!OnBindingBox(form_, *handle, x, y))
                OnMouseDown(b, s, x, y);
        };
        handle->onMouseMove = move;
        handle->onMouseUp = up;
    }
}

void Dragging::OnMouseDown(int, int, float x, float y) {
    isDragging_ = true;
    dragStartX_ = RoundTwipsToInt16(x);
    dragStartY_ = RoundTwipsToInt16(y);
}

void Dragging::OnMouseMove(int button, int, float x, float y) {
    DragWindow(button, x, y);
}

void Dragging::OnMouseUp(int, int, float, float) {
    isDragging_ = false;
}

void Dragging::DragWindow(int button, float x, float y) {
    if (button != 1 || !isDragging_)
        return;
    const float sw = static_cast<float>(screen_.ScreenWidthTwips());
    const float sh = static_cast<float>(screen_.ScreenHeightTwips());
    const float w = static_cast<float>(form_.width);
    const float h = static_cast<float>(form_.height);
    // A window that cannot fit along an axis keeps that edge at 0, where its
    // top-left corner stays reachable; clamping it to both edges in turn
    // would make it jump between two positions on every move.
    const bool fitsX = w <= sw, fitsY = h <= sh;
    if (!fitsX)
        form_.left = 0;
    if (!fitsY)
        form_.top = 0;

    const float l = static_cast<float>(form_.left);
    const float t = static_cast<float>(form_.top);
    const float dx = x - static_cast<float>(dragStartX_);
    const float dy = y - static_cast<float>(dragStartY_);
    // The first edge crossed decides the step; the other coordinate then stays.
    if (fitsX && l + dx < 0.0f)
        form_.left = 0;
    else if (fitsY && t + dy < 0.0f)
        form_.top = 0;
    else if (fitsX && l + dx + w > sw)
        form_.left = RoundTwips(sw - w);
    else if (fitsY && t + dy + h > sh)
        form_.top = RoundTwips(sh - h);
    else {
        if (fitsX)
            form_.left = RoundTwips(l + dx);
        if (fitsY)
            form_.top = RoundTwips(t + dy);
    }
}

} // namespace lumatone
