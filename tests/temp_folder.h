// A folder of one test's own under the system's temporary folder, removed
// with everything in it when the object goes: by its bytes (names that are
// not UTF-8 too) and whatever permissions a test left inside.
#pragma once

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <grp.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

class CTempFolder {
public:
    CTempFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tolmeri-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr)
            m_path = pattern;
        EXPECT_FALSE(m_path.empty()) << "no temporary folder";
    }
    ~CTempFolder() {
        if (m_path.empty())
            return;
        std::error_code ignored;
        ::chmod(m_path.c_str(), 0700);
        for (const auto& entry : std::filesystem::recursive_directory_iterator(m_path, ignored))
            if (entry.is_directory(ignored) && !entry.is_symlink(ignored))
                ::chmod(entry.path().c_str(), 0700);
        std::filesystem::remove_all(m_path, ignored);
    }
    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::string String() const { return m_path.string(); }
    // A path inside, as a string.
    std::string operator/(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

// The uid links of "another user" get: nobody.
inline constexpr uid_t kOtherUser = 65534;

// A folder at path that everyone may write and only owners may clean, as
// /tmp is (mode 1777), owned by owner.
inline bool MakeSharedFolder(const std::string& path, uid_t owner = ::geteuid()) {
    return ::mkdir(path.c_str(), 0700) == 0 && ::chmod(path.c_str(), 01777) == 0 &&
           (owner == ::geteuid() || ::chown(path.c_str(), owner, owner) == 0);
}

// A symbolic link at link to target, belonging to owner (changing a link's
// owner takes root; the tests run as root).
inline bool PlantLink(const std::string& target, const std::string& link, uid_t owner) {
    return ::symlink(target.c_str(), link.c_str()) == 0 &&
           (owner == ::geteuid() || ::lchown(link.c_str(), owner, owner) == 0);
}

// Runs check in a forked child that, when this test runs as root (as CI
// does), first drops to the user nobody, for whom permission bits bind.
// check's answer (by the caller's convention, e.g. "" when all was as
// expected) comes back through a pipe; "cannot-drop: ..." when the child
// could not become nobody.
inline std::string RunAsOrdinaryUser(const std::function<std::string()>& check) {
    int out[2];
    if (::pipe(out) != 0)
        return "no pipe";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(out[0]);
        std::string answer;
        if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(kOtherUser) != 0 ||
                                 ::setuid(kOtherUser) != 0 || ::setuid(0) == 0))
            answer = std::string("cannot-drop: ") + std::strerror(errno);
        else if (::geteuid() == 0)
            answer = "still root";
        else
            answer = check();
        (void)!::write(out[1], answer.data(), answer.size());
        ::_exit(0);
    }
    ::close(out[1]);
    std::string answer;
    char buffer[4096];
    for (ssize_t got; (got = ::read(out[0], buffer, sizeof buffer)) > 0;)
        answer.append(buffer, static_cast<std::size_t>(got));
    ::close(out[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        answer += " (the child did not end normally)";
    return answer;
}
