// The nine stored values: path, defaults key by key, the 19-byte name cut,
// saving into fresh and hand-edited files, and saves that must fail cleanly.
// Every file lives in a temporary directory made for the test.
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <grp.h>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "settings/profile.h"
#include "settings/settings.h"
#include "tests/csv_rows.h"
#include "tests/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using tolmeri::CSettingsValues;
using tolmeri::DefaultSettings;

const std::string kYokohama = "\x89\xA1\x95\x6C"; // 横浜 in CP932

std::string ReadBytes(const std::string& path) {
    std::error_code ignored;
    if (!fs::is_regular_file(path, ignored))
        return {};
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string Fixture(const std::string& name) {
    const std::string bytes = ReadBytes(TestDataPath("profile/" + name));
    EXPECT_FALSE(bytes.empty()) << name;
    return bytes;
}

std::set<std::string> Names(const fs::path& dir) {
    std::set<std::string> names;
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(dir, ignored))
        names.insert(entry.path().filename().string());
    return names;
}

CSettingsValues Values(std::string name, int latDeg, int latMin, int lonDeg, int lonMin, int tz,
                       int y, int m, int d) {
    return CSettingsValues{{std::move(name), latDeg, latMin, lonDeg, lonMin, tz}, {y, m, d}};
}

CSettingsValues Sydney2024() {
    return Values("Sydney", -33, 52, 151, 12, 10, 2024, 2, 29);
}

TEST(Settings, IniPathForExecutable) {
    const std::pair<const char*, const char*> cases[] = {
        {"/opt/tolmeri/tolmeri", "/opt/tolmeri/tolmeri.ini"},
        {"/opt/tolmeri/tolmeri.exe", "/opt/tolmeri/tolmeri.ini"},
        {"/opt/tolmeri/koyomi", "/opt/tolmeri/koyomi.ini"}, // renamed copy, own file
        {"/opt/v1.4/tolmeri", "/opt/v1.4/tolmeri.ini"},     // dots in directories do not count
        {"/opt/a.b.c", "/opt/a.b.ini"},                     // only the last extension goes
        {"/opt/.hidden", "/opt/.ini"},
        {"tolmeri", "tolmeri.ini"},
        {"", ".ini"},
    };
    for (const auto& [exe, ini] : cases)
        EXPECT_EQ(tolmeri::IniPathForExecutable(exe), ini) << exe;
}

TEST(Settings, DefaultsKeyByKey) {
    CSettingsValues yearOnly = DefaultSettings();
    yearOnly.date.year = 2001;
    CSettingsValues bom = DefaultSettings();
    bom.date.year = 2024; // the byte-order mark hides [Location], not [Time]
    const struct {
        const char* fixture; // nullptr: no file at all
        CSettingsValues expected;
    } cases[] = {
        {nullptr, DefaultSettings()},
        {"year_only.ini", yearOnly},
        {"bom.ini", bom},
        {"utf16.ini", DefaultSettings()},
        {"cr_only.ini", Values("Sydney", -33, 52, 151, 12, 10, 1999, 12, 31)},
        // Hand-edited: case, blanks, quotes; nothing is range-checked.
        {"unchecked.ini", Values("Somewhere beyond th", 80, 75, 139, 39, 9, 12, 13, 0)},
    };
    for (const auto& c : cases) {
        CTempFolder dir;
        const std::string ini = dir / "tolmeri.ini";
        if (c.fixture != nullptr)
            WriteBytes(ini, Fixture(c.fixture));
        EXPECT_EQ(tolmeri::LoadSettingsFile(ini), c.expected) << (c.fixture ? c.fixture : "none");
        EXPECT_EQ(fs::exists(ini), c.fixture != nullptr) << "reading never creates the file";
    }
}

