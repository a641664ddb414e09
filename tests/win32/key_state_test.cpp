// Key states as the hotkey poll reads them: keys typed by xdotool reach a
// focused Wine window, and GetAsyncKeyState sees them from anywhere; each
// press and release moves the last input time, which idle polls rely on.
#include "platform/win32/win32_keyboard.h"
#include "win32/wine_support.h"

#include <chrono>
#include <functional>

namespace lumatone {
namespace {

int keyUps[256];

LRESULT CALLBACK CountKeyUps(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if ((message == WM_KEYUP || message == WM_SYSKEYUP) && wParam < 256)
        ++keyUps[wParam];
    return DefWindowProcA(window, message, wParam, lParam);
}

// xdotool is a Unix program. Wine starts it by its path, but hands back no
// process to wait for, so callers wait for its effect instead.
bool Xdotool(const std::string& arguments) {
    std::string line = "xdotool " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessA("Z:\\usr\\bin\\xdotool", line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process))
        return false;
    for (HANDLE handle : {process.hThread, process.hProcess})
        if (handle != nullptr && handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
    return true;
}

// Dispatches messages until the condition holds; false after ten seconds.
bool PumpUntil(const std::function<bool()>& condition) {
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        wine::PumpMessages(20);
    }
    return true;
}

TEST(Win32KeyboardAsync, ReportsAHeldKeyAndAPressSinceTheLastQuery) {
    WNDCLASSA type{};
    type.lpfnWndProc = CountKeyUps;
    type.hInstance = GetModuleHandleA(nullptr);
    type.lpszClassName = "LumatoneKeyTest";
    RegisterClassA(&type);
    HWND window = CreateWindowExA(0, "LumatoneKeyTest", "keys", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                  50, 50, 400, 300, nullptr, nullptr, type.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    SetForegroundWindow(window);
    SetFocus(window);
    wine::PumpMessages(300);
    // Without a window manager the X focus follows the pointer.
    ASSERT_TRUE(Xdotool("mousemove 200 200"));
    ASSERT_TRUE(PumpUntil([] {
        POINT at{};
        GetCursorPos(&at);
        return at.x == 200 && at.y == 200;
    }));
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == window; }));

    Win32Keyboard keyboard;
    struct Key {
        const char* name;
        int code;
        // Wine keeps no "pressed since" bit for the side-neutral modifier codes.
        bool pressBit;
    } keys[] = {{"F9", VK_F9, true},
                {"a", 'A', true},
                {"space", VK_SPACE, true},
                {"Control_L", VK_CONTROL, false}};
    for (const Key& key : keys) {
        SCOPED_TRACE(key.name);
        keyboard.GetAsyncKeyState(key.code); // forget any earlier press
        std::uint32_t before = 0, input = 0, now = 0;
        ASSERT_TRUE(keyboard.GetLastInputTime(before, now));

        ASSERT_TRUE(Xdotool(std::string("keydown ") + key.name));
        EXPECT_TRUE(PumpUntil([&] { return (keyboard.GetAsyncKeyState(key.code) & 0x8000) != 0; }));
        ASSERT_TRUE(keyboard.GetLastInputTime(input, now));
        EXPECT_NE(input, before) << "a press is input";
        EXPECT_GE(static_cast<std::int32_t>(now - input), 0) << "on the clock of now";
        before = input;
        wine::PumpMessages(100);
        EXPECT_EQ(keyboard.GetAsyncKeyState(key.code) & 0x8000, 0x8000) << "still held";

        int ups = keyUps[key.code];
        ASSERT_TRUE(Xdotool(std::string("keyup ") + key.name));
        EXPECT_TRUE(PumpUntil([&] { return keyUps[key.code] > ups; }));
        EXPECT_EQ(keyboard.GetAsyncKeyState(key.code) & 0x8000, 0);
        ASSERT_TRUE(keyboard.GetLastInputTime(input, now));
        EXPECT_NE(input, before) << "a release is input";

        if (!key.pressBit)
            continue;
        // A press and release between two queries shows once, in bit 0.
        ups = keyUps[key.code];
        ASSERT_TRUE(Xdotool(std::string("key ") + key.name));
        EXPECT_TRUE(PumpUntil([&] { return keyUps[key.code] > ups; }));
        EXPECT_EQ(keyboard.GetAsyncKeyState(key.code), 1);
        EXPECT_EQ(keyboard.GetAsyncKeyState(key.code), 0);
    }
    DestroyWindow(window);
}

} // namespace
} // namespace lumatone
