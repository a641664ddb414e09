// Dragging the borderless window by its background and four of its groups,
// and the contact link.
#pragma once

#include "platform/shell.h"
#include "platform/window_runtime.h"

#include <cstdint>

namespace lumatone {

class Form1;

// A pointer position in twips as a 16-bit integer: to nearest, halves to
// even, saturated at the type's ends; a position that is not a number is 0.
std::int16_t RoundTwipsToInt16(float twips);

class Dragging {
  public:
    Dragging(Form1& form, WindowRuntime& runtime, Shell& shell);
    void OnMouseDown(int button, int shift, float x, float y);
    void OnMouseMove(int button, int shift, float x, float y);
    void OnMouseUp(int button, int shift, float x, float y);
    void OnContactClick();

    bool IsDragging() const { return isDragging_; }

  private:
    void DragWindow(int button, float x, float y);

    Form1& form_;
    WindowRuntime& runtime_;
    Shell& shell_;
    bool isDragging_ = false;
    std::int16_t dragStartX_ = 0, dragStartY_ = 0;
};

} // namespace lumatone
