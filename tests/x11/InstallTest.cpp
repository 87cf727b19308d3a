// The installed game: `cmake --install` into a temporary prefix, then the launcher run as a
// player would, with its own HOME and from an unrelated folder — the player's folder and its
// links, the orderly close on SIGTERM writing Data.qbx (and Preferences.ini) there only, a second
// run keeping it, the menu entry, the software-centre entry and its screenshots, icons and manual,
// and the uninstall sparing the player's files.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include "platform/ImageFile.h"
#include "support/TempDirectory.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

const char* const DataFiles[] = {"GGraphics.dxg", "MGraphics.dxg", "Sound.dxw", "Music.dxw"};

int Shell(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool Install(const fs::path& prefix) {
    return Shell(std::string(ZARVOTH_CMAKE_COMMAND) + " --install " + ZARVOTH_BUILD_DIR + " --prefix " + prefix.string() +
                 " > /dev/null") == 0;
}

std::vector<char> Bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<fs::path> FilesNamed(const fs::path& folder, const std::string& name) {
    std::vector<fs::path> found;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.path().filename() == name) found.push_back(entry.path());
    }
    return found;
}

// The launcher as a child process: started in `folder` with the inherited environment less
// HOME and XDG_DATA_HOME, plus `settings` ("NAME=value").
class Launcher {
public:
    Launcher(const fs::path& prefix, const fs::path& folder, const std::vector<std::string>& settings) {
        std::vector<std::string> environment = settings;
        for (char** entry = environ; *entry != nullptr; ++entry) {
            const std::string text = *entry;
            if (text.rfind("HOME=", 0) != 0 && text.rfind("XDG_DATA_HOME=", 0) != 0) environment.push_back(text);
        }
        std::vector<char*> envp;
        for (std::string& text : environment) envp.push_back(text.data());
        envp.push_back(nullptr);
        std::string program = (prefix / "bin" / "zarvoth-mutador").string();
        char* const argv[] = {program.data(), nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
        Started = posix_spawn(&Pid, program.c_str(), &actions, nullptr, argv, envp.data()) == 0;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~Launcher() {
        if (Running()) {
            kill(Pid, SIGKILL);
            Wait();
        }
    }
    Launcher(const Launcher&) = delete;
    Launcher& operator=(const Launcher&) = delete;

    bool Running() {
        return Started && !Ended && waitpid(Pid, &Status, WNOHANG) == 0;
    }
    // The exit status, or -1 when it did not exit by itself.
    int Wait() {
        if (Started && !Ended) {
            Ended = waitpid(Pid, &Status, 0) == Pid;
        }
        return Ended && WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
    }
    // Lets the game come up, checks it is still running, then ends it as the session would.
    int TerminateAfterStart() {
        std::this_thread::sleep_for(std::chrono::milliseconds(2500));
        if (!Running()) return Wait();
        kill(Pid, SIGTERM);
        return Wait();
    }

    bool Started = false;

private:
    pid_t Pid = 0;
    int Status = 0;
    bool Ended = false;
};

class InstalledGame : public ::testing::Test {
protected:
    InstalledGame() {
        fs::create_directories(Home);
        fs::create_directories(Elsewhere);
    }
    fs::path InstalledData(const fs::path& prefix) const { return prefix / "share" / "zarvoth-mutador" / "Data"; }
    fs::path PlayersData() const { return Home / ".local" / "share" / "zarvoth-mutador" / "Data"; }

    TempDirectory Scratch;
    const fs::path Prefix = Scratch.Path / "prefix";
    const fs::path Home = Scratch.Path / "home";
    const fs::path Elsewhere = Scratch.Path / "elsewhere";
};

TEST_F(InstalledGame, ThePlayersFolderGetsLinksAndKeepsTheirSettingsAcrossRuns) {
    ASSERT_TRUE(Install(Prefix));
    {
        Launcher game(Prefix, Elsewhere, {"HOME=" + Home.string()});
        ASSERT_TRUE(game.Started);
        std::this_thread::sleep_for(std::chrono::milliseconds(1000));
        for (const char* name : DataFiles) {
            EXPECT_TRUE(fs::is_symlink(PlayersData() / name)) << name;
            EXPECT_TRUE(fs::equivalent(PlayersData() / name, InstalledData(Prefix) / name)) << name;
        }
        EXPECT_EQ(game.TerminateAfterStart(), 0) << "an orderly close on SIGTERM";
    }
    const fs::path settings = PlayersData() / "Data.qbx";
    ASSERT_EQ(fs::file_size(settings), 40u);
    EXPECT_TRUE(FilesNamed(Prefix, "Data.qbx").empty());
    EXPECT_TRUE(FilesNamed(Elsewhere, "Data.qbx").empty());

    // A best score of 12345 (bytes 28..31) must come back from the second run's own save.
    std::vector<char> record = Bytes(settings);
    const std::array<char, 4> best = {0x39, 0x30, 0, 0};
    std::copy(best.begin(), best.end(), record.begin() + 28);
    std::ofstream(settings, std::ios::binary).write(record.data(), static_cast<std::streamsize>(record.size()));
    Launcher again(Prefix, Elsewhere, {"HOME=" + Home.string()});
    ASSERT_TRUE(again.Started);
    EXPECT_EQ(again.TerminateAfterStart(), 0);
    EXPECT_EQ(Bytes(settings), record);
}

TEST_F(InstalledGame, TheLauncherChoosesTheFolderPrunesStaleLinksKeepsOwnFilesAndPassesTheStatusOn) {
    ASSERT_TRUE(Install(Prefix));
    // Without Sound.dxw the program ends at once with status 1, which the launcher must pass on.
    fs::remove(InstalledData(Prefix) / "Sound.dxw");
    const fs::path xdg = Scratch.Path / "xdg";
    struct Case {
        const char* What;
        std::vector<std::string> Settings;
        fs::path Folder;  // empty: none is made
    };
    const Case cases[] = {
        {"HOME alone", {"HOME=" + Home.string()}, PlayersData().parent_path()},
        {"XDG_DATA_HOME", {"HOME=" + Home.string(), "XDG_DATA_HOME=" + xdg.string()}, xdg / "zarvoth-mutador"},
        {"a relative XDG_DATA_HOME is ignored", {"HOME=" + Home.string(), "XDG_DATA_HOME=xdg"}, PlayersData().parent_path()},
        {"neither", {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        if (!c.Folder.empty()) {
            // Left from an earlier install: a link to a file no longer installed, and a data file
            // the player changed themselves.
            fs::create_directories(c.Folder / "Data");
            fs::create_symlink(Scratch.Path / "gone" / "Sound.dxw", c.Folder / "Data" / "Sound.dxw");
            std::ofstream(c.Folder / "Data" / "MGraphics.dxg") << "mine";
        }
        Launcher game(Prefix, Elsewhere, [&] {
            std::vector<std::string> settings = c.Settings;
            settings.push_back("SDL_VIDEODRIVER=dummy");
            return settings;
        }());
        ASSERT_TRUE(game.Started);
        EXPECT_EQ(game.Wait(), 1);
        if (c.Folder.empty()) {
            EXPECT_FALSE(fs::exists(PlayersData().parent_path())) << "no folder made";
            EXPECT_FALSE(fs::exists(xdg)) << "no folder made";
            continue;
        }
        const fs::path data = c.Folder / "Data";
        EXPECT_FALSE(fs::is_symlink(data / "Sound.dxw"));
        EXPECT_EQ(Bytes(data / "MGraphics.dxg"), (std::vector<char>{'m', 'i', 'n', 'e'}));
        EXPECT_TRUE(fs::is_symlink(data / "GGraphics.dxg"));
        EXPECT_TRUE(fs::is_symlink(data / "Music.dxw"));
        fs::remove_all(c.Folder.parent_path());
    }
    EXPECT_TRUE(FilesNamed(Elsewhere, "Data").empty());
}

TEST_F(InstalledGame, TheMenuAndSoftwareCentreEntriesIconsAndManualAreInPlace) {
    ASSERT_TRUE(Install(Prefix));
    const fs::path share = Prefix / "share";
    const fs::path entry = share / "applications" / "zarvoth-mutador.desktop";
    EXPECT_EQ(Shell("desktop-file-validate " + entry.string()), 0);
    EXPECT_EQ(Shell("test -z \"$(desktop-file-validate " + entry.string() + ")\""), 0) << "no warnings or hints";
    for (const int size : {48, 128, 256}) {
        const std::string square = std::to_string(size) + "x" + std::to_string(size);
        platform::RgbaImage icon;
        std::string error;
        ASSERT_TRUE(platform::LoadPng((share / "icons" / "hicolor" / square / "apps" / "zarvoth-mutador.png").string(), icon,
                                      error))
            << square << ": " << error;
        EXPECT_EQ(icon.Width, size);
        EXPECT_EQ(icon.Height, size);
    }
    // The catalogue fetches the screenshots by address; offline, the tree is checked without
    // the network, and every picture named must be one the build took from the game.
    EXPECT_EQ(Shell("appstreamcli validate-tree --no-net --strict " + Prefix.string() + " > /dev/null"), 0);
    const std::vector<char> metainfo = Bytes(share / "metainfo" / "io.github.zarvoth.ZarvothMutador.metainfo.xml");
    const std::regex image(R"(<image[^>]*>[^<]*/([^/<]+\.png)</image>)");
    int screenshots = 0;
    for (auto match = std::cregex_iterator(metainfo.data(), metainfo.data() + metainfo.size(), image); match != std::cregex_iterator();
         ++match, ++screenshots) {
        const fs::path taken = fs::path(ZARVOTH_BUILD_DIR) / "screenshots" / (*match)[1].str();
        platform::RgbImage picture;
        std::string error;
        ASSERT_TRUE(platform::LoadPng(taken.string(), picture, error)) << taken << ": " << error;
        EXPECT_EQ(picture.Width, 800) << taken;
        EXPECT_EQ(picture.Height, 600) << taken;
        const auto colours = std::set<std::uint32_t>(picture.Pixels.begin(), picture.Pixels.end()).size();
        EXPECT_GT(colours, 100u) << taken << " shows the game, not a blank screen";
    }
    EXPECT_EQ(screenshots, 3);
    EXPECT_TRUE(fs::exists(share / "man" / "man6" / "zarvoth-mutador.6.gz"));
    EXPECT_TRUE(fs::exists(share / "doc" / "zarvoth-mutador" / "README.md"));
    EXPECT_TRUE(fs::exists(Prefix / "lib" / "zarvoth-mutador" / "zarvoth"));
    EXPECT_FALSE(fs::exists(Prefix / "bin" / "zarvoth")) << "the program itself is not on the players' path";
}

TEST_F(InstalledGame, InstalledIntoTheHomeFolderItSharesThePlayersFolderAndUninstallKeepsTheirSettings) {
    // With the prefix ~/.local the installed data folder is the player's own folder.
    const fs::path prefix = Home / ".local";
    ASSERT_TRUE(Install(prefix));
    {
        Launcher game(prefix, Elsewhere, {"HOME=" + Home.string()});
        ASSERT_TRUE(game.Started);
        EXPECT_EQ(game.TerminateAfterStart(), 0);
    }
    for (const char* name : DataFiles) {
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(PlayersData() / name))) << name << " left as installed";
    }
    ASSERT_TRUE(fs::exists(PlayersData() / "Data.qbx"));
    ASSERT_TRUE(fs::exists(PlayersData() / "Preferences.ini"));

    ASSERT_EQ(Shell(std::string(ZARVOTH_CMAKE_COMMAND) + " -DMANIFEST=" + ZARVOTH_BUILD_DIR +
                    "/install_manifest.txt -P " + ZARVOTH_SOURCE_DIR + "/cmake/Uninstall.cmake > /dev/null"),
              0);
    std::vector<fs::path> left;
    for (const auto& file : fs::recursive_directory_iterator(prefix)) {
        if (!file.is_directory()) left.push_back(file.path());
    }
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<fs::path>{PlayersData() / "Data.qbx", PlayersData() / "Preferences.ini"}))
        << "everything installed is gone";
    EXPECT_FALSE(fs::exists(prefix / "lib" / "zarvoth-mutador"));
}

}  // namespace
