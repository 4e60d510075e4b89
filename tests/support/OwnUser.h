#pragma once

// Tests whose outcome depends on permissions run as an ordinary user: as
// root, under a user id of their own that no account has.
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

namespace ownuser {

// A user id no account has, one per process, so that two runs at once keep apart.
inline uid_t UnusedUserId() {
    auto uid = static_cast<uid_t>(200000 + getpid());
    while (getpwuid(uid)) ++uid;
    return uid;
}

// Gives the process to uid for good (its group of the same number, and as a
// member of family when given); false when that was refused.
inline bool Become(uid_t uid, gid_t family = static_cast<gid_t>(-1)) {
    const bool member =
        family == static_cast<gid_t>(-1) ? setgroups(0, nullptr) == 0 : setgroups(1, &family) == 0;
    return member && setgid(uid) == 0 && setuid(uid) == 0;
}

// A group besides its own that the user of OrdinaryUser belongs to: one of
// its own number for root, else one of this user's; -1 when it has none.
inline gid_t FamilyGroup(uid_t user) {
    if (geteuid() == 0) return static_cast<gid_t>(user + 1);
    gid_t groups[64];
    const int count = getgroups(64, groups);
    for (int i = 0; i < count; ++i)
        if (groups[i] != getegid()) return groups[i];
    return static_cast<gid_t>(-1);
}

// Hands folder and everything in it to uid.
inline void GiveTree(const std::filesystem::path& folder, uid_t uid) {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        lchown(entry.path().c_str(), uid, uid);
    lchown(folder.c_str(), uid, uid);
}

// The user that permission-dependent checks run as: this one, or one of its own for root.
inline uid_t OrdinaryUser() {
    return geteuid() == 0 ? UnusedUserId() : geteuid();
}

// A folder for scratch folders that another user can reach: the usual one,
// unless a folder above it lets no one else pass (a build below /root), then /tmp.
inline std::filesystem::path ReachableTempFolder() {
    const std::filesystem::path usual = std::filesystem::temp_directory_path();
    for (std::filesystem::path p = usual; !p.empty(); p = p.parent_path()) {
        struct stat info {};
        if (stat(p.c_str(), &info) != 0 || (info.st_mode & S_IXOTH) == 0) return "/tmp";
        if (p == p.root_path()) break;
    }
    return usual;
}

// Runs body in a child process as uid and gives its result: 0 when it held,
// 126 when the user could not be changed, -1 when the child did not end.
inline int RunAs(uid_t uid, const std::function<int()>& body, gid_t family = static_cast<gid_t>(-1)) {
    const pid_t child = fork();
    if (child == 0) {
        if (uid != geteuid() && !Become(uid, family)) _exit(126);
        _exit(body());
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

}  // namespace ownuser
