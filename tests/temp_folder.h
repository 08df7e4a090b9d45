// A folder of one test's own under the system's temporary folder, removed
// with everything in it when the object goes: by its bytes (names that are
// not UTF-8 too) and whatever permissions a test left inside.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/stat.h>

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
