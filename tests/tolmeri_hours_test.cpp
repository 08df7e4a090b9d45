// tolmeri-hours from the outside: the real binary run with arguments and a
// fixed clock, judged by its exit status, its output and the files it leaves.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include "core/sun_events.h"
#include "tests/csv_rows.h"
#include "tests/run_process.h"
#include "tests/temp_folder.h"
#include "tolmeri_config.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> Split(const std::string& text, char sep) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, sep))
        parts.push_back(part);
    return parts;
}

class HoursCli : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directory(work); }

    ProcessResult Run(const std::vector<std::string>& args, std::vector<std::string> env = {},
                      ProcessOptions options = {}) {
        // The machine's zone decides "today"; tests fix both.
        env.push_back("TZ=UTC");
        options.folder = work.string();
        options.env = env;
        return RunProcess(TOLMERI_HOURS_EXE, args, options);
    }
    // Rows of a CSV without quoted fields, header first.
    std::vector<std::map<std::string, std::string>> Csv(const std::vector<std::string>& args) {
        const ProcessResult r = Run(args);
        EXPECT_EQ(r.status, 0) << r.err;
        const std::vector<std::string> lines = Split(r.out, '\n');
        std::vector<std::map<std::string, std::string>> rows;
        if (lines.empty())
            return rows;
        const std::vector<std::string> head = Split(lines[0], ',');
        for (std::size_t i = 1; i < lines.size(); ++i) {
            const std::vector<std::string> cells = Split(lines[i], ',');
            EXPECT_EQ(cells.size(), head.size()) << lines[i];
            std::map<std::string, std::string> row;
            for (std::size_t c = 0; c < head.size() && c < cells.size(); ++c)
                row[head[c]] = cells[c];
            rows.push_back(row);
        }
        return rows;
    }
    // Runs a Python snippet on text given as a file; its output, or nullopt
    // when no Python is at hand.
    std::optional<ProcessResult> Python(const std::string& script, const std::string& input) {
        if (std::system("python3 -c '' 2>/dev/null") != 0)
            return std::nullopt;
        const fs::path file = root.Path() / "input";
        std::ofstream(file, std::ios::binary) << input;
        return RunProcess("python3", {"-c", script, file.string()}, {.folder = work.string()});
    }
    // Run with a limit on the size of any file the program writes, and
    // SIGXFSZ ignored, so an oversized write fails with EFBIG as on a full
    // disk instead of killing the program.
    ProcessResult RunWithFileSizeLimit(const std::vector<std::string>& args, long long limit) {
        return Run(args, {}, {.fileSizeLimit = limit});
    }
    std::vector<std::string> WorkFiles() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(work))
            names.push_back(e.path().filename().string());
        return names;
    }

    CTempFolder root;
    const fs::path work = root.Path() / "work";
};

