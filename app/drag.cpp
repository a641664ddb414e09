#include "app/drag.h"

#include "app/forms.h"

namespace lumatone {

Dragging::Dragging(Form1& form, WindowRuntime& runtime, Shell& shell)
    : form_(form), runtime_(runtime), shell_(shell) {}

void Dragging::OnMouseDown(int, int, float, float) {}
void Dragging::OnMouseMove(int, int, float, float) {}
void Dragging::OnMouseUp(int, int, float, float) {}
void Dragging::OnContactClick() {}

} // namespace lumatone
