// X11MessageBox: a modal message box drawn with Xlib on a connection of its own, in this
// process: lines of text over one OK button, closed by the button, Enter, Escape, Space or the
// window manager's close button. Nothing of it can outlive the program, and it waits in poll()
// with a short timeout, so a termination signal closes it at once. Depends on Xlib and
// TerminationSignals.
#pragma once

#include <string>
#include <vector>

namespace platform {

// Shows the box on the X display named by DISPLAY and returns when it is closed; false at once
// when no X display can be opened.
bool ShowX11MessageBox(const std::vector<std::string>& lines, const std::string& caption);

}  // namespace platform
