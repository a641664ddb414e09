// The yardstick for the measurements: the least a Win32 program with a window
// does. "minimal timer" adds one 50 ms timer that does nothing; "minimal show"
// shows its window.
#include <windows.h>

#include <cstring>

namespace {

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CLOSE) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.lpszClassName = "LumatoneMinimal";
    RegisterClassA(&wc);
    HWND hwnd = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 441, 489, nullptr, nullptr,
                                instance, nullptr);
    if (std::strstr(commandLine, "timer") != nullptr)
        SetTimer(hwnd, 1, 50, nullptr);
    if (std::strstr(commandLine, "show") != nullptr)
        ShowWindow(hwnd, SW_SHOWNORMAL);
    MSG msg{};
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    return 0;
}
