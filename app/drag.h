// Dragging the borderless window by its background and four of its groups,
// and the contact link.
#pragma once

#include "platform/shell.h"
#include "platform/window_runtime.h"

#include <cstdint>

namespace lumatone {

class Form1;

class Dragging {
  public:
    Dragging(Form1& form, WindowRuntime& runtime, Shell& shell);
    void OnMouseDown(int button, int shift, float x, float y);
    void OnMouseMove(int button, int shift, float x, float y);
    void OnMouseUp(int button, int shift, float x, float y);
    void OnContactClick();

  private:
    Form1& form_;
    WindowRuntime& runtime_;
    Shell& shell_;
};

} // namespace lumatone