TEST_F(HoursCli, BadInputIsNamedInOneLineWithStatusTwoAndNothingWritten) {
    const struct {
        std::vector<std::string> args;
        const char* says;
    } cases[] = {
        {{"--place", "Tokio"}, "場所 \"Tokio\" は一覧にありません"},
        {{"--date", "2001-13-01"}, "日付 \"2001-13-01\" は正しくありません"},
        {{"--date", "2001-02-31"}, "2001年2月は 28 日まで"},
        {{"--date", "2100-02-29"}, "2100年2月は 28 日まで"},
        {{"--date", "2201-01-01"}, "日付 \"2201-01-01\" は範囲外です"},
        {{"--date", "21-6-2001x"}, "日付 \"21-6-2001x\" は読めません"},
        {{"--lat", "55:00", "--lon", "139", "--tz", "9"}, "緯度 \"55:00\" は範囲外です"},
        {{"--lat", "-54:60", "--lon", "139", "--tz", "9"}, "緯度 \"-54:60\" は範囲外です（分"},
        {{"--lat", "35.5", "--lon", "139", "--tz", "9"}, "緯度 \"35.5\" は読めません"},
        {{"--lat", "35:", "--lon", "139", "--tz", "9"}, "緯度 \"35:\" は読めません"},
        {{"--lat", "-0:30", "--lon", "139", "--tz", "9"}, "緯度 \"-0:30\" は使えません"},
        {{"--lat", "35", "--lon", "181", "--tz", "9"}, "経度 \"181\" は範囲外です"},
        {{"--lat", "35", "--lon", "139", "--tz", "+13"}, "時差 \"+13\" は範囲外です"},
        {{"--lat", "35", "--lon", "139", "--tz", "6"}, "時差 \"6\" は経度 139 度に合いません"},
        {{"--lat", "35", "--lon", "139", "--tz", "nine"}, "時差 \"nine\" は読めません"},
        {{"--lat", "35", "--lon", "139"}, "三つそろえて"},
        {{"--place", "東京", "--lat", "35"}, "一緒に使えません"},
        {{"--days", "0"}, "日数 \"0\" は範囲外です"},
        {{"--days", "-3"}, "日数 \"-3\" は読めません"},
        {{"--date", "2200-12-01", "--days", "32"}, "2200-12-31 を越えます"},
        {{"--date", "2026-01-02", "--to", "2026-01-01"}, "より前です"},
        {{"--days", "3", "--to", "2026-01-01"}, "--days と --to"},
        {{"--format", "xml"}, "形式 \"xml\" は使えません"},
        {{"--now", "--date", "2026-01-01"}, "--now"},
        {{"--png", "a.png", "--days", "2"}, "--png"},
        {{"--png", "a.png", "--size", "199x300"}, "大きさ \"199x300\" は範囲外です"},
        {{"--png", "a.png", "--size", "800"}, "大きさ \"800\" は読めません"},
        {{"--size", "800x600"}, "--size は --png と"},
        {{"--frobnicate"}, "オプション \"--frobnicate\" はありません"},
        {{"東京"}, "余分な引数 \"東京\""},
        {{"--place"}, "--place には値が必要です"},
    };
    for (const auto& c : cases) {
        const ProcessResult r = Run(c.args, {"TOLMERI_NOW=2026-06-21T03:00:00Z"});
        const std::string shown = ::testing::PrintToString(c.args);
        EXPECT_EQ(r.status, 2) << shown;
        EXPECT_EQ(r.out, "") << shown;
        EXPECT_EQ(r.err.find("tolmeri-hours: "), 0u) << shown << r.err;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << shown << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << shown << r.err;
        EXPECT_TRUE(WorkFiles().empty()) << shown;
    }
}

TEST_F(HoursCli, AMalformedFixedClockIsRefused) {
    const ProcessResult r = Run({"--now"}, {"TOLMERI_NOW=2026-12-07 03:15"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("TOLMERI_NOW \"2026-12-07 03:15\""), std::string::npos) << r.err;
}

TEST_F(HoursCli, HelpExplainsEveryOptionAndWinsOverMistakes) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--help"}, {"--frobnicate", "-h"}}) {
        const ProcessResult r = Run(args);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.err, "");
        for (const char* option :
             {"--place", "--lat", "--lon", "--tz", "--name", "--date", "--days", "--to", "--format",
              "--now", "--png", "--size", "--list-places", "--version", "TOLMERI_NOW", "day_hour",
              "b00_min", "\"-33:52\" は南緯 33 度 52 分"})
            EXPECT_NE(r.out.find(option), std::string::npos) << option;
    }
}

TEST_F(HoursCli, VersionIsTheProjectsWholeVersion) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--version"}, {"--place", "東京", "--version", "--now"}}) {
        const ProcessResult r = Run(args);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out, "tolmeri-hours " TOLMERI_VERSION "\n");
        EXPECT_EQ(r.err, "");
    }
}