TEST(Settings, NameReadsAtMostNineteenBytes) {
    const std::string kanji9 = "\x89\xA1\x95\x6C\x89\xA1\x95\x6C\x89\xA1\x95\x6C\x89\xA1\x95\x6C"
                               "\x89\xA1"; // 18 bytes
    // 0x83 0x81 is a character whose second byte has a lead byte's value.
    const std::string trailsLikeLeads = "a\x83\x81\x83\x81\x83\x81\x83\x81\x83\x81\x83\x81\x83\x81"
                                        "\x83\x81\x83\x81";
    const std::pair<std::string, std::string> cases[] = {
        {"abcdefghijklmnopqrstuvwxyz", "abcdefghijklmnopqrs"},
        {std::string(18, 'a') + kYokohama, std::string(18, 'a')}, // lead byte at 19 dropped
        {std::string(17, 'a') + kYokohama, std::string(17, 'a') + "\x89\xA1"},
        {kanji9 + kYokohama, kanji9},
        {kanji9 + "x" + kYokohama, kanji9 + "x"},
        {trailsLikeLeads + "\x83\x81", trailsLikeLeads},    // 19th byte is a second byte
        {std::string(25, '\xB1'), std::string(19, '\xB1')}, // half-width kana: one byte each
        {"abc\x89", "abc"},                                 // a dangling lead byte anywhere
        {"", ""},
    };
    for (const auto& [stored, expected] : cases) {
        const std::string content = "[Location]\nLocation Name=" + stored + "\n";
        EXPECT_EQ(tolmeri::ParseSettings(content).place.name, expected) << stored;
    }
}

TEST(Settings, FreshFileHoldsElevenLines) {
    CTempFolder dir;
    const std::string ini = dir / "tolmeri.ini";
    const tolmeri::Status saved = tolmeri::SaveSettingsFile(ini, DefaultSettings());
    ASSERT_TRUE(saved) << saved.Message();
    EXPECT_EQ(ReadBytes(ini), "[Location]\n"
                              "Location Name=\x89\xA1\x95\x6C\n"
                              "Latitude Degrees=35\n"
                              "Latitude Minutes=27\n"
                              "Longitude Degrees=139\n"
                              "Longitude Minutes=39\n"
                              "Time Difference=9\n"
                              "[Time]\n"
                              "Year=2000\n"
                              "Month=1\n"
                              "Day=1\n");
    EXPECT_EQ(Names(dir.Path()), std::set<std::string>{"tolmeri.ini"});
}

TEST(Settings, SaveKeepsEveryOtherByte) {
    CTempFolder dir;
    const std::string ini = dir / "tolmeri.ini";
    WriteBytes(ini, Fixture("keep.ini"));
    const tolmeri::Status saved = tolmeri::SaveSettingsFile(ini, Sydney2024());
    ASSERT_TRUE(saved) << saved.Message();
    EXPECT_EQ(ReadBytes(ini), Fixture("keep_saved.ini"));
    EXPECT_EQ(tolmeri::LoadSettingsFile(ini), Sydney2024());
}

TEST(Settings, ValuesReadBackAsWritten) {
    const CSettingsValues cases[] = {
        Values("Sydney", -33, 52, 151, 12, 10, 2024, 2, 29),
        Values("Lima", -12, -3, -77, -2, -5, -4712, 0, 99),
        Values("", 2147483647, -2147483647 - 1, 0, 0, 0, 0, 0, 0),
        Values("\x83\x81\x83\x81\x83\x81\x83\x81\x83\x81\x83\x81", 1, 2, 3, 4, 5, 6, 7, 8),
    };
    for (const CSettingsValues& values : cases) {
        for (const char* start : {static_cast<const char*>(nullptr), "keep.ini"}) {
            CTempFolder dir;
            const std::string ini = dir / "tolmeri.ini";
            if (start != nullptr)
                WriteBytes(ini, Fixture(start));
            ASSERT_TRUE(tolmeri::SaveSettingsFile(ini, values).Ok());
            EXPECT_EQ(tolmeri::LoadSettingsFile(ini), values) << (start ? start : "new file");
        }
    }
}

