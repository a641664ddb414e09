#pragma once

#include "platform/vibrance_applet.h"

#include <string>
#include <vector>

namespace lumatone {

inline constexpr const char* kNvidiaSettings = "/usr/bin/nvidia-settings";

// Starts "nvidia-settings -a DigitalVibrance=N" by its full path: no shell, no
// search of PATH. Finished children are reaped at each start and at the end.
class LinuxVibrance : public VibranceApplet {
  public:
    explicit LinuxVibrance(std::string program = kNvidiaSettings) : program_(std::move(program)) {}
    ~LinuxVibrance() override;
    LinuxVibrance(const LinuxVibrance&) = delete;
    LinuxVibrance& operator=(const LinuxVibrance&) = delete;

    bool Run(std::int16_t level) override;

  private:
    void Reap();
    std::string program_;
    std::vector<int> children_;
};

} // namespace lumatone
