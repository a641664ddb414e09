// Painting: the window and group backgrounds, group borders, lines, control
// colours, and the fonts and brushes they use.
#include "model/twips.h"
#include "win32app/view.h"

#include <cmath>

namespace lumatone::view {

LRESULT Win32View::OnControlColor(HWND child, HDC dc) {
    const NativeControl* n = kit_.FindOnForm1(child);
    if (n == nullptr)
        return 0;
    const Control& c = *n->control;
    SetTextColor(dc,
                 IsWindowEnabled(child) ? ToColorRef(c.foreColor) : GetSysColor(COLOR_GRAYTEXT));
    SetBkColor(dc, ToColorRef(c.backColor));
    return reinterpret_cast<LRESULT>(BrushFor(ToColorRef(c.backColor)));
}

void Win32View::EraseBackground(HWND hwnd, HDC dc) {
    if (app_ == nullptr)
        return;
    RECT r{};
    GetClientRect(hwnd, &r);
    const Frame* frame = FrameOf(hwnd);
    const Rgb back = frame ? frame->backColor : app_->form1.backColor;
    FillRect(dc, &r, BrushFor(ToColorRef(back)));
}

void Win32View::Paint(HWND hwnd) {
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(hwnd, &ps);
    if (app_ != nullptr && kit_.Form1Window() != nullptr) {
        const Frame* frame = FrameOf(hwnd);
        if (frame != nullptr) {
            // The group's etched border, broken by its caption.
            HGDIOBJ oldFont = SelectObject(dc, FontFor(frame->font));
            SIZE text{};
            GetTextExtentPoint32A(dc, frame->caption.c_str(),
                                  static_cast<int>(frame->caption.size()), &text);
            RECT r{};
            GetClientRect(hwnd, &r);
            r.top = text.cy / 2;
            DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT);
            if (!frame->caption.empty()) {
                SetTextColor(dc, ToColorRef(frame->foreColor));
                SetBkColor(dc, ToColorRef(frame->backColor));
                SetBkMode(dc, OPAQUE);
                const std::string padded = " " + frame->caption + " ";
                TextOutA(dc, 6, 0, padded.c_str(), static_cast<int>(padded.size()));
            }
            SelectObject(dc, oldFont);
        }
        HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_WINDOWTEXT));
        HGDIOBJ oldPen = SelectObject(dc, pen);
        for (const PixelLine& p : kit_.LinesOf(frame)) {
            MoveToEx(dc, p.x1, p.y1, nullptr);
            LineTo(dc, p.x2, p.y2);
            SetPixel(dc, p.x2, p.y2, GetSysColor(COLOR_WINDOWTEXT)); // both ends drawn
        }
        SelectObject(dc, oldPen);
        DeleteObject(pen);
    }
    EndPaint(hwnd, &ps);
}

HFONT Win32View::FontFor(const FontSpec& wanted) {
    const std::string key = wanted.name + "|" + std::to_string(std::lround(wanted.points * 100)) +
                            (wanted.underline ? "|u" : "");
    if (auto it = fonts_.find(key); it != fonts_.end())
        return it->second;
    const int height =
        -static_cast<int>(std::lround(wanted.points * static_cast<float>(dpi_) / 72));
    HFONT font = CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, wanted.underline ? TRUE : FALSE,
                             FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, wanted.name.c_str());
    fonts_[key] = font;
    return font;
}

HBRUSH Win32View::BrushFor(COLORREF color) {
    if (auto it = brushes_.find(color); it != brushes_.end())
        return it->second;
    HBRUSH brush = CreateSolidBrush(color);
    brushes_[color] = brush;
    return brush;
}

} // namespace lumatone::view