TEST_F(HoursCli, OneDayOfYokohama20010621IsTheCalculatorsTable) {
    // 35°27′ N, 139°39′ E, +9, 2001-06-21, as core_test has it.
    const int expected[tolmeri::kBoundaryCount] = {
        -17, 24,  65,  106,  147,  187,  228,  307,  387,  466,  545,  624, 703,
        782, 861, 940, 1019, 1099, 1178, 1219, 1260, 1301, 1342, 1382, 1423};
    for (const std::vector<std::string>& place :
         {std::vector<std::string>{},
          {"--place", "横浜"},
          {"--lat", "35:27", "--lon", "139:39", "--tz", "9", "--name", "横浜"}}) {
        std::vector<std::string> args = place;
        args.insert(args.end(), {"--date", "2001-06-21", "--format", "csv"});
        const auto rows = Csv(args);
        ASSERT_EQ(rows.size(), 1u);
        auto row = rows[0];
        EXPECT_EQ(row["place"], "横浜");
        for (int i = 0; i < tolmeri::kBoundaryCount; ++i) {
            const std::string b = (i < 10 ? "b0" : "b") + std::to_string(i);
            EXPECT_EQ(std::stoi(row[b + "_min"]), expected[i]) << b;
        }
        EXPECT_EQ(row["b00"], "23:43");
        EXPECT_EQ(row["b06"], "03:48");
        EXPECT_EQ(row["sunrise"], "04:26");
        EXPECT_EQ(row["sunset"], "19:00");
        EXPECT_EQ(row["sunrise_min"], "266");
        EXPECT_EQ(row["day_hour"], "158.3"); // (1178 - 228) / 6
        EXPECT_EQ(row["night_hour"], "81.7");
    }
    const ProcessResult table = Run({"--date", "2001-06-21"});
    EXPECT_EQ(table.status, 0);
    EXPECT_NE(table.out.find("  18  暮六つ (酉)   19:38  1178\n"), std::string::npos) << table.out;
    EXPECT_NE(table.out.find("日出 04:26  日没 19:00  昼の一刻 158.3 分  夜の一刻 81.7 分"),
              std::string::npos);
}

TEST_F(HoursCli, WestAndSouthAreReadAsTheWindowReadsThem) {
    // The minutes take the sign of the degrees: a preset and its typed
    // values agree, and New York's transit is 11:57, not 11:50.
    const struct {
        const char *place, *lat, *lon, *tz, *dawn, *transit, *dusk;
    } cases[] = {
        {"new york", "40:46", "-73:52", "-5", "03:42", "11:57", "20:13"},
        {"Sydney", "-33:52", "151:12", "10", "06:25", "11:57", "17:29"},
        {"LIMA", "-12:01", "-77:07", "-5", "05:59", "12:10", "18:22"},
    };
    for (const auto& c : cases) {
        const auto preset = Csv({"--place", c.place, "--date", "2026-06-21", "--format", "csv"});
        ASSERT_EQ(preset.size(), 1u) << c.place;
        const auto typed = Csv({"--lat", c.lat, "--lon", c.lon, "--tz", c.tz, "--name",
                                preset[0].at("place"), "--date", "2026-06-21", "--format", "csv"});
        EXPECT_EQ(preset, typed) << c.place;
        EXPECT_EQ(preset[0].at("b06"), c.dawn) << c.place;
        EXPECT_EQ(preset[0].at("b12"), c.transit) << c.place;
        EXPECT_EQ(preset[0].at("b18"), c.dusk) << c.place;
    }
}