// The kernel's rule for links in shared folders, whatever the kernel is set
// to: in a sticky folder everyone may write, a link is followed only when it
// is the writer's own or the folder owner's; elsewhere the link's owner does
// not matter. A refused link leaves its target as it was, or not made.
TEST(Settings, LinksInSharedFoldersAreFollowedOnlyByTheKernelsRule) {
    using tolmeri::profile::LinkRule;
    if (::geteuid() != 0)
        GTEST_SKIP() << "giving a link to another user takes root";
    const uid_t self = ::geteuid();
    struct Case {
        const char* why;
        mode_t folderMode;
        uid_t folderOwner;
        uid_t linkOwner;
        LinkRule rule;
        bool targetExists;
        bool written;
    } cases[] = {
        {"another's link in /tmp", 01777, self, kOtherUser, LinkRule::kFollow, true, false},
        {"another's link to nothing in /tmp", 01777, self, kOtherUser, LinkRule::kFollow, false,
         false},
        {"another's link, pictures", 01777, self, kOtherUser, LinkRule::kFollowExisting, true,
         false},
        {"own link in /tmp", 01777, self, self, LinkRule::kFollow, true, true},
        {"the folder owner's link", 01777, kOtherUser, kOtherUser, LinkRule::kFollow, true, true},
        {"another's link, not sticky", 0777, self, kOtherUser, LinkRule::kFollow, true, true},
        {"another's link, sticky but private", 01755, self, kOtherUser, LinkRule::kFollow, true,
         true},
        {"own link to nothing", 0755, self, self, LinkRule::kFollow, false, true},
        {"own link to nothing, pictures", 0755, self, self, LinkRule::kFollowExisting, false,
         false},
        {"own link where links are refused", 0755, self, self, LinkRule::kRefuse, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        CTempFolder dir;
        const std::string shared = dir / "shared";
        ASSERT_EQ(::mkdir(shared.c_str(), 0700), 0);
        ASSERT_EQ(::chmod(shared.c_str(), c.folderMode), 0);
        ASSERT_EQ(::chown(shared.c_str(), c.folderOwner, c.folderOwner), 0);
        const std::string target = dir / "etc-passwd";
        if (c.targetExists)
            WriteBytes(target, "root:x:0:0");
        const std::string link = shared + "/chart.png";
        ASSERT_TRUE(PlantLink(target, link, c.linkOwner));

        const tolmeri::Status saved = tolmeri::profile::ReplaceFile(
            link, [] { return tolmeri::Result<std::string>(std::string("new bytes")); }, c.rule);
        EXPECT_EQ(saved.Ok(), c.written) << (saved ? "" : saved.Message());
        if (!saved) {
            EXPECT_EQ(saved.Kind(), tolmeri::FailureKind::kRefused);
        }
        EXPECT_TRUE(fs::is_symlink(link));
        EXPECT_EQ(ReadBytes(target), c.written ? "new bytes" : c.targetExists ? "root:x:0:0" : "");
        EXPECT_EQ(fs::exists(target), c.written || c.targetExists);
    }
}

TEST(Settings, SaveFollowsLinksAndKeepsPermissions) {
    CTempFolder dir;
    fs::create_directory(dir.Path() / "real");
    fs::create_directory(dir.Path() / "bin");
    const std::string real = dir / "real/tolmeri.ini";
    const std::string link = dir / "bin/tolmeri.ini";
    WriteBytes(real, Fixture("year_only.ini"));
    ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
    ASSERT_EQ(::symlink("../real/tolmeri.ini", link.c_str()), 0);

    ASSERT_TRUE(tolmeri::SaveSettingsFile(link, Sydney2024()).Ok());
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(tolmeri::LoadSettingsFile(real), Sydney2024());
    struct stat info {};
    ASSERT_EQ(::stat(real.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(Names(dir.Path() / "real"), std::set<std::string>{"tolmeri.ini"});
    EXPECT_EQ(Names(dir.Path() / "bin"), std::set<std::string>{"tolmeri.ini"});

    // A link whose target does not exist yet gets the target created.
    const std::string dangling = dir / "bin/other.ini";
    ASSERT_EQ(::symlink("../real/other.ini", dangling.c_str()), 0);
    ASSERT_TRUE(tolmeri::SaveSettingsFile(dangling, DefaultSettings()).Ok());
    EXPECT_TRUE(fs::is_symlink(dangling));
    EXPECT_EQ(tolmeri::LoadSettingsFile(dir / "real/other.ini"), DefaultSettings());
}

struct FailureCase {
    const char* name;
    // Prepares dir and returns the settings path to save to.
    std::string (*setUp)(const CTempFolder& dir);
};

void ExpectFailureLeavesOldFile(const FailureCase& c, const CTempFolder& dir) {
    SCOPED_TRACE(c.name);
    const std::string ini = c.setUp(dir);
    const std::string before = dir / "tolmeri.ini";
    const std::string oldBytes = ReadBytes(before);
    const std::set<std::string> oldNames = Names(dir.Path());

    const tolmeri::Status saved = tolmeri::SaveSettingsFile(ini, Sydney2024());
    EXPECT_FALSE(saved);
    EXPECT_FALSE(saved.Message().empty());
    EXPECT_EQ(ReadBytes(before), oldBytes);
    EXPECT_EQ(Names(dir.Path()), oldNames);
}

std::string WithOldFile(const CTempFolder& dir) {
    WriteBytes(dir / "tolmeri.ini", Fixture("keep.ini"));
    return dir / "tolmeri.ini";
}

TEST(Settings, FailedSaveIsReportedAndChangesNothing) {
    const FailureCase cases[] = {
        {"directory missing", [](const CTempFolder& dir) { return dir / "missing/tolmeri.ini"; }},
        {"directory is a file",
         [](const CTempFolder& dir) {
             WithOldFile(dir);
             return dir / "tolmeri.ini/tolmeri.ini";
         }},
        {"path is a directory",
         [](const CTempFolder& dir) {
             fs::create_directory(dir / "tolmeri.ini");
             return dir / "tolmeri.ini";
         }},
        {"path is a device",
         [](const CTempFolder& dir) {
             WithOldFile(dir);
             EXPECT_EQ(::symlink("/dev/full", (dir / "full.ini").c_str()), 0);
             return dir / "full.ini";
         }},
        {"path is a pipe",
         [](const CTempFolder& dir) {
             EXPECT_EQ(::mkfifo((dir / "pipe.ini").c_str(), 0644), 0);
             return dir / "pipe.ini";
         }},
        {"link loop",
         [](const CTempFolder& dir) {
             EXPECT_EQ(::symlink("b.ini", (dir / "a.ini").c_str()), 0);
             EXPECT_EQ(::symlink("a.ini", (dir / "b.ini").c_str()), 0);
             return dir / "a.ini";
         }},
        {"no path", [](const CTempFolder&) { return std::string(); }},
        // Nobody, root included, may create files in /proc.
        {"directory refuses files",
         [](const CTempFolder&) { return std::string("/proc/tolmeri-settings-test.ini"); }},
    };
    for (const FailureCase& c : cases) {
        CTempFolder dir;
        ExpectFailureLeavesOldFile(c, dir);
    }
}

// Permission bits stop an ordinary user's save; the old file stays as it was
// and nothing is left beside it.
TEST(Settings, ReadOnlyPlacesRefuseTheSave) {
    const struct {
        const char* name;
        bool readOnlyFolder;
    } cases[] = {{"read-only directory", true}, {"read-only file", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CTempFolder dir;
        const std::string ini = WithOldFile(dir);
        if (::geteuid() == 0) {
            ASSERT_EQ(::chown(dir.Path().c_str(), kOtherUser, kOtherUser), 0);
            ASSERT_EQ(::chown(ini.c_str(), kOtherUser, kOtherUser), 0);
        }
        ASSERT_EQ(::chmod(c.readOnlyFolder ? dir.Path().c_str() : ini.c_str(),
                          c.readOnlyFolder ? 0555 : 0444),
                  0);
        const std::string oldBytes = ReadBytes(ini);
        const std::set<std::string> oldNames = Names(dir.Path());
        const std::string answer = RunAsOrdinaryUser([&] {
            const tolmeri::Status saved = tolmeri::SaveSettingsFile(ini, Sydney2024());
            if (saved)
                return std::string("the save succeeded");
            if (saved.Message().empty())
                return std::string("the refusal has no message");
            return std::string();
        });
        EXPECT_EQ(answer, "");
        EXPECT_EQ(ReadBytes(ini), oldBytes);
        EXPECT_EQ(Names(dir.Path()), oldNames);
    }
}

// The settings of a program in a folder the user cannot write. Permission
// bits bind only an ordinary user, so each case runs in a child process that,
// when this test runs as root (as CI does), first drops to the user nobody
// (65534). The child reports what it saw as "key=value" lines; the checks
// run here.
class SettingsFolders : public ::testing::Test {
protected:
    static constexpr uid_t kNobody = 65534;

    void SetUp() override {
        ASSERT_EQ(::chmod(base.Path().c_str(), 0755), 0); // nobody must reach inside
        for (const char* d : {"prog", "progw", "config", "home"}) {
            fs::create_directory(base.Path() / d);
            ASSERT_EQ(::chmod((base / d).c_str(), 0755), 0);
            if (::geteuid() == 0 && std::string(d) != "prog") {
                ASSERT_EQ(::chown((base / d).c_str(), kNobody, kNobody), 0);
            }
        }
        WriteBytes(base / "prog/tolmeri.ini", kSeed);
        ASSERT_EQ(::chmod((base / "prog/tolmeri.ini").c_str(), 0644), 0);
        ASSERT_EQ(::chmod((base / "prog").c_str(), 0555), 0); // the installed program's folder
    }

    // Runs body in a child as an unprivileged user with the environment env
    // (a null value unsets); false with skipReason set when that is impossible.
    bool RunUnprivileged(const std::map<std::string, const char*>& env,
                         const std::function<void(std::ostream&)>& body) {
        report.clear();
        const std::string bytes = RunAsOrdinaryUser([&] {
            for (const auto& [name, value] : env) {
                if (value)
                    ::setenv(name.c_str(), value, 1);
                else
                    ::unsetenv(name.c_str());
            }
            std::ostringstream text;
            text << "uid=" << ::geteuid() << "\n";
            body(text);
            return text.str();
        });
        if (bytes.rfind("cannot-drop: ", 0) == 0) {
            skipReason = "cannot become an unprivileged user: " + bytes.substr(13);
            return false;
        }
        std::istringstream lines(bytes);
        for (std::string line; std::getline(lines, line);) {
            const std::size_t eq = line.find('=');
            if (eq != std::string::npos)
                report[line.substr(0, eq)] = line.substr(eq + 1);
        }
        const uid_t expected = ::geteuid() == 0 ? kNobody : ::geteuid();
        EXPECT_EQ(report["uid"], std::to_string(expected)) << "the case must not run as root";
        return true;
    }

    // Chooses, loads and saves as the main dialog does, and tells what happened.
    static void ChooseLoadSave(const std::string& beside, std::ostream& text) {
        const tolmeri::SettingsLocation where = tolmeri::ChooseSettingsLocation(beside);
        text << "path=" << where.path << "\nseed=" << where.seedPath << "\n";
        text << "loaded=" << tolmeri::LoadSettingsFile(where).place.name << "\n";
        const tolmeri::Status saved = tolmeri::SaveSettingsFile(where, Sydney2024());
        text << "saved=" << (saved ? std::string("yes") : saved.Message()) << "\n";
        text << "reloaded=" << tolmeri::LoadSettingsFile(where).place.name << "\n";
    }

    static inline const std::string kSeed =
        "; hand-written\n[Location]\nLocation Name=Lima\n[Extra]\nKept=1\n";
    CTempFolder base;
    std::map<std::string, std::string> report;
    std::string skipReason;
};

TEST_F(SettingsFolders, AWritableProgramFolderKeepsTheFileBesideTheProgram) {
    const std::string beside = base / "progw/tolmeri.ini";
    if (!RunUnprivileged({{"XDG_CONFIG_HOME", (base / "config").c_str()}},
                         [&](std::ostream& text) { ChooseLoadSave(beside, text); }))
        GTEST_SKIP() << skipReason;
    EXPECT_EQ(report["path"], beside);
    EXPECT_EQ(report["seed"], "");
    EXPECT_EQ(report["loaded"], kYokohama);
    EXPECT_EQ(report["saved"], "yes");
    EXPECT_EQ(tolmeri::LoadSettingsFile(beside), Sydney2024());
    EXPECT_EQ(Names(base.Path() / "progw"), std::set<std::string>{"tolmeri.ini"})
        << "the folder test leaves nothing behind";
    EXPECT_TRUE(Names(base.Path() / "config").empty());
}

TEST_F(SettingsFolders, AReadOnlyProgramFolderMovesThemToTheUsersConfigFolder) {
    const std::string beside = base / "prog/tolmeri.ini";
    const std::string moved = base / "config/tolmeri/tolmeri.ini";
    if (!RunUnprivileged({{"XDG_CONFIG_HOME", (base / "config").c_str()}},
                         [&](std::ostream& text) { ChooseLoadSave(beside, text); }))
        GTEST_SKIP() << skipReason;
    EXPECT_EQ(report["path"], moved);
    EXPECT_EQ(report["seed"], beside);
    EXPECT_EQ(report["loaded"], "Lima") << "starts from the file beside the program";
    EXPECT_EQ(report["saved"], "yes");
    EXPECT_EQ(report["reloaded"], "Sydney");
    EXPECT_EQ(ReadBytes(beside), kSeed) << "the file beside the program stays as it was";
    EXPECT_EQ(tolmeri::LoadSettingsFile(moved), Sydney2024());
    const std::string written = ReadBytes(moved);
    EXPECT_NE(written.find("; hand-written\n"), std::string::npos) << written;
    EXPECT_NE(written.find("[Extra]\nKept=1\n"), std::string::npos) << written;
    struct stat folder {};
    ASSERT_EQ(::stat((base / "config/tolmeri").c_str(), &folder), 0);
    EXPECT_EQ(folder.st_mode & 0777, 0700u);

    // Once there, the file in the configuration folder is the one read and
    // written; the seed is no longer consulted.
    if (!RunUnprivileged({{"XDG_CONFIG_HOME", (base / "config").c_str()}}, [&](std::ostream& text) {
            const auto where = tolmeri::ChooseSettingsLocation(beside);
            text << "loaded=" << tolmeri::LoadSettingsFile(where).place.name << "\n";
            const auto saved = tolmeri::SaveSettingsFile(where, DefaultSettings());
            text << "saved=" << (saved ? std::string("yes") : saved.Message()) << "\n";
        }))
        GTEST_SKIP() << skipReason;
    EXPECT_EQ(report["loaded"], "Sydney");
    EXPECT_EQ(report["saved"], "yes");
    EXPECT_EQ(tolmeri::LoadSettingsFile(moved), DefaultSettings());
    EXPECT_NE(ReadBytes(moved).find("[Extra]\nKept=1\n"), std::string::npos);
}

// The user's configuration folder is used only when it is private, as the
// instance lock's folder must be: one another user owns, or that others may
// write into, is refused with a message and not read (the file beside the
// program stands in); a link at the file is neither read nor written.
TEST_F(SettingsFolders, AConfigFolderOthersControlOrALinkAtTheFileIsRefused) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "making another user's folder takes root";
    const std::string beside = base / "prog/tolmeri.ini";
    const std::string folder = base / "config/tolmeri";
    const std::string planted = base / "config/planted.ini";
    const std::string plantedBytes = "[Location]\nLocation Name=Planted\n";
    const struct {
        const char* why;
        uid_t owner;
        mode_t mode;
        bool link;          // tolmeri.ini there is a link to planted
        const char* loaded; // what the load gives
        const char* refusal;
    } cases[] = {
        {"another user's folder, open to all", 0, 0777, false, "Lima", "設定のフォルダー"},
        {"our folder, group may write", kNobody, 0770, false, "Lima", "設定のフォルダー"},
        {"our folder, others may write", kNobody, 0703, false, "Lima", "設定のフォルダー"},
        {"a link at the file", kNobody, 0700, true, kYokohama.c_str(), "symbolic link"},
        {"our private folder", kNobody, 0700, false, "Lima", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        fs::remove_all(folder);
        ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
        ASSERT_EQ(::chown(folder.c_str(), c.owner, c.owner), 0);
        ASSERT_EQ(::chmod(folder.c_str(), c.mode), 0);
        WriteBytes(planted, plantedBytes);
        ASSERT_EQ(::chown(planted.c_str(), kNobody, kNobody), 0);
        if (c.link) {
            ASSERT_TRUE(PlantLink(planted, folder + "/tolmeri.ini", kNobody));
        }
        if (!RunUnprivileged({{"XDG_CONFIG_HOME", (base / "config").c_str()}},
                             [&](std::ostream& text) { ChooseLoadSave(beside, text); }))
            GTEST_SKIP() << skipReason;
        EXPECT_EQ(report["path"], folder + "/tolmeri.ini");
        EXPECT_EQ(report["loaded"], c.loaded);
        EXPECT_EQ(ReadBytes(planted), plantedBytes);
        if (c.refusal) {
            EXPECT_NE(report["saved"].find(c.refusal), std::string::npos) << report["saved"];
            EXPECT_EQ(fs::exists(fs::symlink_status(folder + "/tolmeri.ini")), c.link);
        } else {
            EXPECT_EQ(report["saved"], "yes");
            EXPECT_EQ(report["reloaded"], "Sydney");
        }
    }
}

TEST_F(SettingsFolders, WithoutXdgConfigHomeTheHomeFolderCountsAndFailuresAreReported) {
    const std::string beside = base / "prog/koyomi.ini"; // a renamed program, no file yet
    for (const char* config : {static_cast<const char*>(nullptr), "", "relative/config"}) {
        if (!RunUnprivileged({{"XDG_CONFIG_HOME", config}, {"HOME", (base / "home").c_str()}},
                             [&](std::ostream& text) { ChooseLoadSave(beside, text); }))
            GTEST_SKIP() << skipReason;
        EXPECT_EQ(report["path"], base / "home/.config/tolmeri/koyomi.ini");
        EXPECT_EQ(report["loaded"], kYokohama) << "no file anywhere: the defaults";
        EXPECT_EQ(report["saved"], "yes");
        EXPECT_EQ(report["reloaded"], "Sydney");
        fs::remove_all(base.Path() / "home/.config");
    }
    // A configuration folder that cannot be written either: the save says so
    // and nothing is made.
    if (!RunUnprivileged({{"XDG_CONFIG_HOME", (base / "prog").c_str()}},
                         [&](std::ostream& text) { ChooseLoadSave(beside, text); }))
        GTEST_SKIP() << skipReason;
    EXPECT_EQ(report["path"], base / "prog/tolmeri/koyomi.ini");
    EXPECT_NE(report["saved"], "yes");
    EXPECT_NE(report["saved"].find(base / "prog/tolmeri"), std::string::npos) << report["saved"];
    EXPECT_EQ(Names(base.Path() / "prog"), std::set<std::string>{"tolmeri.ini"});
}

// A process that dies in the middle of a save, at the moment its write goes
// past a file-size limit, is killed by SIGXFSZ as by any other signal. The
// old file stays whole; where the file system has unnamed files nothing else
// is left at all, and elsewhere the next save sweeps the named one away.
TEST(Settings, ASaveKilledMidWayLeavesTheOldFileAndNothingAfterTheNextSave) {
    CTempFolder dir;
    const std::string ini = WithOldFile(dir);
    const std::string oldBytes = ReadBytes(ini);
    const pid_t child = ::fork();
    if (child == 0) {
        const rlimit none{0, 0};
        ::setrlimit(RLIMIT_CORE, &none);
        const rlimit tiny{16, 16};
        ::setrlimit(RLIMIT_FSIZE, &tiny);
        std::signal(SIGXFSZ, SIG_DFL);
        (void)tolmeri::SaveSettingsFile(ini, Sydney2024());
        ::_exit(0); // not reached
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the save must be cut by the signal";
    EXPECT_EQ(WTERMSIG(status), SIGXFSZ);
    EXPECT_EQ(ReadBytes(ini), oldBytes);
    const int unnamed = ::open(dir.Path().c_str(), O_TMPFILE | O_WRONLY, 0600);
    if (unnamed >= 0) {
        ::close(unnamed);
        EXPECT_EQ(Names(dir.Path()), std::set<std::string>{"tolmeri.ini"});
    }

    ASSERT_TRUE(tolmeri::SaveSettingsFile(ini, DefaultSettings()).Ok());
    EXPECT_EQ(Names(dir.Path()), std::set<std::string>{"tolmeri.ini"});
}

// A temporary file whose process is gone is swept away by the next save;
// one of a live process, and anything else, is left alone.
TEST(Settings, TheNextSaveRemovesTemporaryFilesOfEndedSaves) {
    CTempFolder dir;
    const std::string ini = WithOldFile(dir);
    const pid_t gone = ::fork();
    if (gone == 0)
        ::_exit(0);
    ::waitpid(gone, nullptr, 0);
    const std::string stale = ".tolmeri.ini.tmp" + std::to_string(gone) + "-1";
    const std::string live = ".tolmeri.ini.tmp1-1"; // process 1 never ends
    const std::string g = std::to_string(gone);
    const std::set<std::string> others = {
        ".tolmeri.ini.tmpabc",          "tolmeri.ini.tmp" + g + "-1",
        ".other.ini.tmp" + g + "-1",    ".tolmeri.ini.tmp" + g + "-",
        ".tolmeri.ini.tmp" + g + "-1x", ".tolmeri.ini.tmp-" + g + "-1"};
    for (const std::string& name : others)
        WriteBytes(dir / name, "x");
    WriteBytes(dir / stale, "[Location]\n");
    WriteBytes(dir / live, "[Location]\n");

    ASSERT_TRUE(tolmeri::SaveSettingsFile(ini, Sydney2024()).Ok());
    std::set<std::string> expected = others;
    expected.insert({"tolmeri.ini", live});
    EXPECT_EQ(Names(dir.Path()), expected);
}

} // namespace
