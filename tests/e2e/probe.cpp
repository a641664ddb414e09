// What an accessibility or automation tool sees of the running program, and a
// few shell actions done behind its back. Runs in the same Wine prefix.
//
//   probe window                 Form1: visible iconic left top width height
//   probe controls [form2]       every native control, one per line:
//                                class|parent caption|visible|enabled|x|y|w|h|value|text
//   probe focus                  text and class of the control with the keyboard focus
//   probe tray-exists            1 when the shell holds icon 1 of Form1, else 0
//   probe tray-delete            removes that icon
//   probe taskbar-created        broadcasts the shell's "TaskbarCreated"
//   probe menu                   the open pop-up menu: left top width height
//   probe gamma POSITION         largest difference between the screen's ramp and
//                                the ramp of that gamma slider position
//   probe process CLASS          private bytes, working set and CPU milliseconds of the
//                                process owning the first window of that class
//   probe hold FILE UNTIL        opens FILE for reading with no sharing, prints "held",
//                                and keeps it so until the file UNTIL exists
//   probe set-gamma POSITION     writes that position's ramp to the whole screen
//   probe kept-after EVENT POSITION
//                                resets the screen to a linear ramp as another program
//                                would, hands Form1 the event and waits until it is
//                                handled, then prints what "probe gamma" prints. EVENT:
//                                none, resume, resume-suspend, unlock, console-connect,
//                                remote-connect, or rate:HZ (another program changes
//                                the refresh rate)
#include "display/gamma.h"

#include <windows.h>

#include <psapi.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

HWND Form(const char* cls) {
    return FindWindowA(cls, nullptr);
}

std::string Text(HWND h) {
    char buffer[512] = {};
    // WM_GETTEXT crosses processes; GetWindowText would not ask a foreign window.
    SendMessageTimeoutA(h, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer),
                        SMTO_ABORTIFHUNG, 2000, nullptr);
    return buffer;
}

std::string ClassOf(HWND h) {
    char buffer[128] = {};
    GetClassNameA(h, buffer, sizeof buffer);
    return buffer;
}

BOOL CALLBACK PrintControl(HWND h, LPARAM) {
    const std::string cls = ClassOf(h);
    RECT r{};
    GetWindowRect(h, &r);
    long value = 0;
    if (_stricmp(cls.c_str(), "ScrollBar") == 0)
        value = static_cast<long>(SendMessageA(h, SBM_GETPOS, 0, 0));
    else if (_stricmp(cls.c_str(), "Button") == 0)
        value = static_cast<long>(SendMessageA(h, BM_GETCHECK, 0, 0));
    HWND parent = GetParent(h);
    std::string container = ClassOf(parent) == "LumatoneFrame" ? Text(parent) : "";
    std::printf("%s|%s|%d|%d|%ld|%ld|%ld|%ld|%ld|%s\n", cls.c_str(), container.c_str(),
                IsWindowVisible(h) ? 1 : 0, IsWindowEnabled(h) ? 1 : 0, r.left, r.top,
                r.right - r.left, r.bottom - r.top, value, Text(h).c_str());
    return TRUE;
}

// Largest difference between the screen's ramp and a position's, -1 if unreadable.
int GammaDifference(std::int16_t position) {
    lumatone::GammaRamp want{};
    lumatone::BuildGammaRamp(lumatone::GammaForPosition(position), want);
    WORD have[3][256] = {};
    HDC dc = GetDC(nullptr);
    const BOOL read = GetDeviceGammaRamp(dc, have);
    ReleaseDC(nullptr, dc);
    if (!read)
        return -1;
    int worst = 0;
    for (int i = 0; i < 768; ++i)
        worst = std::max(worst, std::abs(static_cast<int>(have[i / 256][i % 256]) -
                                         static_cast<int>(want[static_cast<std::size_t>(i)])));
    return worst;
}

bool WriteGamma(lumatone::GammaRamp ramp) {
    HDC dc = GetDC(nullptr);
    const BOOL ok = SetDeviceGammaRamp(dc, ramp.data());
    ReleaseDC(nullptr, dc);
    return ok != FALSE;
}

bool ResetGammaToLinear() {
    lumatone::GammaRamp linear;
    for (std::size_t i = 0; i < linear.size(); ++i)
        linear[i] = static_cast<WORD>((i % 256) * 257);
    return WriteGamma(linear);
}

// What the system tells windows when the screen's gamma may have been reset.
bool Deliver(HWND form, const std::string& event) {
    DWORD_PTR result = 0;
    auto send = [&](UINT message, WPARAM w) {
        return SendMessageTimeoutA(form, message, w, 0, SMTO_ABORTIFHUNG, 5000, &result) != 0;
    };
    if (event == "none")
        return true;
    if (event == "resume")
        return send(WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC);
    if (event == "resume-suspend")
        return send(WM_POWERBROADCAST, PBT_APMRESUMESUSPEND);
    if (event == "unlock")
        return send(WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK);
    if (event == "console-connect")
        return send(WM_WTSSESSION_CHANGE, WTS_CONSOLE_CONNECT);
    if (event == "remote-connect")
        return send(WM_WTSSESSION_CHANGE, WTS_REMOTE_CONNECT);
    if (event.rfind("rate:", 0) == 0) {
        DEVMODEA mode{};
        mode.dmSize = sizeof mode;
        if (!EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode))
            return false;
        // Wine refuses a change that flags the frequency alone.
        mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYFREQUENCY;
        mode.dmDisplayFrequency = static_cast<DWORD>(std::atoi(event.c_str() + 5));
        // Returns once every top-level window has handled WM_DISPLAYCHANGE.
        return ChangeDisplaySettingsExA(nullptr, &mode, nullptr, 0, nullptr) ==
               DISP_CHANGE_SUCCESSFUL;
    }
    return false;
}