TEST_F(HoursCli, RangesAcrossAYearEndHaveOneRowPerDayInEveryFormat) {
    const std::vector<std::string> place = {"--place", "東京", "--date", "2025-12-30"};
    auto with = [&](std::vector<std::string> more) {
        std::vector<std::string> a = place;
        a.insert(a.end(), more.begin(), more.end());
        return a;
    };
    const ProcessResult byDays = Run(with({"--days", "4", "--format", "csv"}));
    const ProcessResult byEnd = Run(with({"--to", "2026-01-02", "--format", "csv"}));
    EXPECT_EQ(byDays.out, byEnd.out);
    const auto rows = Csv(with({"--days", "4", "--format", "csv"}));
    ASSERT_EQ(rows.size(), 4u);
    const char* dates[] = {"2025-12-30", "2025-12-31", "2026-01-01", "2026-01-02"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(rows[i].at("date"), dates[i]);
        EXPECT_EQ(rows[i].size(), 8u + 50u);
        EXPECT_EQ(std::stoi(rows[i].at("b24_min")) - std::stoi(rows[i].at("b00_min")), 1440);
        // Each clock is the chart's reading of its day minute.
        for (const auto& [column, value] : rows[i]) {
            if (column.size() == 3 && column[0] == 'b') {
                EXPECT_EQ(value, tolmeri::FormatClock(std::stoi(rows[i].at(column + "_min"))));
            }
        }
        EXPECT_EQ(rows[i].at("sunset"), tolmeri::FormatClock(std::stoi(rows[i].at("sunset_min"))));
    }

    const ProcessResult json = Run(with({"--days", "4", "--format", "json"}));
    ASSERT_EQ(json.status, 0);
    // The JSON parses, holds the same days and the same minutes as the CSV.
    const auto checked =
        Python("import json,sys\n"
               "d=json.load(open(sys.argv[1],encoding='utf-8'))\n"
               "assert d['place']['name']=='東京' and len(d['labels'])==25\n"
               "for day in d['days']:\n"
               "  assert len(day['times'])==25 and len(day['minutes'])==25\n"
               "  print(day['date'], day['minutes'][6], day['minutes'][18], day['day_hour'])\n",
               json.out);
    if (!checked)
        GTEST_SKIP() << "no python3 to parse the JSON";
    ASSERT_EQ(checked->status, 0) << checked->err;
    std::string expected;
    for (const auto& r : rows)
        expected += r.at("date") + " " + r.at("b06_min") + " " + r.at("b18_min") + " " +
                    r.at("day_hour") + "\n";
    EXPECT_EQ(checked->out, expected);

    const ProcessResult table = Run(with({"--days", "4"}));
    EXPECT_EQ(std::count(table.out.begin(), table.out.end(), '\n'), 3 + 4);
}

TEST_F(HoursCli, LeapDaysCountAsTheCalendarHasThem) {
    const struct {
        const char* from;
        const char* to;
        std::vector<std::string> dates;
    } cases[] = {
        {"2024-02-28", "2024-03-01", {"2024-02-28", "2024-02-29", "2024-03-01"}},
        {"2100-02-28", "2100-03-01", {"2100-02-28", "2100-03-01"}},
        {"2000-02-28", "2000-03-01", {"2000-02-28", "2000-02-29", "2000-03-01"}},
        {"0000-12-31", "0001-01-01", {"0000-12-31", "0001-01-01"}},
    };
    for (const auto& c : cases) {
        const auto rows = Csv({"--date", c.from, "--to", c.to, "--format", "csv"});
        std::vector<std::string> dates;
        for (const auto& r : rows)
            dates.push_back(r.at("date"));
        EXPECT_EQ(dates, c.dates) << c.from;
    }
}

TEST_F(HoursCli, NamesWithCommasAndQuotesSurviveCsvAndJson) {
    const std::string name = "新宿, \"西口\" \\ 1";
    const std::vector<std::string> args = {"--lat", "35:41",  "--lon", "139:42", "--tz",
                                           "9",     "--name", name,    "--date", "2026-03-20"};
    auto csvArgs = args;
    csvArgs.insert(csvArgs.end(), {"--format", "csv"});
    const ProcessResult csv = Run(csvArgs);
    EXPECT_NE(csv.out.find(",\"新宿, \"\"西口\"\" \\ 1\","), std::string::npos) << csv.out;
    auto jsonArgs = args;
    jsonArgs.insert(jsonArgs.end(), {"--format", "json"});
    const ProcessResult json = Run(jsonArgs);
    const auto viaCsv = Python("import csv,sys\n"
                               "rows=list(csv.reader(open(sys.argv[1],encoding='utf-8')))\n"
                               "print(len(rows), len(rows[1]), rows[1][1])\n",
                               csv.out);
    const auto viaJson = Python("import json,sys\n"
                                "print(json.load(open(sys.argv[1],encoding='utf-8'))"
                                "['place']['name'])\n",
                                json.out);
    if (!viaCsv || !viaJson)
        GTEST_SKIP() << "no python3";
    EXPECT_EQ(viaCsv->out, "2 58 " + name + "\n") << viaCsv->err;
    EXPECT_EQ(viaJson->out, name + "\n") << viaJson->err;
}

