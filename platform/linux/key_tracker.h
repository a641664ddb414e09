// What the Linux keyboard knows of the keys between looks at the X server.
#pragma once

#include <array>
#include <cstdint>

namespace lumatone {

// Raw press and release events say when the keys may have changed, so a poll
// that follows none answers from the last look at the server instead of
// asking it again; a look a second old is checked anyway, or, with every key
// (or button) up, one as old as the owner allows. Without events every burst
// of queries looks anew and nothing reads as pressed since.
class KeyTracker {
  public:
    // The server's answers, asked only when they may have changed.
    class Server {
      public:
        virtual ~Server() = default;
        // One bit per keycode, as XQueryKeymap gives it.
        virtual void ReadKeymap(std::array<std::uint8_t, 32>& keymap) = 0;
        // The pointer's button mask, as XQueryPointer gives it.
        virtual unsigned ReadButtons() = 0;
    };

    static constexpr std::int64_t kCheckNs = 1'000'000'000;

    // A missed release would repeat a held hotkey: while anything reads as
    // down the check stays at a second. A missed press only delays one, and
    // each check wakes the X server.
    explicit KeyTracker(bool followsEvents, std::int64_t upCheckNs = kCheckNs)
        : followsEvents_(followsEvents), upCheckNs_(upCheckNs) {}

    // The events drained before a burst of queries.
    void Key(std::uint8_t keycode, bool pressed);
    void Button(unsigned button, bool pressed);
    // Events that went missing, or keys that may change without one.
    void Lost();
    // While the screen saver or lock is on no key reads as down, and what is
    // pressed meanwhile never reads as pressed since.
    void ScreenSaver(bool on);

    // The start of a burst of queries at this time.
    void Look(std::int64_t nowNs);
    // GetAsyncKeyState's answer; consumes the key's pressed-since bit.
    std::int16_t State(std::int32_t virtualKey, Server& server);

  private:
    bool KeyDown(std::int32_t virtualKey, Server& server);
    bool ButtonDown(unsigned button, Server& server);

    bool followsEvents_;
    std::int64_t upCheckNs_;
    bool saverOn_ = false;
    std::int64_t now_ = 0;
    std::array<bool, 256> pressedSince_{};

    std::array<std::uint8_t, 32> keymap_{};
    bool keymapStale_ = true;
    std::int64_t keymapAt_ = 0;
    unsigned buttons_ = 0;
    bool buttonsStale_ = true;
    std::int64_t buttonsAt_ = 0;
};

} // namespace lumatone
