// Reading and replacing the program's own small files: only regular files, never waiting on a
// FIFO, and a replacement that is whole or does not happen.
#include "platform/SafeFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "support/Fifo.h"
#include "support/TempDirectory.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

Bytes ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::string& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::string> FolderContents(const std::string& folder) {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

// Things that may stand where a file is expected; each makes itself at a path and says whether
// it could (a device node needs root).
struct NodeKind {
    const char* Name;
    std::function<bool(const std::string&)> Make;
    fs::file_type Type;
};

const NodeKind Nodes[] = {
    {"FIFO", [](const std::string& p) { return ::mkfifo(p.c_str(), 0666) == 0; }, fs::file_type::fifo},
    {"folder", [](const std::string& p) { return fs::create_directory(p); }, fs::file_type::directory},
    // The null device's numbers: writing a regular file over this node is what must not happen.
    {"character device", [](const std::string& p) { return ::mknod(p.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0; },
     fs::file_type::character},
};

const Bytes Record(40, 7);

class SafeFileTest : public ::testing::Test {
protected:
    TempDirectory Folder;
};

}  // namespace

TEST_F(SafeFileTest, ReplacesTheWholeFileAndLeavesNothingElseBehind) {
    WriteFile("Data.qbx", Bytes(100, 1));
    ASSERT_TRUE(platform::WriteFileAtomically("Data.qbx", Record));
    EXPECT_EQ(ReadFile("Data.qbx"), Record);
    EXPECT_EQ(FolderContents("."), std::vector<std::string>{"Data.qbx"});
    EXPECT_FALSE(platform::WriteFileAtomically("NoSuchFolder/Data.qbx", Record));
}

TEST_F(SafeFileTest, AWriteProtectedFileIsNotReplaced) {
    WriteFile("Data.qbx", Bytes(40, 1));
    chmod("Data.qbx", 0444);
    EXPECT_FALSE(platform::WriteFileAtomically("Data.qbx", Record));
    EXPECT_EQ(ReadFile("Data.qbx"), Bytes(40, 1));
}

TEST_F(SafeFileTest, ASymbolicLinkIsWrittenThroughKeepingTheTargetsPermissions) {
    fs::create_directory("Saves");
    WriteFile("Saves/zarvoth.qbx", Bytes(40, 1));
    chmod("Saves/zarvoth.qbx", 0640);
    fs::create_symlink("Saves/zarvoth.qbx", "Data.qbx");
    ASSERT_TRUE(platform::WriteFileAtomically("Data.qbx", Record));
    EXPECT_TRUE(fs::is_symlink("Data.qbx"));
    EXPECT_EQ(ReadFile("Saves/zarvoth.qbx"), Record);
    EXPECT_EQ(fs::status("Saves/zarvoth.qbx").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(FolderContents("Saves"), std::vector<std::string>{"zarvoth.qbx"});
}

TEST_F(SafeFileTest, NothingButARegularFileIsReplacedOrWrittenTo) {
    for (const NodeKind& node : Nodes) {
        for (const bool throughLink : {false, true}) {
            SCOPED_TRACE(std::string(node.Name) + (throughLink ? " behind a link" : ""));
            const std::string place = throughLink ? "target" : "Data.qbx";
            if (!node.Make(place)) {
                ASSERT_NE(geteuid(), 0u) << "only a device node may be impossible to make, and only without root";
                continue;
            }
            if (throughLink) fs::create_symlink(place, "Data.qbx");
            EXPECT_FALSE(platform::WriteFileAtomically("Data.qbx", Record));
            EXPECT_EQ(fs::symlink_status("Data.qbx").type(), throughLink ? fs::file_type::symlink : node.Type);
            EXPECT_EQ(fs::symlink_status(place).type(), node.Type);
            fs::remove_all("Data.qbx");
            fs::remove_all(place);
            EXPECT_TRUE(FolderContents(".").empty()) << "no temporary file left";
        }
    }
}

TEST_F(SafeFileTest, ALinkPlantedAtATemporaryNameIsNeverWrittenThrough) {
    WriteFile("victim", Bytes(3, 9));
    fs::create_symlink("victim", "Data.qbx.tmp");
    ASSERT_TRUE(platform::WriteFileAtomically("Data.qbx", Record));
    EXPECT_EQ(ReadFile("victim"), Bytes(3, 9));
    EXPECT_FALSE(fs::is_symlink("Data.qbx"));
    EXPECT_EQ(ReadFile("Data.qbx"), Record);
}

// Two copies of the program closing at the same moment: each write is whole, none is refused.
TEST_F(SafeFileTest, WritersAtTheSameTimeAllSucceed) {
    std::vector<int> failures(2, 0);
    std::vector<std::thread> writers;
    for (std::size_t w = 0; w < failures.size(); ++w) {
        writers.emplace_back([&failures, w] {
            const Bytes mine(40, static_cast<std::uint8_t>(w + 1));
            for (int i = 0; i < 200; ++i) failures[w] += platform::WriteFileAtomically("Data.qbx", mine) ? 0 : 1;
        });
    }
    for (std::thread& writer : writers) writer.join();
    EXPECT_EQ(failures, (std::vector<int>{0, 0}));
    const Bytes last = ReadFile("Data.qbx");
    EXPECT_TRUE(last == Bytes(40, 1) || last == Bytes(40, 2));
    EXPECT_EQ(FolderContents("."), std::vector<std::string>{"Data.qbx"});
}

TEST_F(SafeFileTest, OnlyARegularFileIsReadAndAFifoIsNotWaitedOn) {
    WriteFile("long", Bytes(50, 4));
    WriteFile("short", Bytes(3, 5));
    fs::create_symlink("long", "link");
    fs::create_symlink("/dev/zero", "device");
    fs::create_directory("folder");
    MakeFifo("fifo");
    struct Case {
        const char* Path;
        std::optional<Bytes> Expected;
    };
    const Case cases[] = {
        {"long", Bytes(40, 4)}, {"short", Bytes(3, 5)}, {"link", Bytes(40, 4)}, {"missing", std::nullopt},
        {"device", std::nullopt}, {"folder", std::nullopt}, {"fifo", std::nullopt},
    };
    for (const Case& c : cases) {
        std::optional<Bytes> read;
        EXPECT_TRUE(FinishesWithoutWaitingOn("fifo", [&] { read = platform::ReadRegularFile(c.Path, 40); })) << c.Path;
        EXPECT_EQ(read, c.Expected) << c.Path;
    }
}
