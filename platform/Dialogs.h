// Dialogs: the window services that stand outside the frame loop — a modal message box with a
// single OK button, and starting another program without waiting for it.
#pragma once

#include <string>

namespace platform {

// Shows a modal message box (the text also goes to stderr, where no display can show it). The
// text is shown printable and wrapped (MessageText); a termination signal closes the box.
void ShowMessageBox(const std::string& text, const std::string& caption);

// Starts a program by path relative to the current directory, without arguments and without
// waiting. A missing file goes unnoticed.
void RunProgram(const std::string& path);

}  // namespace platform
