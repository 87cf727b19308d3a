// TerminationSignals: SIGTERM, SIGINT and SIGHUP (the terminal or the session that started the
// program went away) ask the program to close in its orderly way. The handler only sets a flag,
// which stays set: the message loop and a modal message box look at it, so a request cannot be
// lost in a full event queue.
#pragma once

namespace platform {

// Installs the handlers (again: nothing changes the second time). A signal the program was
// started with ignored, as under nohup, stays ignored.
void CatchTerminationSignals();
bool TerminationRequested();
// Forgets a request (for tests that raise signals).
void ForgetTerminationRequest();

}  // namespace platform
