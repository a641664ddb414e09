// The end of the session and of the process as the desktop asks for it.
#pragma once

#include "app/app.h"
#include "qtapp/shell.h"
#include "qtapp/view.h"

namespace lumatone::view {

// The session's end, SIGTERM, SIGINT or SIGHUP, the application's quit and
// the X server going away each unload the program, saving its settings,
// without a question. A session checkpoint saves them and the program runs
// on. The session manager is told never to restart the program: its
// autostart entry starts it. Watches from construction until destruction,
// which must come before the app's.
class SessionEnd {
  public:
    SessionEnd(QtView& view, App& app, QtShell& shell);
    ~SessionEnd();
    SessionEnd(const SessionEnd&) = delete;
    SessionEnd& operator=(const SessionEnd&) = delete;
};

} // namespace lumatone::view
