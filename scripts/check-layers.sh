#!/usr/bin/env bash
# Fails when a folder includes the headers of a system it must not know. Which
# layer includes which is the build's to check: each folder's target sees only
# the headers of the targets it links (cmake/layers.cmake).
set -euo pipefail
cd "$(dirname "$0")/.."
status=0
# The Windows headers belong to the Windows backend, the Windows program and
# the Windows test programs: the cross build would find them anywhere.
while IFS= read -r hit; do
    echo "layers: $hit: only platform/win32/, win32app/, tests/win32/ and tests/e2e/ include Windows headers"
    status=1
done < <(git grep -n -i -E '#include <(win[a-z0-9_]*|mmsystem|mmdeviceapi|endpointvolume|shellapi|shlobj|shlwapi|commctrl|commdlg|wtsapi32|psapi|tlhelp32|dwmapi|objbase|ole2)\.h>' \
    -- ':!platform/win32/' ':!win32app/' ':!tests/win32/' ':!tests/e2e/' || true)
# The X11, PulseAudio and D-Bus headers belong to the Linux backend and its
# tests alone, and to the probe that reads the screen back in the program's
# end-to-end tests; Wayland's to the Linux backend and its tests.
while IFS= read -r hit; do
    echo "layers: $hit: only platform/linux/, tests/linux/ and tests/e2e-linux/ include X11, PulseAudio or D-Bus headers"
    status=1
done < <(git grep -n -E '#include <(X11|pulse|dbus)/' -- ':!platform/linux/' ':!tests/linux/' ':!tests/e2e-linux/' || true)
while IFS= read -r hit; do
    echo "layers: $hit: only platform/linux/ and tests/linux/ include Wayland headers"
    status=1
done < <(git grep -n -E '#include [<"](wayland-|wlr-)' -- ':!platform/linux/' ':!tests/linux/' || true)
# Qt belongs to the Linux program and the helpers of its end-to-end tests.
while IFS= read -r hit; do
    echo "layers: $hit: only qtapp/ and tests/e2e-linux/ include Qt headers"
    status=1
done < <(git grep -n -E '#include <Q[A-Za-z]+>' -- ':!qtapp/' ':!tests/e2e-linux/' || true)
exit $status
