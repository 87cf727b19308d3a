// A private PulseAudio sound server for tests that listen to what the program really plays:
// started in a fresh runtime folder of its own with one null sink as the default output, so
// nothing reaches (or comes from) a real sound card or another server. While it lives, SDL's
// audio (opened after the server started) goes to it. The sink's monitor can be recorded with
// parec as raw 16-bit stereo at 44.1 kHz. Stop and Start take the server away and bring it
// back at the same address, as a sound server that restarts would. Everything the server
// started is stopped when it is destroyed, also after a failed assertion; the children are
// told to end should the test process die first.
#pragma once

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

// A program run by the tests, its output sent to a file; ended with SIGTERM by End or by the
// destructor.
class ChildProgram {
public:
    ChildProgram(const std::vector<std::string>& arguments, const std::filesystem::path& output) {
        std::vector<char*> argv;
        for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        const int file = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (file < 0) return;
        FPid = fork();
        if (FPid == 0) {
            // Only calls that are safe between fork and exec here.
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            dup2(file, STDOUT_FILENO);
            execvp(argv[0], argv.data());
            _exit(127);
        }
        close(file);
    }
    ~ChildProgram() { End(); }
    ChildProgram(const ChildProgram&) = delete;
    ChildProgram& operator=(const ChildProgram&) = delete;

    bool Started() const { return FPid > 0; }
    // True while the program runs.
    bool Running() {
        if (FPid <= 0) return false;
        int status = 0;
        if (waitpid(FPid, &status, WNOHANG) == FPid) FPid = -1;
        return FPid > 0;
    }
    void End() {
        if (FPid <= 0) return;
        kill(FPid, SIGTERM);
        int status = 0;
        waitpid(FPid, &status, 0);
        FPid = -1;
    }

private:
    pid_t FPid = -1;
};

// Loudness figures of recorded 16-bit samples.
struct RecordedLevels {
    std::size_t Samples = 0;
    std::size_t AtFullScale = 0;  // at the largest value either way
    int Peak = 0;

    explicit RecordedLevels(const std::vector<std::int16_t>& samples) : Samples(samples.size()) {
        for (const std::int16_t sample : samples) {
            const int magnitude = std::abs(static_cast<int>(sample));
            Peak = std::max(Peak, magnitude);
            AtFullScale += magnitude >= 32767 ? 1 : 0;
        }
    }
    double PeakDecibels() const { return 20.0 * std::log10(std::max(Peak, 1) / 32768.0); }
};

class PulseAudioServer {
public:
    static constexpr const char* Sink = "capture";
    static constexpr int Rate = 44100;

    PulseAudioServer() {
        char pattern[] = "/tmp/zarvoth-pulse-XXXXXX";
        if (mkdtemp(pattern) == nullptr) return;
        FFolder = pattern;
        std::ofstream(FFolder / "setup.pa") << "load-module module-null-sink sink_name=" << Sink << " rate=" << Rate
                                            << " channels=2\n"
                                            << "set-default-sink " << Sink << "\n"
                                            << "load-module module-native-protocol-unix auth-anonymous=1 socket="
                                            << Socket().string() << "\n";
        // The server keeps its runtime and state files in the folder too.
        SetVariable("PULSE_RUNTIME_PATH", FFolder.string());
        SetVariable("PULSE_STATE_PATH", FFolder.string());
        SetVariable("PULSE_SERVER", Address());
        SetVariable("SDL_AUDIODRIVER", "pulseaudio");
        Start();
    }
    ~PulseAudioServer() {
        FRecorder.reset();
        Stop();
        for (const auto& [name, value] : FSavedVariables) {
            value ? setenv(name.c_str(), value->c_str(), 1) : unsetenv(name.c_str());
        }
        std::error_code ignored;
        if (!FFolder.empty()) std::filesystem::remove_all(FFolder, ignored);
    }
    PulseAudioServer(const PulseAudioServer&) = delete;
    PulseAudioServer& operator=(const PulseAudioServer&) = delete;

    // Starts the server (again) and waits until it takes connections; false when it does not
    // within five seconds.
    bool Start() {
        if (FFolder.empty()) return false;
        std::filesystem::remove(Socket());
        const std::string folder = FFolder.string();
        FServer.emplace(std::vector<std::string>{"pulseaudio", "--daemonize=no", "-n", "--file=" + folder + "/setup.pa",
                                                 "--exit-idle-time=-1", "--use-pid-file=no", "--disallow-exit",
                                                 "--log-target=file:" + folder + "/server.log"},
                        FFolder / "server.out");
        return WaitFor([this] { return FServer->Running() && Answers(); });
    }
    void Stop() { FServer.reset(); }
    bool Running() { return FServer && FServer->Running() && Answers(); }
    std::string Address() const { return "unix:" + Socket().string(); }
    // What the server said, for a failure message.
    std::string Log() const { return ReadText(FFolder / "server.log"); }

    // Records what the sink plays from now on; true once the recording runs.
    bool StartRecording() {
        const std::string monitor = std::string(Sink) + ".monitor";
        FRecorder.emplace(std::vector<std::string>{"parec", "--server=" + Address(), "--device=" + monitor, "--format=s16le",
                                                   "--rate=" + std::to_string(Rate), "--channels=2", "--latency-msec=20",
                                                   "--raw"},
                          Recording());
        // The monitor delivers silence while nothing plays, so the file grows once parec runs.
        return WaitFor([this] {
            std::error_code missing;
            return FRecorder->Running() && std::filesystem::file_size(Recording(), missing) > 0;
        });
    }
    // Ends the recording: the interleaved left and right samples.
    std::vector<std::int16_t> StopRecording() {
        FRecorder.reset();
        std::ifstream in(Recording(), std::ios::binary);
        const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        std::vector<std::int16_t> samples(bytes.size() / 2);
        for (std::size_t i = 0; i < samples.size(); ++i) {
            samples[i] = static_cast<std::int16_t>(static_cast<std::uint8_t>(bytes[2 * i]) |
                                                   (static_cast<std::uint8_t>(bytes[2 * i + 1]) << 8));
        }
        return samples;
    }

private:
    std::filesystem::path Socket() const { return FFolder / "native"; }
    std::filesystem::path Recording() const { return FFolder / "recording.raw"; }

    static std::string ReadText(const std::filesystem::path& path) {
        std::ifstream in(path);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    template <typename Condition>
    static bool WaitFor(Condition condition) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!condition()) {
            if (std::chrono::steady_clock::now() > end) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return true;
    }

    // True when the server's socket takes a connection.
    bool Answers() const {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const std::string path = Socket().string();
        if (path.size() >= sizeof address.sun_path) return false;
        std::copy(path.begin(), path.end(), address.sun_path);
        const int probe = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const bool answered = connect(probe, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
        close(probe);
        return answered;
    }

    void SetVariable(const char* name, const std::string& value) {
        const char* previous = std::getenv(name);
        FSavedVariables.emplace_back(name, previous ? std::optional<std::string>(previous) : std::nullopt);
        setenv(name, value.c_str(), 1);
    }

    std::filesystem::path FFolder;
    std::optional<ChildProgram> FServer;
    std::optional<ChildProgram> FRecorder;
    std::vector<std::pair<std::string, std::optional<std::string>>> FSavedVariables;
};
