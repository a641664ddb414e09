// Windows' side of the kit's native handles, and small helpers of the view.
#pragma once

#include "model/controls.h"
#include "view/native_windows.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace lumatone::view {

// How a later copy of the program finds the running one's main window.
inline constexpr const char* kForm1Class = "LumatoneForm1";

inline HWND Hwnd(NativeHandle h) {
    return static_cast<HWND>(h);
}

inline COLORREF ToColorRef(Rgb c) {
    return RGB(c.r, c.g, c.b);
}

std::string WindowText(HWND hwnd);

inline WPARAM CheckState(std::int32_t value) {
    return value == 1 ? BST_CHECKED : value == 2 ? BST_INDETERMINATE : BST_UNCHECKED;
}

} // namespace lumatone::view
