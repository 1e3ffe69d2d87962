#pragma once

namespace kadrel::ui {

// Opens the Kadrel window and returns the process's exit status when it closes. When the
// window system cannot be started (a display that cannot be reached), writes `noDisplay` to
// standard error and ends the process with status 2.
int RunKadrelWindow(int argc, char** argv, const char* noDisplay);

}  // namespace kadrel::ui
