// Program entry: creates the main window, runs the message loop until it closes, and turns an
// engine error that nothing caught into one clear message (naming the data file at fault) and
// exit status 1.
#include <cstdio>
#include <exception>
#include <string>

#include "game/Main.h"
#include "platform/Application.h"
#include "platform/Dialogs.h"
#include "platform/InputDevices.h"
#include "platform/SdlAudioOutput.h"
#include "platform/SdlWindow.h"

namespace {

// The message of an error nothing caught. The engine's message alone does not say which data
// file is damaged: its name goes in front.
std::string FailureMessage(const std::exception& failure) {
    const auto* engineError = dynamic_cast<const Exception*>(&failure);
    if (engineError != nullptr && !engineError->FileName().empty()) {
        return engineError->FileName() + ": " + failure.what();
    }
    return failure.what();
}

}  // namespace

int main() {
    platform::Application& application = platform::Application::Instance();
    application.Title = "Zarvoth Mutador";
    platform::SdlWindow window;
    std::string error;
    if (!window.Create(application.Title, 800, 600, error)) {
        std::fprintf(stderr, "Zarvoth Mutador: cannot open a window: %s\n", error.c_str());
        return 1;
    }
    const std::unique_ptr<platform::SoundDevice> sound = platform::CreateSystemSoundDevice();
    platform::SdlInputDevice input;
    try {
        TForm1 form(window, application, TFormDevices{sound.get(), &input});
        application.Run(window, form.Events());
    } catch (const std::exception& failure) {
        platform::ShowMessageBox(FailureMessage(failure), application.Title);
        return 1;
    }
    return 0;
}
