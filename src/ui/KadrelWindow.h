#pragma once

namespace kadrel::ui {

// Opens the Kadrel window and returns the process's exit status when it closes.
int RunKadrelWindow(int argc, char** argv);

}  // namespace kadrel::ui
