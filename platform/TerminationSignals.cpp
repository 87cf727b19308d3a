// TerminationSignals: a flag set from the signal handler.
#include "platform/TerminationSignals.h"

#include <csignal>
#include <initializer_list>

namespace platform {
namespace {

volatile std::sig_atomic_t Requested = 0;

void NoteTerminationRequest(int) {
    Requested = 1;
}

void Catch(int signal) {
    struct sigaction current {};
    if (::sigaction(signal, nullptr, &current) != 0 || current.sa_handler == SIG_IGN) {
        return;
    }
    struct sigaction action {};
    action.sa_handler = NoteTerminationRequest;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(signal, &action, nullptr);
}

}  // namespace

void CatchTerminationSignals() {
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        Catch(signal);
    }
}

bool TerminationRequested() {
    return Requested != 0;
}

void ForgetTerminationRequest() {
    Requested = 0;
}

}  // namespace platform
