// Program entry: creates the main window, runs the message loop until it closes, and turns an
// engine error that nothing caught into one clear message and exit status 1.
#include <cstdio>
#include <exception>

#include "game/Main.h"
#include "platform/Application.h"
#include "platform/Dialogs.h"
#include "platform/InputDevices.h"
#include "platform/SdlAudioOutput.h"
#include "platform/SdlWindow.h"

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
        platform::ShowMessageBox(failure.what(), application.Title);
        return 1;
    }
    return 0;
}
