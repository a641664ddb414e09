#include "display/monitor.h"

#include "base/blanks.h"
#include "base/integer_text.h"
#include "model/forms.h"

namespace lumatone {

RateRequest ParseRateRequest(std::string_view text) {
    text = TrimBlanks(text);
    if (text.empty())
        return {};
    if (!IsWholeNumberText(text))
        return {RateRequest::Kind::NotWholeNumber};
    // Digits too many for 32 bits are still a whole number, just far out of range.
    const auto value = ParseInt32(text);
    if (!value || *value < kMinRequestedRate || *value > kMaxRequestedRate)
        return {RateRequest::Kind::OutOfRange};
    return {RateRequest::Kind::Rate, *value};
}

MonitorPanel::MonitorPanel(Form1& form, DisplayModes& modes, MessageDialog& messages)
    : form_(form), modes_(modes), messages_(messages) {
    form_.Command6.onClick = [this] { ShowMonitorInfo(); };
    form_.Command5.onClick = [this] { ChangeRefreshRate(); };
}

void MonitorPanel::ShowMonitorInfo() {
    const DisplayMode mode = modes_.Current();
    form_.Label23.caption = DecimalText(mode.width);
    form_.Label24.caption = DecimalText(mode.height);
    form_.Label25.caption = DecimalText(mode.bitsPerPixel) + " Bit";
    form_.Label26.caption = DecimalText(mode.refreshRate) + " hz  ";

    if (noteRefreshesLeft_ > 0 && --noteRefreshesLeft_ == 0)
        form_.FrequencyNote.caption.clear();
}

void MonitorPanel::ShowNote(const char* note) {
    form_.FrequencyNote.caption = note;
    noteRefreshesLeft_ = 2;
}

void MonitorPanel::ChangeRefreshRate() {
    form_.FrequencyNote.caption.clear();
    noteRefreshesLeft_ = 0;

    const RateRequest request = ParseRateRequest(form_.Text9.text);
    switch (request.kind) {
    case RateRequest::Kind::Empty:
        ShowMonitorInfo();
        return;
    case RateRequest::Kind::NotWholeNumber:
        ShowMonitorInfo();
        ShowNote(kNoteNotWholeNumber);
        return;
    case RateRequest::Kind::OutOfRange:
        ShowMonitorInfo();
        ShowNote(kNoteOutOfRange);
        return;
    case RateRequest::Kind::Rate:
        break;
    }

    if (modes_.TryRate(request.rate) == RateChange::NeedsRestart)
        // The main window takes no input until it is answered.
        messages_.Show("You have to restart for the changes to take effect.", "Info",
                       MessageButtons::YesNo, MessageIcon::None, true, true);
    ShowMonitorInfo();
}

} // namespace lumatone
