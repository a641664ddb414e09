#include "hotkeys/capture.h"

#include "base/integer_text.h"
#include "model/controls.h"

namespace lumatone {

void CaptureKey(TextBox& bindingBox, TextBox& codeBox, std::int16_t virtualKey,
                KeyNameStyle style) {
    if (virtualKey < 1 || virtualKey > 255)
        return;
    codeBox.text = DecimalText(virtualKey);
    if (auto name = KeyName(virtualKey, style))
        bindingBox.text = *name;
}

} // namespace lumatone
