#include "platform/win32/win32_single_instance.h"

#include <windows.h>

namespace lumatone {
namespace {

// The same for every copy wherever it lies, and per session.
constexpr const char* kMutexName = "Local\\Lumatone.Instance";
constexpr const char* kShowMessageName = "Lumatone.ShowMainWindow";

} // namespace

Win32SingleInstance::Win32SingleInstance(std::string mainWindowClass)
    : class_(std::move(mainWindowClass)), showMessage_(RegisterWindowMessageA(kShowMessageName)) {}

Win32SingleInstance::~Win32SingleInstance() {
    if (mutex_ != nullptr)
        CloseHandle(mutex_);
}

bool Win32SingleInstance::Claim() {
    if (mutex_ != nullptr) {
        // Held by a copy that has ended or is ending: it passes to us.
        const DWORD waited = WaitForSingleObject(mutex_, 0);
        return waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
    }
    mutex_ = CreateMutexA(nullptr, TRUE, kMutexName);
    const DWORD error = GetLastError();
    if (mutex_ == nullptr)
        // An elevated copy's mutex is closed to us, and still says one runs.
        // Any other failure must not keep the program from starting.
        return error != ERROR_ACCESS_DENIED;
    return error != ERROR_ALREADY_EXISTS;
}

bool Win32SingleInstance::AskToShow() {
    HWND running = FindWindowA(class_.c_str(), nullptr);
    if (running == nullptr || showMessage_ == 0)
        return false;
    DWORD process = 0;
    GetWindowThreadProcessId(running, &process);
    // Only the foreground program may hand the foreground on.
    AllowSetForegroundWindow(process);
    return PostMessageA(running, showMessage_, 0, 0) != FALSE;
}

void Win32SingleInstance::Pause(int milliseconds) {
    ::Sleep(static_cast<DWORD>(milliseconds));
}

void Win32SingleInstance::ShowAsked() {
    if (show_)
        show_();
}

} // namespace lumatone
