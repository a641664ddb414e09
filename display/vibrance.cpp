#include "display/vibrance.h"

#include "base/integer_text.h"
#include "model/forms.h"
#include "platform/handles.h"

namespace lumatone {

std::string VibranceCommandLine(std::int16_t level, SystemFamily family) {
    if (family == SystemFamily::Posix)
        return "nvidia-settings -a DigitalVibrance=" + DecimalText(level);
    return "RUNDLL32.exe NvCpl.dll,dtcfg setdvc all " + DecimalText(level);
}

bool RunVibranceCommand(Launcher& launcher, std::int16_t level, SystemFamily family) {
    // The runner by full path from the system folder, which is also the working
    // folder: a RUNDLL32.exe or NvCpl.dll planted beside us is never the one run.
    const std::string folder = launcher.SystemFolder();
    if (folder.empty())
        return false;
    const char sep = folder.find('/') != std::string::npos ? '/' : '\\';
    const std::string program =
        folder + (folder.back() == sep ? "" : std::string(1, sep)) +
        (family == SystemFamily::Posix ? "nvidia-settings" : "rundll32.exe");
    return launcher.Launch(program, VibranceCommandLine(level, family), folder, kSwShowMinimized);
}

bool LauncherVibranceApplet::Run(std::int16_t level) {
    return RunVibranceCommand(launcher_, level, system_.GetFeatures().family);
}

VibranceControls::VibranceControls(Form1& form, VibranceApplet& applet)
    : form_(form), applet_(applet) {
    form_.HScroll2.onChange = [this] { OnChange(); };
    form_.Command4.onClick = [this] { OnReset(); };
}

void VibranceControls::OnChange() {
    const std::int16_t v = form_.HScroll2.Value();
    form_.Label11.caption = DecimalText(v);
    applet_.Run(v);
}

void VibranceControls::OnReset() {
    form_.HScroll2.SetValue(0);
}

} // namespace lumatone
