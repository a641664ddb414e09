// Helpers shared by the backend's tests under Wine.
#pragma once

#include "platform/win32/win32_windows.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>

namespace lumatone::wine {

inline std::string ModuleFolder() {
    char path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string text(path, n);
    return text.substr(0, text.rfind('\\'));
}

// The stand-in program, built beside the tests.
inline std::string StandinPath() {
    return ModuleFolder() + "\\lumatone_win32_standin.exe";
}

// A fresh folder under the temporary folder, removed with everything in it.
class TempFolder {
  public:
    TempFolder() {
        char base[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, base);
        for (unsigned i = GetTickCount();; ++i) {
            path_ = std::string(base) + "lumatone-test-" + std::to_string(i);
            if (CreateDirectoryA(path_.c_str(), nullptr))
                break;
        }
    }
    ~TempFolder() { Remove(path_); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

  private:
    static void Remove(const std::string& folder) {
        WIN32_FIND_DATAA entry;
        HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &entry);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                std::string name = entry.cFileName;
                if (name == "." || name == "..")
                    continue;
                std::string full = folder + "\\" + name;
                if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    Remove(full);
                else
                    DeleteFileA(full.c_str());
            } while (FindNextFileA(find, &entry));
            FindClose(find);
        }
        RemoveDirectoryA(folder.c_str());
    }
    std::string path_;
};

inline bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

inline void WriteFile(const std::string& path, const std::string& content) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << content;
}

// Dispatches this thread's messages for a while; Wine takes X events in then.
inline void PumpMessages(int milliseconds) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    do {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (std::chrono::steady_clock::now() < end);
}

// Waits for a file that another process writes; false if it never comes.
inline bool WaitForFile(const std::string& path, int milliseconds = 20000) {
    for (int waited = 0; waited < milliseconds; waited += 50) {
        if (FileExists(path))
            return true;
        Sleep(50);
    }
    return false;
}

// What the stand-in wrote about how it was started: key=value lines.
inline std::map<std::string, std::string> ReadFacts(const std::string& path) {
    std::map<std::string, std::string> facts;
    std::istringstream lines(ReadFile(path));
    std::string line;
    while (std::getline(lines, line)) {
        auto cut = line.find('=');
        if (cut != std::string::npos)
            facts[line.substr(0, cut)] = line.substr(cut + 1);
    }
    return facts;
}

// Starts a program and waits for its end; its exit code, or -1.
inline int RunAndWait(const std::string& program, const std::string& commandLine) {
    std::string line = commandLine;
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return -1;
    WaitForSingleObject(process.hProcess, 30000);
    DWORD code = static_cast<DWORD>(-1);
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

// A plain top-level window of this thread, destroyed at the end of the scope.
class TestWindow {
  public:
    TestWindow() {
        WNDCLASSA type{};
        type.lpfnWndProc = DefWindowProcA;
        type.hInstance = GetModuleHandleA(nullptr);
        type.lpszClassName = "LumatoneWineTest";
        type.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        RegisterClassA(&type); // fails harmlessly when already registered
        window_ = CreateWindowExA(0, "LumatoneWineTest", "Lumatone test", WS_OVERLAPPEDWINDOW, 0, 0,
                                  400, 300, nullptr, nullptr, type.hInstance, nullptr);
    }
    ~TestWindow() {
        if (window_ != nullptr)
            DestroyWindow(window_);
    }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    HWND get() const { return window_; }

  private:
    HWND window_ = nullptr;
};

} // namespace lumatone::wine
