// Dragging the borderless window by its background and four of its groups.
#pragma once

#include "platform/window_services.h"

#include <cstdint>

namespace lumatone {

class Form1;

// A pointer position in twips as a 16-bit integer: to nearest, halves to
// even, saturated at the type's ends; a position that is not a number is 0.
std::int16_t RoundTwipsToInt16(float twips);

class Dragging {
  public:
    Dragging(Form1& form, ScreenMetrics& screen);
    void OnMouseDown(int button, int shift, float x, float y);
    void OnMouseMove(int button, int shift, float x, float y);
    void OnMouseUp(int button, int shift, float x, float y);

    bool IsDragging() const { return isDragging_; }

  private:
    void DragWindow(int button, float x, float y);

    Form1& form_;
    ScreenMetrics& screen_;
    bool isDragging_ = false;
    std::int16_t dragStartX_ = 0, dragStartY_ = 0;
};

} // namespace lumatone
