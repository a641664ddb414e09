#pragma once

#include "platform/single_instance.h"

#include <cstdint>
#include <string>

namespace lumatone {

// A mutex of the session names the running copy; the request reaches its main
// window, found by class, as a registered message.
class Win32SingleInstance : public SingleInstance {
  public:
    explicit Win32SingleInstance(std::string mainWindowClass);
    ~Win32SingleInstance() override;
    Win32SingleInstance(const Win32SingleInstance&) = delete;
    Win32SingleInstance& operator=(const Win32SingleInstance&) = delete;

    bool Claim() override;
    bool AskToShow() override;
    void OnShowAsked(std::function<void()> show) override { show_ = std::move(show); }
    void Pause(int milliseconds) override;

    // The message the main window takes the request as, and where it hands it.
    std::uint32_t ShowMessage() const { return showMessage_; }
    void ShowAsked();

  private:
    std::string class_;
    std::uint32_t showMessage_ = 0;
    void* mutex_ = nullptr;
    std::function<void()> show_;
};

} // namespace lumatone
