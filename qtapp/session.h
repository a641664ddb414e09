// The end of the session and of the process as the desktop asks for it.
#pragma once

#include "app/app.h"
#include "qtapp/view.h"

namespace lumatone::view {

// The session manager's save request, the application's quit and SIGTERM or
// SIGINT each unload the program, saving its settings, without a question.
// False when the signals cannot be watched.
bool ListenForSessionEnd(QtView& view, App& app);

} // namespace lumatone::view