NOTIFYICONDATAA IconOf(HWND form) {
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = form;
    data.uID = 1;
    return data;
}

int Usage() {
    std::fprintf(stderr, "usage: probe window|controls [form2]|focus|tray-exists|tray-delete|"
                         "taskbar-created|menu|gamma POSITION|process CLASS|hold FILE UNTIL|"
                         "set-gamma POSITION|kept-after EVENT POSITION\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return Usage();
    const std::string command = argv[1];
    HWND form1 = Form("LumatoneForm1");

    if (command == "window") {
        if (form1 == nullptr)
            return 1;
        WINDOWPLACEMENT p{};
        p.length = sizeof p;
        GetWindowPlacement(form1, &p);
        RECT r{};
        GetWindowRect(form1, &r);
        if (IsIconic(form1))
            r = p.rcNormalPosition;
        std::printf("%d %d %ld %ld %ld %ld\n", IsWindowVisible(form1) ? 1 : 0,
                    IsIconic(form1) ? 1 : 0, r.left, r.top, r.right - r.left, r.bottom - r.top);
        return 0;
    }
    if (command == "controls") {
        HWND form = argc > 2 && std::string(argv[2]) == "form2" ? Form("LumatoneForm2") : form1;
        if (form == nullptr)
            return 1;
        EnumChildWindows(form, PrintControl, 0);
        return 0;
    }
    if (command == "focus") {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        if (form1 == nullptr || !GetGUIThreadInfo(GetWindowThreadProcessId(form1, nullptr), &info))
            return 1;
        std::printf("%s|%s\n", ClassOf(info.hwndFocus).c_str(), Text(info.hwndFocus).c_str());
        return 0;
    }
    if (command == "tray-exists" || command == "tray-delete") {
        if (form1 == nullptr)
            return 1;
        NOTIFYICONDATAA data = IconOf(form1);
        // A modify that changes nothing succeeds only while the icon exists.
        const bool ok =
            Shell_NotifyIconA(command == "tray-exists" ? NIM_MODIFY : NIM_DELETE, &data) != FALSE;
        std::printf("%d\n", ok ? 1 : 0);
        return 0;
    }
    if (command == "taskbar-created") {
        const UINT message = RegisterWindowMessageA("TaskbarCreated");
        DWORD_PTR result = 0;
        SendMessageTimeoutA(HWND_BROADCAST, message, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
        return 0;
    }
    if (command == "menu") {
        HWND menu = FindWindowA("#32768", nullptr);
        if (menu == nullptr || !IsWindowVisible(menu))
            return 1;
        RECT r{};
        GetWindowRect(menu, &r);
        std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
        return 0;
    }
    if (command == "gamma" && argc > 2) {
        const int worst = GammaDifference(static_cast<std::int16_t>(std::atoi(argv[2])));
        if (worst < 0)
            return 1;
        std::printf("%d\n", worst);
        return 0;
    }
    if (command == "set-gamma" && argc > 2) {
        lumatone::GammaRamp ramp;
        lumatone::BuildGammaRamp(
            lumatone::GammaForPosition(static_cast<std::int16_t>(std::atoi(argv[2]))), ramp);
        return WriteGamma(ramp) ? 0 : 1;
    }
    if (command == "kept-after" && argc > 3) {
        if (form1 == nullptr || !ResetGammaToLinear() || !Deliver(form1, argv[2]))
            return 1;
        const int worst = GammaDifference(static_cast<std::int16_t>(std::atoi(argv[3])));
        if (worst < 0)
            return 1;
        std::printf("%d\n", worst);
        return 0;
    }
    if (command == "process" && argc > 2) {
        HWND w = Form(argv[2]);
        DWORD pid = 0;
        if (w == nullptr || GetWindowThreadProcessId(w, &pid) == 0)
            return 1;
        HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
        if (process == nullptr)
            return 1;
        PROCESS_MEMORY_COUNTERS_EX memory{};
        memory.cb = sizeof memory;
        GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                             sizeof memory);
        FILETIME created{}, exited{}, kernel{}, user{};
        GetProcessTimes(process, &created, &exited, &kernel, &user);
        auto ms = [](FILETIME t) {
            return ((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) /
                   10000ULL;
        };
        std::printf(
            "%lu %llu %llu %llu\n", static_cast<unsigned long>(pid),
            // Private bytes; Wine fills only the older of the two fields.
            static_cast<unsigned long long>(std::max(memory.PrivateUsage, memory.PagefileUsage)),
            static_cast<unsigned long long>(memory.WorkingSetSize), ms(kernel) + ms(user));
        CloseHandle(process);
        return 0;
    }
    if (command == "hold" && argc > 3) {
        // Another program that has the file open and shares it with nobody.
        HANDLE file = CreateFileA(argv[2], GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return 1;
        std::printf("held\n");
        std::fflush(stdout);
        while (GetFileAttributesA(argv[3]) == INVALID_FILE_ATTRIBUTES)
            Sleep(100);
        CloseHandle(file);
        return 0;
    }
    return Usage();
}
