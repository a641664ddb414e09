#pragma once

#include "platform/handles.h"

#include <cstdint>
#include <string>

namespace lumatone {

// Records keep their 32-bit layouts; a backend with other native sizes copies
// field by field.
// NOTIFYICONDATAA in its first, 88-byte form (window handle 32 bits wide).
struct NotifyIconData {
    std::uint32_t cbSize = 0;
    std::uint32_t hWnd = 0;
    std::uint32_t uID = 0;
    std::uint32_t uFlags = 0;
    std::uint32_t uCallbackMessage = 0;
    std::uint32_t hIcon = 0;
    char szTip[64] = {};
};
static_assert(sizeof(NotifyIconData) == 88);

constexpr std::uint32_t kNimAdd = 0;
constexpr std::uint32_t kNimModify = 1;
constexpr std::uint32_t kNimDelete = 2;

constexpr std::uint32_t kMbOk = 0;
constexpr std::uint32_t kMbYesNo = 4;
constexpr std::uint32_t kMbIconWarning = 0x30;
constexpr std::uint32_t kMbSystemModal = 4096;

class Shell {
  public:
    virtual ~Shell() = default;
    virtual bool NotifyIcon(std::uint32_t message, const NotifyIconData& data) = 0;
    virtual bool Execute(const std::string& operation, const std::string& file,
                         const std::string& parameters, const std::string& folder,
                         int showCommand) = 0;
    // Returns the platform's answer code (IDYES, IDNO ...). An owner window
    // takes no input until the box is dismissed; 0 for none.
    virtual int MessageBox(WindowHandle owner, const std::string& text, const std::string& title,
                           std::uint32_t style) = 0;
};

} // namespace lumatone
