#pragma once

#include "platform/vibrance_applet.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

namespace lumatone {

inline constexpr const char* kNvidiaSettings = "/usr/bin/nvidia-settings";

// The driver's DigitalVibrance range as "nvidia-settings -q DigitalVibrance"
// reports it ("... are in the range -1024 - 1023 (inclusive)."); none when
// the text holds no usable range, as when NV-CONTROL does not answer.
struct VibranceRange {
    std::int32_t min = 0;
    std::int32_t max = 0;
};
std::optional<VibranceRange> ParseVibranceRange(std::string_view text);
// The slider's 0..100 onto the driver's range: 0 is the driver's own 0 (the
// colours as they come) when the range holds it, 100 its maximum.
std::int32_t DriverVibrance(std::int16_t level, const VibranceRange& range);

// Starts "nvidia-settings -a DigitalVibrance=N" by its full path: no shell, no
// search of PATH. One at a time: a level asked for while one runs waits, and
// only the last one asked for does, so the last level is the one applied.
// A thread of its own reaps each child and starts the waiting level; the
// caller never waits for the tool.
class LinuxVibrance : public VibranceApplet {
  public:
    explicit LinuxVibrance(std::string program = kNvidiaSettings) : program_(std::move(program)) {}
    ~LinuxVibrance() override;
    LinuxVibrance(const LinuxVibrance&) = delete;
    LinuxVibrance& operator=(const LinuxVibrance&) = delete;

    // Asks the driver once for the range (waiting at most a few seconds):
    // true when NV-CONTROL answers with one.
    bool Answers();
    // False only when the tool could not be started, or the driver gave no range.
    bool Run(std::int16_t level) override;

  private:
    // Starts the tool for the driver's value; the lock is held.
    bool StartLocked(std::int32_t value);
    void Reaper();

    std::string program_;
    std::optional<std::optional<VibranceRange>> range_; // asked: the answer
    std::mutex mutex_;
    std::condition_variable wake_;
    int running_ = 0; // the child's id; 0: none
    std::int32_t runningValue_ = 0;
    std::optional<std::int32_t> waiting_;
    bool stopping_ = false;
    std::thread reaper_;
};

} // namespace lumatone