TEST_F(HoursCli, NowFindsTheHourAlsoBeforeMidnightMarkAndAfterTheLastOne) {
    // The day tables the expectations are read from.
    auto day = [&](const std::string& place, const std::string& date) {
        return Csv({"--place", place, "--date", date, "--format", "csv"}).at(0);
    };
    auto minute = [](const std::map<std::string, std::string>& row, int i) {
        return std::stoi(row.at((i < 10 ? "b0" : "b") + std::to_string(i) + "_min"));
    };
    const auto tokyo = day("東京", "2026-12-07");
    const auto nagasakiDay = day("長崎", "2026-02-10");
    const auto nemuroNext = day("根室", "2026-11-04");
    ASSERT_GT(minute(nagasakiDay, 0), 10) << "the transit must fall after 12:10 for this case";
    ASSERT_LT(minute(nemuroNext, 0), -30) << "and before 11:30 for the next one";

    const struct {
        const char* now;
        const char* place;
        const char* localNow;
        const char* label;
        const char* next;
        int minutesToNext;
    } cases[] = {
        // 12:15 in Tokyo: the noon hour, its half at the next mark.
        {"2026-12-07T03:15:00Z", "東京", "2026-12-07T12:15", "昼九つ (午)", "昼九つ半",
         minute(tokyo, 13) - 735},
        // 00:10 in Nagasaki, before the date's own midnight mark: still the
        // last half-hour of the day before.
        {"2026-02-09T15:10:00Z", "長崎", "2026-02-10T00:10", "夜四つ半", "暁九つ (子)",
         minute(nagasakiDay, 0) - 10},
        // 23:30 in Nemuro, after the date's last mark: the next day's
        // midnight hour has begun.
        {"2026-11-03T14:30:00Z", "根室", "2026-11-03T23:30", "暁九つ (子)", "暁九つ半",
         minute(nemuroNext, 1) + 1440 - (23 * 60 + 30)},
        // Universal and local dates differ.
        {"2026-06-20T20:00:59Z", "東京", "2026-06-21T05:00", "明六つ (卯)", "明六つ半",
         minute(day("東京", "2026-06-21"), 7) - 300},
    };
    for (const auto& c : cases) {
        const ProcessResult r = Run({"--place", c.place, "--now", "--format", "csv"},
                                    {std::string("TOLMERI_NOW=") + c.now});
        ASSERT_EQ(r.status, 0) << r.err;
        const std::vector<std::string> lines = Split(r.out, '\n');
        ASSERT_EQ(lines.size(), 2u) << r.out;
        const std::vector<std::string> f = Split(lines[1], ',');
        ASSERT_EQ(f.size(), 9u) << lines[1];
        EXPECT_EQ(f[0], c.localNow) << c.now;
        EXPECT_EQ(f[3], c.label) << c.now;
        EXPECT_EQ(f[6], c.next) << c.now;
        EXPECT_EQ(std::stoi(f[8]), c.minutesToNext) << c.now;
    }
    const ProcessResult text =
        Run({"--place", "東京", "--now"}, {"TOLMERI_NOW=2026-12-07T03:15:00Z"});
    EXPECT_NE(text.out.find("刻        昼九つ (午)"), std::string::npos) << text.out;
}

