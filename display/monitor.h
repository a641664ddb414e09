// The monitor panel of the "Frequency" group and the refresh-rate change.
#pragma once

#include "platform/display_modes.h"
#include "platform/message_box.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace lumatone {

class Form1;

// Rates a user may ask for, in hz. 1 is the driver's "hardware default".
constexpr std::int32_t kMinRequestedRate = 1;
constexpr std::int32_t kMaxRequestedRate = 1000;

// What the text of Text9 asks for.
struct RateRequest {
    enum class Kind { Empty, Rate, NotWholeNumber, OutOfRange };
    Kind kind = Kind::Empty;
    std::int32_t rate = 0; // valid for Kind::Rate only
};
// Blanks around the number are ignored and a text of blanks alone counts as
// empty; a decimal such as "59.94" is not a whole number and is refused.
RateRequest ParseRateRequest(std::string_view text);

// The lines FrequencyNote shows after a typed rate was refused.
inline constexpr const char* kNoteNotWholeNumber = "Not a whole number of hz";
inline constexpr const char* kNoteOutOfRange = "Rate must be 1 to 1000 hz";

class MonitorPanel {
  public:
    MonitorPanel(Form1& form, DisplayModes& modes, MessageDialog& messages);
    void ShowMonitorInfo();
    void ChangeRefreshRate();

  private:
    void ShowNote(const char* note);

    Form1& form_;
    DisplayModes& modes_;
    MessageDialog& messages_;
    // Panel refreshes left before the note goes: two, so that a timer tick
    // right after the click does not take the note away before it is read.
    int noteRefreshesLeft_ = 0;
};

} // namespace lumatone
