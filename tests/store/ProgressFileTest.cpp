#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "store/ProgressFile.h"
#include "tests/support/Levels.h"
#include "tests/support/OwnUser.h"

namespace {

namespace fs = std::filesystem;
using testlevels::ReadAll;
using testlevels::TempFolder;
using Bytes = std::vector<std::uint8_t>;

ProgressTable Filled(std::int32_t value) {
    ProgressTable table;
    for (int level = 1; level <= ProgressTable::kEntries; ++level) table[level] = value;
    return table;
}

// Entries by level, all others 0.
void ExpectEntries(const ProgressTable& table, const std::vector<std::pair<int, std::int32_t>>& expected) {
    ProgressTable want;
    for (const auto& [level, value] : expected) want[level] = value;
    for (int level = 1; level <= ProgressTable::kEntries; ++level) {
        ASSERT_EQ(table[level], want[level]) << "level " << level;
    }
}

// Files in the folder other than the one named: leftovers of a write.
std::vector<std::string> Others(const fs::path& folder, const std::string& name) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().filename() != name) names.push_back(entry.path().filename().string());
    return names;
}

TEST(ProgressFile, ReadsWhatTheFileHolds) {
    TempFolder folder;
    const fs::path path = folder.path() / "stand.aqd";

    struct Case {
        const char* what;
        Bytes bytes;
        std::vector<std::pair<int, std::int32_t>> expected;
    };
    Bytes exact(2000, 0);
    exact[8] = 37;
    Bytes minusFive(2000, 0);
    for (int i = 0; i < 4; ++i) minusFive[12 + i] = i == 0 ? 0xFB : 0xFF;
    Bytes long2500(2500, 0xFF);
    for (int i = 0; i < 2000; ++i) long2500[i] = 0;
    long2500[1996] = 0x2A;  // level 500
    long2500[0] = 0x01;
    std::vector<std::pair<int, std::int32_t>> first250;
    for (int level = 1; level <= 250; ++level) first250.push_back({level, -1});

    const Case cases[] = {
        {"37 at offset 8", exact, {{3, 37}}},
        // The second entry gets the two bytes there are, as its low-order half.
        {"6 bytes", {0x01, 0x02, 0x03, 0x04, 0x05, 0x86}, {{1, 0x04030201}, {2, 0x8605}}},
        {"1000 bytes", Bytes(1000, 0xFF), first250},
        {"2500 bytes", long2500, {{1, 1}, {500, 42}}},
        {"-5 for level 4", minusFive, {{4, -5}}},
        {"empty", {}, {}},
        {"little-endian",
         {0x78, 0x56, 0x34, 0x12, 0x00, 0x00, 0x00, 0x80},
         {{1, 0x12345678}, {2, INT32_MIN}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testlevels::WriteFile(path, c.bytes);
        ProgressTable table = Filled(9);  // the read clears whatever was there
        ASSERT_TRUE(ReadProgressFile(path.string(), table));
        ExpectEntries(table, c.expected);
    }
}

TEST(ProgressFile, NegativeEntryCountsAsSolvedOnlyWhereNonZeroIsTested) {
    TempFolder folder;
    const fs::path path = folder.path() / "stand.aqd";
    Bytes bytes(2000, 0);
    for (int level = 1; level <= 4; ++level) bytes[4 * (level - 1)] = 1;
    for (int i = 0; i < 4; ++i) bytes[12 + i] = i == 0 ? 0xFB : 0xFF;
    testlevels::WriteFile(path, bytes);
    ProgressTable table;
    ASSERT_TRUE(ReadProgressFile(path.string(), table));
    EXPECT_EQ(table[4], -5);
    EXPECT_TRUE(table.AllSolved(4));
    EXPECT_EQ(table.CountSolved(4), 3);
}

TEST(ProgressFile, FailsOnWhatIsNoReadableFileAndLeavesTheTableClear) {
    TempFolder folder;
    fs::create_directory(folder.path() / "a folder.aqd");
    ASSERT_EQ(mkfifo((folder.path() / "pipe.aqd").c_str(), 0600), 0);
    for (const std::string& path :
         {(folder.path() / "missing.aqd").string(), (folder.path() / "a folder.aqd").string(),
          (folder.path() / "pipe.aqd").string(), std::string(),
          // A file that opens but whose reading fails.
          std::string("/proc/self/mem")}) {
        SCOPED_TRACE(path);
        ProgressTable table = Filled(9);
        EXPECT_FALSE(ReadProgressFile(path, table));
        ExpectEntries(table, {});
    }
}

TEST(ProgressFile, FileExistsOnlyForRegularFiles) {
    TempFolder folder;
    const fs::path file = folder.path() / "Jörg Spiel.aqd";
    testlevels::WriteFile(file, Bytes(2000, 0));
    fs::create_directory(folder.path() / "folder.aqd");
    fs::create_symlink(file, folder.path() / "link.aqd");
    fs::create_symlink(folder.path() / "gone.aqd", folder.path() / "dangling.aqd");
    ASSERT_EQ(mkfifo((folder.path() / "pipe.aqd").c_str(), 0600), 0);

    EXPECT_TRUE(FileExistsAt(file.string()));
    EXPECT_TRUE(FileExistsAt((folder.path() / "link.aqd").string()));
    EXPECT_FALSE(FileExistsAt((folder.path() / "folder.aqd").string()));
    EXPECT_FALSE(FileExistsAt((folder.path() / "dangling.aqd").string()));
    EXPECT_FALSE(FileExistsAt((folder.path() / "pipe.aqd").string()));
    EXPECT_FALSE(FileExistsAt((folder.path() / "missing.aqd").string()));
    EXPECT_FALSE(FileExistsAt(""));
}

TEST(ProgressFile, WritesExactly2000BytesThatReadBack) {
    TempFolder folder;
    fs::create_directory(folder.path() / "Meine Spiele");
    const fs::path path = folder.path() / "Meine Spiele" / "Jörg's Stand.aqd";
    testlevels::WriteFile(path,
                          Bytes(2500, 0xEE));  // longer than a table: replaced, not overwritten in place

    ProgressTable table;
    table[1] = 0x12345678;
    table[3] = 37;
    table[4] = -5;
    table[250] = INT32_MIN;
    table[500] = INT32_MAX;
    ASSERT_TRUE(WriteProgressFile(path.string(), table));

    const Bytes bytes = ReadAll(path);
    ASSERT_EQ(bytes.size(), 2000u);
    EXPECT_EQ(bytes[0], 0x78);
    EXPECT_EQ(bytes[3], 0x12);
    EXPECT_EQ(bytes[8], 37);
    EXPECT_EQ(bytes[1999], 0x7F);
    ProgressTable back;
    ASSERT_TRUE(ReadProgressFile(path.string(), back));
    ExpectEntries(back, {{1, 0x12345678}, {3, 37}, {4, -5}, {250, INT32_MIN}, {500, INT32_MAX}});
    EXPECT_TRUE(Others(path.parent_path(), path.filename().string()).empty());
}

TEST(ProgressFile, WriteKeepsPermissionsAndFollowsLinks) {
    TempFolder folder;
    const fs::path real = folder.path() / "real.aqd";
    const fs::path link = folder.path() / "link.aqd";
    testlevels::WriteFile(real, Bytes(2000, 0));
    ASSERT_EQ(chmod(real.c_str(), 0640), 0);
    fs::create_symlink(real, link);

    ASSERT_TRUE(WriteProgressFile(link.string(), Filled(3)));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadAll(real), ReadAll(link));
    EXPECT_EQ(ReadAll(real)[0], 3);
    struct stat info {};
    ASSERT_EQ(stat(real.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST(ProgressFile, FailedWriteKeepsThePreviousFile) {
    TempFolder folder;
    const fs::path old = folder.path() / "old.aqd";
    ASSERT_TRUE(WriteProgressFile(old.string(), Filled(7)));
    testlevels::WriteFile(folder.path() / "a file", Bytes(10, 1));
    fs::create_directory(folder.path() / "taken.aqd");

    for (const fs::path& path :
         {folder.path() / "missing folder" / "x.aqd", folder.path() / "a file" / "x.aqd",
          folder.path() / "taken.aqd", fs::path()}) {
        SCOPED_TRACE(path.string());
        EXPECT_FALSE(WriteProgressFile(path.string(), Filled(1)));
    }
    EXPECT_FALSE(fs::exists(folder.path() / "missing folder"));
    EXPECT_TRUE(fs::is_directory(folder.path() / "taken.aqd"));
    EXPECT_EQ(ReadAll(folder.path() / "a file"), Bytes(10, 1));

    // A disk that takes no more than 1000 bytes of any file, as a full one would.
    struct rlimit before {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = before;
    small.rlim_cur = 1000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = WriteProgressFile(old.string(), Filled(1));
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(written);
    ProgressTable table;
    ASSERT_TRUE(ReadProgressFile(old.string(), table));
    EXPECT_EQ(table[1], 7);
    EXPECT_EQ(table[500], 7);
    EXPECT_EQ(ReadAll(old).size(), 2000u);
    std::vector<std::string> left = Others(folder.path(), "old.aqd");
    std::erase_if(left, [](const std::string& name) { return name == "a file" || name == "taken.aqd"; });
    EXPECT_TRUE(left.empty()) << left.front();
}

// Where create-or-truncate would not write, the save fails and leaves the
// target as it was; where it would, the save keeps the target's links, owner
// and permission bits. Run as an ordinary user, with the umask 027.
TEST(ProgressFile, WritesOnlyWhereCreateOrTruncateWould) {
    enum : int { kHeld = 0, kResult = 1, kContent = 2, kKind = 3, kCannotRun = 4 };
    const uid_t user = ownuser::OrdinaryUser();
    const gid_t family = ownuser::FamilyGroup(user);
    // user::rw-, user 4242:rw-, group::r--, mask::rw-, other::r--, as the kernel keeps it.
    const auto entry = [](std::uint16_t tag, std::uint16_t perm, std::uint32_t id) {
        return std::array<std::uint8_t, 8>{
            std::uint8_t(tag), std::uint8_t(tag >> 8), std::uint8_t(perm),     0,
            std::uint8_t(id),  std::uint8_t(id >> 8),  std::uint8_t(id >> 16), std::uint8_t(id >> 24)};
    };
    std::vector<std::uint8_t> kAcl = {2, 0, 0, 0};
    for (const auto& e : {entry(0x01, 6, ~0u), entry(0x02, 6, 4242), entry(0x04, 4, ~0u), entry(0x10, 6, ~0u),
                          entry(0x20, 4, ~0u)})
        kAcl.insert(kAcl.end(), e.begin(), e.end());
    fs::path longest;
    const auto holds = [](const fs::path& path, std::int32_t value) {
        ProgressTable table;
        return ReadProgressFile(path.string(), table) && table[1] == value && table[500] == value;
    };
    const auto modeOf = [](const fs::path& path) {
        struct stat info {};
        return stat(path.c_str(), &info) == 0 ? info.st_mode : mode_t{0};
    };
    struct Case {
        const char* name;
        bool written;
        std::function<bool(const fs::path& folder)> make;  // as the user; the target is folder/t.aqd
        std::function<bool(const fs::path& folder)> kept;  // the target's kind, mode, links as they must be
        bool makeAsRoot = false;
    };
    const std::vector<Case> cases = {
        {"read-only file", false,
         [](const fs::path& f) {
             (void)WriteProgressFile((f / "t.aqd").string(), Filled(7));
             return chmod((f / "t.aqd").c_str(), 0444) == 0;
         },
         [&](const fs::path& f) { return holds(f / "t.aqd", 7) && (modeOf(f / "t.aqd") & 07777) == 0444; }},
        {"unreadable file", false,
         [](const fs::path& f) {
             (void)WriteProgressFile((f / "t.aqd").string(), Filled(7));
             return chmod((f / "t.aqd").c_str(), 0) == 0;
         },
         [&](const fs::path& f) {
             return (modeOf(f / "t.aqd") & 07777) == 0 && fs::file_size(f / "t.aqd") == 2000;
         }},
        {"pipe", false, [](const fs::path& f) { return mkfifo((f / "t.aqd").c_str(), 0600) == 0; },
         [&](const fs::path& f) { return S_ISFIFO(modeOf(f / "t.aqd")); }},
        {"link to a device", false,
         [](const fs::path& f) {
             fs::create_symlink("/dev/null", f / "t.aqd");
             return true;
         },
         [&](const fs::path& f) { return fs::is_symlink(f / "t.aqd") && S_ISCHR(modeOf("/dev/null")); }},
        {"hard link", true,
         [](const fs::path& f) {
             (void)WriteProgressFile((f / "t.aqd").string(), Filled(7));
             fs::create_hard_link(f / "t.aqd", f / "other name.aqd");
             return true;
         },
         [&](const fs::path& f) {
             return fs::hard_link_count(f / "t.aqd") == 2 && holds(f / "other name.aqd", 1);
         }},
        {"writable file in a folder that is not", true,
         [](const fs::path& f) {
             (void)WriteProgressFile((f / "t.aqd").string(), Filled(7));
             return chmod(f.c_str(), 0555) == 0;
         },
         [&](const fs::path& f) { return (modeOf(f / "t.aqd") & 07777) == 0640; }},
        {"file with an extended attribute", true,
         [](const fs::path& f) {
             (void)WriteProgressFile((f / "t.aqd").string(), Filled(7));
             return setxattr((f / "t.aqd").c_str(), "user.aquendo", "kept", 4, 0) == 0;
         },
         [&](const fs::path& f) {
             char value[8] = {};
             return getxattr((f / "t.aqd").c_str(), "user.aquendo", value, sizeof value) == 4 &&
                    std::string(value) == "kept";
         }},
        {"new file", true, [](const fs::path&) { return true; },
         [&](const fs::path& f) { return (modeOf(f / "t.aqd") & 07777) == 0640; }},
        {"link to a file not there yet", true,
         [](const fs::path& f) {
             fs::create_symlink("later.aqd", f / "t.aqd");
             return true;
         },
         [&](const fs::path& f) { return fs::is_symlink(f / "t.aqd") && holds(f / "later.aqd", 1); }},
        {"file of the user's group family, 0664", true,
         [&](const fs::path& f) {
             (void)WriteProgressFile((f / "t.aqd").string(), Filled(7));
             return family != static_cast<gid_t>(-1) && chown((f / "t.aqd").c_str(), -1, family) == 0 &&
                    chmod((f / "t.aqd").c_str(), 0664) == 0;
         },
         [&](const fs::path& f) {
             struct stat info {};
             return stat((f / "t.aqd").c_str(), &info) == 0 && info.st_gid == family &&
                    (info.st_mode & 07777) == 0664;
         }},
        {"file with an access control list", true,
         [&](const fs::path& f) {
             (void)WriteProgressFile((f / "t.aqd").string(), Filled(7));
             return setxattr((f / "t.aqd").c_str(), "system.posix_acl_access", kAcl.data(), kAcl.size(), 0) ==
                    0;
         },
         [&](const fs::path& f) {
             std::array<std::uint8_t, 64> acl{};
             return getxattr((f / "t.aqd").c_str(), "system.posix_acl_access", acl.data(), acl.size()) ==
                        static_cast<ssize_t>(kAcl.size()) &&
                    std::equal(kAcl.begin(), kAcl.end(), acl.begin()) &&
                    (modeOf(f / "t.aqd") & 07777) == 0664;
         }},
        {"leftovers of saves killed before their rename", true,
         [&](const fs::path& f) {
             for (const char* name : {".aquendo-save-Ab3dE9", ".aquendo-save-young1", ".aquendo-save-Held01",
                                      ".aquendo-save-Ab3dE", ".aquendo-save-Ab3dE9x", "aquendo-save-Ab3dE9"})
                 testlevels::WriteFile(f / name, Bytes(2000, 7));
             fs::create_directory(f / ".aquendo-save-Dir123");
             const auto hourAgo = fs::file_time_type::clock::now() - std::chrono::hours(1);
             for (const auto& entry : fs::directory_iterator(f))
                 if (entry.path().filename() != ".aquendo-save-young1") fs::last_write_time(entry, hourAgo);
             // A save still running holds its temporary file locked.
             return flock(open((f / ".aquendo-save-Held01").c_str(), O_RDONLY), LOCK_EX) == 0;
         },
         [&](const fs::path& f) {
             std::vector<std::string> left = Others(f, "t.aqd");
             std::sort(left.begin(), left.end());
             return left == std::vector<std::string>{".aquendo-save-Ab3dE",  ".aquendo-save-Ab3dE9x",
                                                     ".aquendo-save-Dir123", ".aquendo-save-Held01",
                                                     ".aquendo-save-young1", "aquendo-save-Ab3dE9"};
         }},
        {"link to a new file at a path of the longest length", true,
         [&](const fs::path& f) {
             fs::path deep = f;
             while (deep.string().size() < PATH_MAX - 300) deep /= std::string(200, 'd');
             deep /= std::string(PATH_MAX - 1 - deep.string().size() - 7, 'e');
             fs::create_directories(deep);
             longest = deep / "n.aqd";
             fs::create_symlink(longest, f / "t.aqd");
             return longest.string().size() == PATH_MAX - 1;
         },
         [&](const fs::path&) {
             return holds(longest, 1) && Others(longest.parent_path(), "n.aqd").empty();
         }},
        {"file of another owner", true,
         [](const fs::path& f) {
             testlevels::WriteFile(f / "t.aqd", Bytes(2000, 7));
             return chmod((f / "t.aqd").c_str(), 0666) == 0;
         },
         [&](const fs::path& f) {
             struct stat info {};
             return stat((f / "t.aqd").c_str(), &info) == 0 && info.st_uid == 0 &&
                    (info.st_mode & 07777) == 0666;
         },
         true},
    };
    std::vector<std::string> notRun;
    std::vector<std::string> cannotRun;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.makeAsRoot && geteuid() != 0) {
            notRun.emplace_back(c.name);
            continue;
        }
        TempFolder folder(ownuser::ReachableTempFolder());
        const fs::path f = folder.path() / "saves";
        fs::create_directory(f);
        ownuser::GiveTree(folder.path(), user);
        if (c.makeAsRoot) c.make(f);
        const int outcome = ownuser::RunAs(
            user,
            [&] {
                umask(027);
                if (!c.makeAsRoot && !c.make(f)) return kCannotRun;
                if (WriteProgressFile((f / "t.aqd").string(), Filled(1)) != c.written) return kResult;
                if (c.written && !holds(f / "t.aqd", 1)) return kContent;
                return c.kept(f) ? kHeld : kKind;
            },
            family);
        chmod(f.c_str(), 0755);
        if (outcome == kCannotRun) {
            cannotRun.emplace_back(c.name);
            continue;
        }
        EXPECT_EQ(outcome, kHeld) << "1 result, 2 content, 3 kind, mode or links of the target";
    }
    if (!notRun.empty()) {
        GTEST_SKIP() << "every other case ran; \"" << notRun.front()
                     << "\" needs root to make a file of another owner";
    }
    if (!cannotRun.empty()) {
        GTEST_SKIP() << "cannot be made here (no second group of this user, no ACLs or no locks on this file "
                        "system): "
                     << cannotRun.front() << (cannotRun.size() > 1 ? " and others" : "");
    }
}

// A real full disk: a small tmpfs, mounted in a mount namespace of a child
// process so nothing outlives the test. Needs the right to mount.
TEST(ProgressFile, FullDiskKeepsThePreviousFile) {
    TempFolder folder;
    const fs::path mountPoint = folder.path() / "disk";
    fs::create_directory(mountPoint);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, "size=8k") != 0)
            _exit(77);
        const fs::path old = mountPoint / "old.aqd";
        if (!WriteProgressFile(old.string(), Filled(7))) _exit(1);
        const int filler = open((mountPoint / "filler").c_str(), O_WRONLY | O_CREAT, 0600);
        const std::vector<char> chunk(512, 'x');
        while (write(filler, chunk.data(), chunk.size()) == static_cast<ssize_t>(chunk.size())) {
        }
        close(filler);
        if (WriteProgressFile(old.string(), Filled(1))) _exit(2);
        ProgressTable table;
        if (!ReadProgressFile(old.string(), table) || table[1] != 7 || table[500] != 7) _exit(3);
        if (Others(mountPoint, "old.aqd") != std::vector<std::string>{"filler"}) _exit(4);
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "no right to mount a tmpfs here";
    EXPECT_EQ(WEXITSTATUS(status), 0)
        << "1 first write, 2 write reported success, 3 old file changed, 4 leftovers";
}

}  // namespace