TEST_F(HoursCli, EveryPresetIsFoundByItsNameAndLatinNamesIgnoreCase) {
    const auto list = Csv({"--list-places", "--format", "csv"});
    ASSERT_EQ(list.size(), 53u);
    for (const auto& place : list) {
        const ProcessResult r = Run({"--place", place.at("name"), "--date", "2026-01-01"});
        EXPECT_EQ(r.status, 0) << place.at("name") << r.err;
        EXPECT_EQ(r.out.rfind(place.at("name") + "  緯度 " + place.at("latitude"), 0), 0u) << r.out;
    }
    EXPECT_EQ(Run({"--place", "NEW YORK", "--date", "2026-01-01"}).out,
              Run({"--place", "New York", "--date", "2026-01-01"}).out);
}

TEST_F(HoursCli, AFailedWriteIsReported) {
    const ProcessResult r = Run({"--date", "2026-01-01", "--days", "366", "--format", "csv"}, {},
                                {.stdoutPath = "/dev/full"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("出力を書けませんでした"), std::string::npos) << r.err;
}

TEST_F(HoursCli, APictureThatCannotBeWrittenIsReportedAndLeavesNothing) {
    const ProcessResult r = Run({"--png", "missing/chart.png", "--date", "2026-01-01"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("missing/chart.png"), std::string::npos) << r.err;
    EXPECT_TRUE(WorkFiles().empty());
}

bool IsPng(const fs::path& path) {
    if (!fs::is_regular_file(path)) // opening a pipe would wait for a writer
        return false;
    std::ifstream f(path, std::ios::binary);
    char magic[8] = {};
    f.read(magic, sizeof magic);
    return f && std::string(magic, 8) == "\x89PNG\r\n\x1a\n";
}

std::string Slurp(const fs::path& path) {
    std::ostringstream s;
    s << std::ifstream(path, std::ios::binary).rdbuf();
    return s.str();
}

TEST_F(HoursCli, APictureGoesOnlyToARegularFile) {
    const struct {
        const char* target;
        int status;
        fs::file_type after; // of the target itself, links not followed
        bool png;            // the file the target names now holds a PNG
    } cases[] = {
        {"new.png", 0, fs::file_type::regular, true},
        {"old.png", 0, fs::file_type::regular, true},
        {"link-to-file", 0, fs::file_type::symlink, true},
        {"fifo", 2, fs::file_type::fifo, false},
        {"dir", 2, fs::file_type::directory, false},
        {"link-to-fifo", 2, fs::file_type::symlink, false},
        {"null-device", 2, fs::file_type::character, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target);
        fs::remove_all(root.Path() / "targets");
        fs::create_directory(root.Path() / "targets");
        const fs::path t = root.Path() / "targets";
        std::ofstream(t / "file", std::ios::binary) << "an older picture";
        std::ofstream(t / "old.png", std::ios::binary) << "an older picture";
        ASSERT_EQ(mkfifo((t / "fifo").c_str(), 0644), 0);
        fs::create_directory(t / "dir");
        fs::create_symlink("file", t / "link-to-file");
        fs::create_symlink("fifo", t / "link-to-fifo");
        if (mknod((t / "null-device").c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0 &&
            std::string(c.target) == "null-device") {
            continue; // only root makes device nodes
        }

        const ProcessResult r = Run({"--date", "2026-06-21", "--png", (t / c.target).string()});
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_EQ(fs::symlink_status(t / c.target).type(), c.after);
        EXPECT_EQ(IsPng(t / c.target), c.png);
        if (c.status != 0) {
            EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
            EXPECT_NE(r.err.find("tolmeri-hours: "), std::string::npos) << r.err;
            EXPECT_TRUE(Slurp(t / "file") == "an older picture");
        }
        // Nothing beside the targets: no temporary file left over.
        std::set<std::string> names;
        for (const auto& e : fs::directory_iterator(t))
            names.insert(e.path().filename().string());
        const std::set<std::string> expected = {"dir",          "fifo",         "file",
                                                "link-to-fifo", "link-to-file", "null-device",
                                                "old.png",      "new.png"};
        for (const std::string& n : names)
            EXPECT_TRUE(expected.count(n)) << n;
        EXPECT_TRUE(fs::is_empty(t / "dir"));
    }
}

TEST_F(HoursCli, APictureCutShortByAFileSizeLimitKeepsTheOldOne) {
    const std::vector<std::string> args = {"--date", "2026-06-21", "--png", "chart.png"};
    ASSERT_EQ(Run(args).status, 0);
    const auto size = static_cast<long long>(fs::file_size(work / "chart.png"));
    // Cut early, and cut in the last piece of the file only.
    for (const long long limit : {4096LL, size - 1}) {
        SCOPED_TRACE(limit);
        std::ofstream(work / "chart.png", std::ios::binary) << "the previous good picture";
        const ProcessResult r = RunWithFileSizeLimit(args, limit);
        EXPECT_EQ(r.status, 1) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_EQ(r.err.rfind("tolmeri-hours: ", 0), 0u) << r.err;
        EXPECT_NE(r.err.find("chart.png"), std::string::npos) << r.err;
        EXPECT_TRUE(Slurp(work / "chart.png") == "the previous good picture");
        EXPECT_EQ(WorkFiles(), std::vector<std::string>{"chart.png"}) << "no temporary file left";
    }
}

TEST_F(HoursCli, NamesThatAreNotUtf8AreKeptByteForByte) {
    // A copy of the tool and its picture module in a folder named 東京 in
    // Shift-JIS, writing 図.png in Shift-JIS: neither name is UTF-8.
    const fs::path folder = root.Path() / "\x93\x8c\x8b\x9e";
    fs::create_directory(folder);
    const fs::path built = fs::path(TOLMERI_HOURS_EXE).parent_path();
    fs::copy_file(TOLMERI_HOURS_EXE, folder / "tolmeri-hours");
    fs::copy_file(built / "tolmeri-png.so", folder / "tolmeri-png.so");
    const std::string name = "\x90\x7d.png";
    const ProcessResult r =
        RunProcess((folder / "tolmeri-hours").string(), {"--date", "2026-06-21", "--png", name},
                   {.folder = work.string(), .env = {"TZ=UTC"}});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(WorkFiles(), std::vector<std::string>{name});
    EXPECT_TRUE(IsPng(work / name));
}

TEST_F(HoursCli, ControlCharactersInBadValuesAreShownAsEscapes) {
    const std::string esc = "\x1b]0;owned\x07\x1b[2J";
    const std::string shown = "\\x1b]0;owned\\x07\\x1b[2J";
    const struct {
        std::vector<std::string> args;
        std::vector<std::string> env;
    } cases[] = {
        {{"--place", esc}, {}},
        {{"--date", esc}, {}},
        {{"--to", esc}, {}},
        {{"--lat", esc, "--lon", "139", "--tz", "9"}, {}},
        {{"--lat", "35", "--lon", "139", "--tz", esc}, {}},
        {{"--lat", "35", "--lon", "139", "--tz", "9", "--name", esc}, {}},
        {{"--format", esc}, {}},
        {{"--" + esc}, {}},
        {{esc}, {}},
        {{"--png", "a.png", "--size", esc}, {}},
        {{"--now"}, {"TOLMERI_NOW=" + esc}},
        {{"--date", "2026-06-21", "--png", "missing/" + esc + ".png"}, {}},
    };
    for (const auto& c : cases) {
        const ProcessResult r = Run(c.args, c.env);
        const std::string trace = ::testing::PrintToString(c.args);
        EXPECT_NE(r.status, 0) << trace;
        EXPECT_NE(r.err.find(shown), std::string::npos) << trace << r.err;
        EXPECT_EQ(
            std::count_if(r.err.begin(), r.err.end(),
                          [](char ch) { return ch != '\n' && ((ch & 0xE0) == 0 || ch == 0x7F); }),
            0)
            << trace << r.err;
    }
    // C1 controls (CSI is U+009B) and bytes that are not UTF-8 are escaped too.
    const ProcessResult c1 = Run({"--place", "\xc2\x9b"
                                             "2J\xff"});
    EXPECT_NE(c1.err.find("\"\\xc2\\x9b2J\\xff\""), std::string::npos) << c1.err;
}

TEST_F(HoursCli, LongRangesComeOutWholeInEveryFormat) {
    // Several thousand rows, far more than one piece of output holds.
    const std::vector<std::string> range = {"--place",    "東京", "--date",
                                            "2000-01-01", "--to", "2019-12-31"};
    auto with = [&](const char* format) {
        std::vector<std::string> a = range;
        a.insert(a.end(), {"--format", format});
        return Run(a);
    };
    const ProcessResult csv = with("csv");
    ASSERT_EQ(csv.status, 0) << csv.err;
    EXPECT_EQ(std::count(csv.out.begin(), csv.out.end(), '\n'), 1 + 7305);
    EXPECT_EQ(csv.out.substr(csv.out.rfind('\n', csv.out.size() - 2) + 1, 11), "2019-12-31,");
    const ProcessResult table = with("table");
    EXPECT_EQ(std::count(table.out.begin(), table.out.end(), '\n'), 3 + 7305);
    const ProcessResult json = with("json");
    const auto parsed =
        Python("import json,sys\n"
               "d=json.load(open(sys.argv[1],encoding='utf-8'))\n"
               "print(len(d['days']), d['days'][0]['date'], d['days'][-1]['date'])\n",
               json.out);
    if (!parsed)
        GTEST_SKIP() << "no python3 to parse the JSON";
    EXPECT_EQ(parsed->out, "7305 2000-01-01 2019-12-31\n") << parsed->err;
}

// Published times (tests/data/almanac.csv, each row with its source) against
// the tool's columns for the same place and date, within a minute.
TEST_F(HoursCli, PublishedAlmanacTimesWithinAMinute) {
    const std::map<std::string, std::string> columnOf = {{"dawn", "b06"},
                                                         {"dusk", "b18"},
                                                         {"sunrise", "sunrise"},
                                                         {"sunset", "sunset"},
                                                         {"transit", "b12"}};
    const auto minutes = [](const std::string& clock) {
        return std::stoi(clock.substr(0, 2)) * 60 + std::stoi(clock.substr(3, 2));
    };
    std::map<std::vector<std::string>, std::map<std::string, std::string>> days;
    std::set<std::string> places, dates;
    int worst = 0;
    const std::vector<CsvRow> rows = ReadCsvRows(TestDataPath("almanac.csv"));
    for (const CsvRow& row : rows) {
        ASSERT_EQ(row.size(), 8u);
        const std::string &name = row[0], &date = row[4], &event = row[5], &published = row[6];
        const std::vector<std::string> args = {"--lat", row[1],   "--lon", row[2],     "--tz",
                                               row[3],  "--date", date,    "--format", "csv"};
        if (!days.count(args))
            days[args] = Csv(args).at(0);
        ASSERT_TRUE(columnOf.count(event)) << event;
        const int difference = minutes(days[args].at(columnOf.at(event))) - minutes(published);
        EXPECT_LE(std::abs(difference), 1) << name << " " << date << " " << event << ": published "
                                           << published << ", source " << row[7];
        worst = std::max(worst, std::abs(difference));
        places.insert(name);
        dates.insert(date);
    }
    EXPECT_GE(rows.size(), 60u);
    EXPECT_GE(places.size(), 7u);
    EXPECT_GE(dates.size(), 7u);
    std::cout << rows.size() << " published times, " << places.size() << " places, " << dates.size()
              << " dates: largest difference " << worst << " min\n";
}

} // namespace
