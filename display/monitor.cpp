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

MonitorPanel::MonitorPanel(Form1& form, Screen& screen, Shell& shell, WindowRuntime& runtime)
    : form_(form), screen_(screen), shell_(shell), runtime_(runtime) {
    form_.Command6.onClick = [this] { ShowMonitorInfo(); };
    form_.Command5.onClick = [this] { ChangeRefreshRate(); };
}

std::int32_t MonitorPanel::QueryCaps(int index) {
    // A fresh context per query, given back at once.
    const ScopedDc dc(screen_, runtime_.MainWindow());
    return screen_.GetDeviceCaps(dc.get(), index);
}

void MonitorPanel::ShowMonitorInfo() {
    const std::int32_t width = QueryCaps(kHorzRes);
    const std::int32_t height = QueryCaps(kVertRes);
    const std::int32_t bits = QueryCaps(kBitsPixel);
    const std::int32_t rate = QueryCaps(kVRefresh);
    form_.Label23.caption = DecimalText(width);
    form_.Label24.caption = DecimalText(height);
    form_.Label25.caption = DecimalText(bits) + " Bit";
    form_.Label26.caption = DecimalText(rate) + " hz  ";

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

    DevModeA mode{};
    mode.dmSize = sizeof(DevModeA);
    // Without the stored mode the record would be all zeros: no change is tried with it.
    if (screen_.EnumDisplaySettings(kEnumRegistrySettings, mode)) {
        // Only the rate is flagged, so resolution and colour depth stay as they are.
        mode.dmFields = kDmDisplayFrequency;
        mode.dmDisplayFrequency = static_cast<std::uint32_t>(request.rate);
        const std::int32_t result = screen_.ChangeDisplaySettings(mode, kCdsFullscreen);
        if (result == kDispChangeSuccessful)
            screen_.ChangeDisplaySettings(mode, kCdsUpdateRegistry);
        else if (result == kDispChangeRestart)
            // Owned by the main window, which takes no input until it is answered.
            shell_.MessageBox(runtime_.MainWindow(),
                              "You have to restart for the changes to take effect.", "Info",
                              kMbYesNo | kMbSystemModal);
    }
    ShowMonitorInfo();
}

} // namespace lumatone
