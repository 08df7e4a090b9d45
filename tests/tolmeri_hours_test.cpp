// tolmeri-hours from the outside: the real binary run with arguments and a
// fixed clock, judged by its exit status, its output and the files it leaves.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include "core/civil_date.h"
#include "core/sun_events.h"
#include "tests/csv_rows.h"
#include "tests/hostile_names.h"
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

// Words of English left in a Japanese message once the paths it names and
// the program's name are taken out (acronyms such as PNG and extensions
// such as .png may stay).
std::string EnglishIn(std::string message, const std::vector<std::string>& names) {
    for (std::string name : names)
        for (std::size_t at; !name.empty() && (at = message.find(name)) != std::string::npos;)
            message.erase(at, name.size());
    std::string words, word;
    char before = ' ';
    for (char c : message + ' ') {
        if (c >= 'a' && c <= 'z') {
            if (word.empty() && before == '.')
                word += '.';
            word += c;
            continue;
        }
        if (word.size() >= 3 && word[0] != '.')
            words += word + ' ';
        word.clear();
        before = c;
    }
    return words;
}

// The fields of a CSV line, quoted ones as they read ("a ""b""" is a "b"),
// an empty last one too.
std::vector<std::string> Fields(const std::string& line) {
    if (line.empty())
        return {};
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
            fields.back() += '"';
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

class HoursCli : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directory(work); }

    ProcessResult Run(const std::vector<std::string>& args, std::vector<std::string> env = {},
                      ProcessOptions options = {}) {
        // The machine's zone decides "today"; tests fix both. The user's
        // places file is the test's own (config/tolmeri/places.tsv).
        env.push_back("TZ=UTC");
        if (std::none_of(env.begin(), env.end(),
                         [](const std::string& e) { return e.starts_with("XDG_CONFIG_HOME="); }))
            env.push_back("XDG_CONFIG_HOME=" + (root.Path() / "config").string());
        options.folder = work.string();
        options.env = env;
        return RunProcess(TOLMERI_HOURS_EXE, args, options);
    }
    // Rows of a CSV, by the header's names.
    std::vector<std::map<std::string, std::string>> Csv(const std::vector<std::string>& args,
                                                        std::vector<std::string> env = {}) {
        const ProcessResult r = Run(args, std::move(env));
        EXPECT_EQ(r.status, 0) << r.err;
        const std::vector<std::string> lines = Split(r.out, '\n');
        std::vector<std::map<std::string, std::string>> rows;
        if (lines.empty())
            return rows;
        const std::vector<std::string> head = Fields(lines[0]);
        for (std::size_t i = 1; i < lines.size(); ++i) {
            const std::vector<std::string> cells = Fields(lines[i]);
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
        {{"--date", "26-06-21"},
         "日付 \"26-06-21\" は読めません（年は 4 桁で書きます。26 年なら "
         "0026-06-21、令和26年 なら 2044-06-21）"},
        // A year with units in fewer than four digits: how 令和8年 is
        // written without its era, never the year 8.
        {{"--date", "8年6月21日"},
         "日付 \"8年6月21日\" は読めません（年は 4 桁で書きます。8 年なら 0008-06-21、令和8年 "
         "なら 2026-06-21）"},
        {{"--date", "西暦26年6月21日"}, "令和26年 なら 2044-06-21"},
        // The hint offers only real days.
        {{"--date", "26/13/40"}, "日付 \"26/13/40\" は読めません（年は 4 桁で書きます）\n"},
        {{"--date", "0/0/0"}, "日付 \"0/0/0\" は読めません（年は 4 桁で書きます）\n"},
        // Bytes that are not UTF-8, refused before any reader sees them.
        {{"--date", "2026年6月21\xe6 \x97 \xa5"},
         "--date の値 \"2026年6月21\\xe6 \\x97 \\xa5\" は UTF-8 の文字列ではありません"},
        {{"--lat",
          "北\xe7 \xb7 \xaf"
          "35\xe5 \xba \xa6",
          "--lon", "139", "--tz", "9"},
         "--lat の値 \"北\\xe7 \\xb7 \\xaf35\\xe5 \\xba \\xa6\" は UTF-8 の文字列ではありません"},
        {{"--at", "15\xef\xbc \x9a"
                  "00"},
         "--at の値 \"15\\xef\\xbc \\x9a00\" は UTF-8"},
        {{"--date", "2026-01-01", "--to", "2026-12-3\xc0\xb1"}, "--to の値"},
        {{"--place", "東京\xff"}, "--place の値 \"東京\\xff\" は UTF-8 の文字列ではありません"},
        {{"--place", "東京", "--name", "\xe6\xb1"}, "--name の値"},
        // No longitude past 180°00′, in any form.
        {{"--lat", "35", "--lon", "180.99", "--tz", "12"},
         "経度 \"180.99\" は範囲外です（分に丸めると +180:59、経度は -180:00～+180:00）"},
        {{"--lat", "35", "--lon", "180:59", "--tz", "12"},
         "経度 \"180:59\" は範囲外です（経度は -180:00～+180:00）"},
        {{"--lat", "35", "--lon", "-180:59", "--tz", "-12"}, "経度 \"-180:59\" は範囲外です"},
        {{"--lat", "35", "--lon", "180°0′31″", "--tz", "12"}, "分に丸めると +180:01"},
        // A name needs a visible character, and no control or format one.
        {{"--place", "東京", "--name", "\u200b"}, "は使えません（U+200B のような制御文字や"},
        {{"--place", "東京", "--name", "\u00a0"}, "\" は使えません（目に見える文字がありません）"},
        {{"--place", "東京", "--name", "\u202e京東"},
         "名前 \"\\u202e京東\" は使えません（U+202E のような"},
        {{"--place", "東京", "--name", "a\u2028b"}, "名前 \"a\\u2028b\" は使えません（U+2028"},
        {{"--date", "202-6-1"}, "202 年なら 0202-06-01"},
        {{"--date", "2026-01-01", "--to", "26-12-31"},
         "終わりの日付 \"26-12-31\" は読めません（年は 4 桁"},
        {{"--lat", "55:00", "--lon", "139", "--tz", "9"}, "緯度 \"55:00\" は範囲外です"},
        {{"--lat", "-54:60", "--lon", "139", "--tz", "9"}, "緯度 \"-54:60\" は範囲外です（分"},
        {{"--lat", "35:", "--lon", "139", "--tz", "9"}, "緯度 \"35:\" は読めません"},
        {{"--lat", "35.", "--lon", "139", "--tz", "9"}, "緯度 \"35.\" は読めません"},
        {{"--lat", "35.5.1", "--lon", "139", "--tz", "9"}, "緯度 \"35.5.1\" は読めません"},
        {{"--lat", "35.5:41", "--lon", "139", "--tz", "9"}, "緯度 \"35.5:41\" は読めません"},
        {{"--lat", "35:41.5.2", "--lon", "139", "--tz", "9"}, "緯度 \"35:41.5.2\" は読めません"},
        {{"--lat", "35:61.5", "--lon", "139", "--tz", "9"},
         "緯度 \"35:61.5\" は範囲外です（分は 0～59）"},
        {{"--lat", "35.1234567890123456", "--lon", "139", "--tz", "9"}, "は読めません"},
        {{"--lat", "-35N", "--lon", "139", "--tz", "9"}, "符号と N/S はどちらか一方"},
        {{"--lat", "35E", "--lon", "139", "--tz", "9"},
         "緯度 \"35E\" は読めません（緯度の向きは N/S"},
        {{"--lat", "35", "--lon", "139N", "--tz", "9"},
         "経度 \"139N\" は読めません（経度の向きは E/W"},
        {{"--lat", "N", "--lon", "139", "--tz", "9"}, "緯度 \"N\" は読めません"},
        {{"--lat", "54.9999", "--lon", "139", "--tz", "9"},
         "緯度 \"54.9999\" は範囲外です（分に丸めると +55:00、度は -54～54）"},
        {{"--lat", "54:59S", "--lon", "180.9999W", "--tz", "-12"}, "分に丸めると -181:00"},
        {{"--lat", "35", "--lon", "181", "--tz", "9"}, "経度 \"181\" は範囲外です"},
        {{"--lat", "35", "--lon", "139", "--tz", "+13"}, "時差 \"+13\" は範囲外です"},
        {{"--lat", "35", "--lon", "139", "--tz", "6"}, "時差 \"6\" は経度 139 度に合いません"},
        {{"--lat", "35", "--lon", "139", "--tz", "nine"}, "時差 \"nine\" は読めません"},
        {{"--lat", "35", "--tz", "9"}, "--lat と --lon はそろえて指定してください"},
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
        {{"--bom"}, "--bom は --format csv の出力にだけ"},
        {{"--bom", "--format", "json"}, "--bom は --format csv"},
        {{"--list-places", "--bom"}, "--bom は --format csv"},
        {{"--bom", "--png", "a.png"}, "--bom は --format csv"},
        {{"--png", "-", "--days", "2"}, "--png"},
        {{"--bom", "--year-chart", "a.png"}, "--bom は --format csv"},
        {{"--size", "800x600"}, "--size は --png か --year-chart と"},
        {{"--moon"}, "--moon は --year-chart と一緒に指定します"},
        {{"--moon", "--format", "csv"}, "--moon は --year-chart と一緒に指定します"},
        {{"--png", "a.png", "--moon"},
         "--moon は --year-chart の図に月の出・月の入を描きます（--png"},
        // Era dates: each fault of the core's reader, named with the option.
        {{"--date", "慶長25年1月1日"}, "日付 \"慶長25年1月1日\": 慶長25年はありません"},
        // Dates, clocks, coordinates and names as typed.
        {{"--date", "2026 06 21"}, "日付 \"2026 06 21\" は読めません（YYYY-MM-DD、YYYY/M/D"},
        {{"--date", "26/6/21"}, "日付 \"26/6/21\" は読めません（年は 4 桁で書きます"},
        {{"--date", "2026年2月29日"}, "2026年2月は 28 日まで"},
        {{"--date", "旧暦2201年1月1日"}, "旧暦は 445年から 2200年まで"},
        {{"--at", "１５：６０"}, "時刻 \"１５：６０\" は範囲外です"},
        {{"--at", "2026-06-21 25:00"}, "時刻 \"2026-06-21 25:00\" は範囲外です"},
        {{"--lat", "東経35度", "--lon", "139", "--tz", "9"}, "緯度に 東経 は使えません"},
        {{"--lat", "北緯-35", "--lon", "139", "--tz", "9"}, "符号と 北緯/南緯 はどちらか一方"},
        {{"--lat", "35°22′61″", "--lon", "139", "--tz", "9"}, "は範囲外です（秒は 0～59）"},
        {{"--lat", "35度22", "--lon", "139", "--tz", "9"}, "緯度 \"35度22\" は読めません"},
        {{"--place", "東京", "--name", "\u3000"},
         "名前 \"\u3000\" は使えません（目に見える文字がありません）"},
        {{"--date", "慶長5年"}, "日付 \"慶長5年\": 和暦の日付として読めません"},
        {{"--date", "慶長5年13月1日"}, "慶長5年に13月はありません"},
        {{"--date", "文政12年閏3月1日"}, "文政12年に閏3月はありません"},
        {{"--date", "明治5年12月3日"}, "12月は2日まで"},
        {{"--date", "大和3年1月1日"}, "「大和」という元号はありません"},
        {{"--date", "令和200年1月1日"}, "は範囲外です（2218-01-01、年は 0～2200）"},
        {{"--date", "2026-01-01", "--to", "慶長5年9月15日"}, "が始めの日付 2026-01-01 より前です"},
        {{"--date", "慶長5年9月15日", "--to", "慶長5年9月15日x"},
         "終わりの日付 \"慶長5年9月15日x\""},
        // Definitions, clock steps and moments.
        {{"--dawn", "dawn"},
         "--dawn の値 \"dawn\" は使えません（depression, 36min, sunrise, auto）"},
        {{"--steps", "weekly"}, "--steps の値 \"weekly\" は使えません（daily, sekki）"},
        {{"--sun", "true"}, "--sun の値 \"true\" は使えません（window, precise）"},
        {{"--at", "24:00"}, "時刻 \"24:00\" は範囲外です"},
        {{"--at", "9:5"}, "時刻 \"9:5\" は読めません"},
        {{"--at", "15"}, "時刻 \"15\" は読めません"},
        {{"--at", "T15:00"}, "時刻 \"T15:00\" は読めません"},
        {{"--at", "2026-02-30T10:00"}, "2026年2月は 28 日まで"},
        {{"--at", "2026-06-21T10:00", "--date", "2026-06-21"}, "--date とは一緒に使えません"},
        {{"--at", "10:00", "--days", "2"}, "--at は一つの時刻です"},
        {{"--at", "10:00", "--now"}, "--now"},
        {{"--at", "10:00", "--png", "a.png"}, "--png は 1 日分の図を描くだけです"},
        // The year chart.
        {{"--year-chart", "chart.pdf"}, "図 \"chart.pdf\" の形式がわかりません"},
        {{"--year-chart", "png"}, "図 \"png\" の形式がわかりません"},
        {{"--year-chart", "a.png", "--days", "367"}, "期間 367 日は長すぎます（366 日まで）"},
        {{"--year-chart", "a.svg", "--format", "csv"}, "--year-chart は図を描くだけです"},
        {{"--year-chart", "a.svg", "--png", "b.png"}, "一緒に使えません"},
        {{"--year-chart", ""}, "--year-chart のファイル名が空です"},
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

// The long options a text names ("--place"; in roff "\-\-place").
std::set<std::string> OptionsNamedIn(const std::string& written) {
    std::string text;
    for (std::size_t i = 0; i < written.size(); ++i)
        if (!(written[i] == '\\' && i + 1 < written.size() && written[i + 1] == '-'))
            text += written[i];
    std::set<std::string> options;
    for (std::size_t at = 0; (at = text.find("--", at)) != std::string::npos;) {
        std::size_t end = at + 2;
        while (end < text.size() && (std::islower(static_cast<unsigned char>(text[end])) ||
                                     (text[end] == '-' && end > at + 2)))
            ++end;
        if (end > at + 2)
            options.insert(text.substr(at, end - at));
        at = end;
    }
    return options;
}

// --help names the options the manual page names, each of them one the tool
// knows, and a name short of one (an abbreviation) is none; it wins over
// any mistake on the line and explains the environment's clock and how a
// coordinate is written.
TEST_F(HoursCli, HelpNamesEveryOptionOfTheManualAndWinsOverMistakes) {
    const ProcessResult help = Run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.err, "");
    const ProcessResult mistaken = Run({"--frobnicate", "-h"});
    EXPECT_EQ(mistaken.status, 0);
    EXPECT_EQ(mistaken.out, help.out);
    for (const char* text : {"TOLMERI_NOW", "b00_min", "\"-33:52\" は南緯 33 度 52 分"})
        EXPECT_NE(help.out.find(text), std::string::npos) << text;

    const std::set<std::string> options = OptionsNamedIn(help.out);
    EXPECT_GE(options.size(), 20u) << help.out;
    EXPECT_EQ(options, OptionsNamedIn(Slurp(TOLMERI_HOURS_MANUAL)));
    const auto unknown = [&](const std::string& option) {
        const ProcessResult r = Run({option});
        std::string refusal = "オプション \"";
        refusal.append(option).append("\" はありません");
        return r.status == 2 && r.err.find(refusal) != std::string::npos;
    };
    for (const std::string& option : options) {
        EXPECT_FALSE(unknown(option)) << option;
        EXPECT_TRUE(unknown(option.substr(0, option.size() - 1)) ||
                    options.count(option.substr(0, option.size() - 1)))
            << option.substr(0, option.size() - 1);
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
        EXPECT_EQ(rows[i].size(), 8u + 50u + 22u);
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

// A name that a spreadsheet would run as a formula (= + - @ first) is a text
// cell in CSV, with a leading ', in the days and in --at; every name is one
// cell. Numbers stay numbers: a negative minute or latitude is as it was.
TEST_F(HoursCli, CsvTextCellsNeverStartAFormulaAndNumbersStayNumbers) {
    const std::vector<std::string>& names = HostileNames();
    std::string list;
    for (std::size_t i = 0; i < names.size(); ++i) {
        for (const char* what : {"days", "now"}) {
            const std::string file = (work / std::to_string(i).append(what)).string();
            const ProcessResult r =
                Run({"--lat", "-33:52", "--lon", "151:12", "--tz", "10", "--name", names[i],
                     std::string(what) == "now" ? "--at" : "--date",
                     std::string(what) == "now" ? "2026-06-21T12:00" : "2026-06-21", "--format",
                     "csv"});
            ASSERT_EQ(r.status, 0) << names[i] << ": " << r.err;
            std::ofstream(file, std::ios::binary) << r.out;
            list += file + "\n";
        }
    }
    const auto parsed = Python("import csv, sys\n"
                               "for name in open(sys.argv[1]).read().split():\n"
                               "    rows = list(csv.reader(open(name, encoding='utf-8')))\n"
                               "    row = dict(zip(rows[0], rows[1]))\n"
                               "    print(len(rows), len(rows[0]) == len(rows[1]),\n"
                               "          row['place'].encode().hex(), row.get('b00_min', '-'))\n",
                               list);
    if (!parsed)
        GTEST_SKIP() << "no python3";
    const std::vector<std::string> lines = Split(parsed->out, '\n');
    ASSERT_EQ(lines.size(), 2 * names.size()) << parsed->err;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& name = names[i / 2];
        SCOPED_TRACE(name);
        const bool formula = std::string("=+-@").find(name.front()) != std::string::npos;
        std::string hex;
        for (const unsigned char c : (formula ? "'" : "") + name) {
            static constexpr char kHex[] = "0123456789abcdef";
            hex += kHex[c >> 4];
            hex += kHex[c & 15];
        }
        // Days: the first boundary at 33°52′S, 151°12′E on 2026-06-21 is -3 minutes.
        EXPECT_EQ(lines[i], "2 True " + hex + (i % 2 == 0 ? " -3" : " -"));
    }
}

// The first days of year 0 lie in the solar term that began on
// 0000-12-21's year before: ISO 8601 writes that year -0001.
TEST_F(HoursCli, TheYearBeforeYearZeroIsWrittenAsIso8601) {
    const ProcessResult r =
        Run({"--date", "0000-01-01", "--days", "5", "--steps", "sekki", "--format", "csv"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> lines = Split(r.out, '\n');
    ASSERT_EQ(lines.size(), 6u);
    const std::vector<std::string> head = Split(lines[0], ',');
    const auto column = [&](const std::string& name) {
        return static_cast<std::size_t>(std::find(head.begin(), head.end(), name) - head.begin());
    };
    const std::size_t start = column("sekki_start"), set = column("clock_set");
    ASSERT_LT(start, head.size());
    ASSERT_LT(set, head.size());
    for (std::size_t i = 1; i < lines.size(); ++i) {
        SCOPED_TRACE(lines[i]);
        const std::vector<std::string> cells = Split(lines[i], ',');
        ASSERT_GT(cells.size(), std::max(start, set));
        // 冬至 of year -1 until 小寒 on 0000-01-05; the clocks set at each.
        // "-0001-12-21" is a text cell, which a spreadsheet would compute
        // as -34 without its leading '.
        EXPECT_EQ(cells[start], i < 5 ? "'-0001-12-21" : "0000-01-05");
        EXPECT_EQ(cells[set], cells[start]);
    }
}

// With clocks set at the terms, the table's 時計 column stands apart from
// the column before it, in the heading and in every row.
TEST_F(HoursCli, TheTablesClockColumnStandsApart) {
    const ProcessResult r = Run({"--date", "2026-06-21", "--days", "3", "--steps", "sekki"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> lines = Split(r.out, '\n');
    std::size_t heading = 0;
    while (heading < lines.size() && !lines[heading].starts_with("日付"))
        ++heading;
    ASSERT_LT(heading + 3, lines.size()) << r.out;
    EXPECT_NE(lines[heading].find(" 時計"), std::string::npos) << lines[heading];
    for (std::size_t i = heading + 1; i <= heading + 3; ++i) {
        // The date, then the day the clocks were set (夏至, 2026-06-21) as a
        // word of its own.
        std::istringstream words(lines[i]);
        std::vector<std::string> tokens{std::istream_iterator<std::string>(words), {}};
        EXPECT_EQ(std::count(tokens.begin() + 1, tokens.end(), "2026-06-21"), 1) << lines[i];
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
    EXPECT_EQ(viaCsv->out, "2 80 " + name + "\n") << viaCsv->err;
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
        {"2026-12-07T03:15:00Z", "東京", "2026-12-07T12:15:00+09:00", "昼九つ (午)", "昼九つ半",
         minute(tokyo, 13) - 735},
        // 00:10 in Nagasaki, before the date's own midnight mark: still the
        // last half-hour of the day before.
        {"2026-02-09T15:10:00Z", "長崎", "2026-02-10T00:10:00+09:00", "夜四つ半", "暁九つ (子)",
         minute(nagasakiDay, 0) - 10},
        // 23:30 in Nemuro, after the date's last mark: the next day's
        // midnight hour has begun.
        {"2026-11-03T14:30:00Z", "根室", "2026-11-03T23:30:00+09:00", "暁九つ (子)", "暁九つ半",
         minute(nemuroNext, 1) + 1440 - (23 * 60 + 30)},
        // Universal and local dates differ.
        {"2026-06-20T20:00:59Z", "東京", "2026-06-21T05:00:00+09:00", "明六つ (卯)", "明六つ半",
         minute(day("東京", "2026-06-21"), 7) - 300},
    };
    for (const auto& c : cases) {
        const ProcessResult r = Run({"--place", c.place, "--now", "--format", "csv"},
                                    {std::string("TOLMERI_NOW=") + c.now});
        ASSERT_EQ(r.status, 0) << r.err;
        const std::vector<std::string> lines = Split(r.out, '\n');
        ASSERT_EQ(lines.size(), 2u) << r.out;
        const std::vector<std::string> f = Split(lines[1], ',');
        ASSERT_EQ(f.size(), 22u) << lines[1];
        EXPECT_EQ(f[0], c.localNow) << c.now;
        EXPECT_EQ(f[3], c.label) << c.now;
        EXPECT_EQ(f[6], c.next) << c.now;
        EXPECT_EQ(std::stoi(f[8]), c.minutesToNext) << c.now;
    }
    const ProcessResult text =
        Run({"--place", "東京", "--now"}, {"TOLMERI_NOW=2026-12-07T03:15:00Z"});
    EXPECT_NE(text.out.find("刻        昼九つ (午)"), std::string::npos) << text.out;
}

// The historical places, by every key, with Japan's time difference; a
// preset's name stays the preset's.
TEST_F(HoursCli, HistoricalPlacesAreFoundByNameReadingRomajiAndStation) {
    const struct {
        const char* place;
        const char* heading;
    } cases[] = {
        {"品川宿", "品川宿  緯度 +35:37  経度 +139:44  時差 +9"},
        {"品川", "品川宿  緯度 +35:37  経度 +139:44  時差 +9"},
        {"しながわしゅく", "品川宿  緯度 +35:37  経度 +139:44  時差 +9"},
        {"shinagawa-juku", "品川宿  緯度 +35:37  経度 +139:44  時差 +9"},
        {"Shinagawa Shuku", "品川宿  緯度 +35:37  経度 +139:44  時差 +9"},
        {"東海道1", "品川宿  緯度 +35:37  経度 +139:44  時差 +9"},
        {"中山道28", "和田宿  緯度 +36:09  経度 +138:10  時差 +9"},
        {"江戸", "江戸  緯度 +35:41  経度 +139:45  時差 +9"},
        {"えど", "江戸  緯度 +35:41  経度 +139:45  時差 +9"},
        {"エド", "江戸  緯度 +35:41  経度 +139:45  時差 +9"},
        {"edo", "江戸  緯度 +35:41  経度 +139:45  時差 +9"},
        {"大坂", "大坂  緯度 +34:41  経度 +135:32  時差 +9"},
        {"osaka", "大阪  緯度 +34:41  経度 +135:29  時差 +9"}, // the preset's Latin name
        {"Ōsaka", "大坂  緯度 +34:41  経度 +135:32  時差 +9"}, // not a preset's
        {"京", "京  緯度 +35:01  経度 +135:46  時差 +9"},
        {"京都", "京都  緯度 +35:01  経度 +135:45  時差 +9"}, // the preset
        {"彦根城下", "彦根  緯度 +35:17  経度 +136:15  時差 +9"},
    };
    for (const auto& c : cases) {
        const ProcessResult r = Run({"--place", c.place, "--date", "2026-01-01", "--days", "1"});
        EXPECT_EQ(r.status, 0) << c.place << r.err;
        EXPECT_EQ(r.out.substr(0, r.out.find('\n')), c.heading) << c.place;
        EXPECT_EQ(r.err, "") << c.place;
    }
    // The place's source is said under its line, and in JSON.
    const ProcessResult itabashi =
        Run({"--place", "板橋宿", "--date", "2026-01-01", "--days", "1"});
    EXPECT_NE(itabashi.out.find("\n出典      『日本歴史地名大系』地名項目データセット(CODH作成)"
                                "「下板橋村」 35.753480, 139.706497\n地点      宿場の位置は村の"
                                "代表点（下板橋村）\n"),
              std::string::npos)
        << itabashi.out;
    const ProcessResult json =
        Run({"--place", "板橋宿", "--date", "2026-01-01", "--days", "1", "--format", "json"});
    EXPECT_NE(json.out.find("\"tz\": 9, \"lat\": 35.75, \"lon\": 139.7, \"source\": "
                            "\"『日本歴史地名大系』地名項目データセット(CODH作成)「下板橋村」 "
                            "35.753480, 139.706497\", \"source_note\": \"宿場の位置は村の代表点"
                            "（下板橋村）\"}"),
              std::string::npos)
        << json.out;
    const ProcessResult tokyo = Run({"--place", "東京", "--date", "2026-01-01"});
    EXPECT_EQ(tokyo.out.find("出典"), std::string::npos);
}

TEST_F(HoursCli, AStationAtAnEdoDateByItsHourName) {
    const ProcessResult r =
        Run({"--place", "品川宿", "--date", "安政7年3月3日", "--time", "朝五つ半"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "品川宿  緯度 +35:37  経度 +139:44  時差 +9  1860-03-24\n"
                     "出典      『日本歴史地名大系』地名項目データセット(CODH作成)「北品川宿」 "
                     "35.618639, 139.733970\n"
                     "和暦 安政7年3月3日  旧暦 1860年3月3日  節気 春分（1860-03-20 から）  "
                     "干支 丁卯（庚申年）  六曜 大安\n"
                     "数え方    明六つから翌日の明六つまで（明治6年より前の和暦・旧暦の日付）\n"
                     "\n"
                     "刻の名    朝五つ半\n"
                     "朝五つ半                1860-03-24 08:27–09:34\n");
}

TEST_F(HoursCli, AnAmbiguousPlaceListsItsCandidatesAndAnUnknownOneTheNearestNames) {
    const struct {
        const char* place;
        const char* message;
    } cases[] = {
        {"赤坂宿",
         "場所 \"赤坂宿\" は 2 か所あります: 赤坂宿（東海道36、愛知県豊川市）、赤坂宿"
         "（中山道56、岐阜県大垣市）。名前か、宿場は道と番号で指定してください（例 東海道36）"},
        {"箱根",
         "場所 \"箱根\" は 2 か所あります: 箱根宿（東海道10、神奈川県足柄下郡箱根町）、"
         "箱根関所（関所、神奈川県足柄下郡箱根町）。名前か、宿場は道と番号で指定してください"
         "（例 東海道10）"},
        {"shinagawa-jku", "場所 \"shinagawa-jku\" は一覧にありません（近い名前: 品川宿。"
                          "--list-places で一覧を表示）"},
        {"中山道32", "場所 \"中山道32\" は一覧にありません（近い名前: 中山道31 洗馬宿、"
                     "中山道33 贄川宿。--list-places で一覧を表示）"},
        {"Atlantis", "場所 \"Atlantis\" は一覧にありません（--list-places で一覧を表示）"},
    };
    for (const auto& c : cases) {
        const ProcessResult r = Run({"--place", c.place, "--date", "2026-01-01"});
        EXPECT_EQ(r.status, 2) << c.place;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "tolmeri-hours: " + std::string(c.message) + "\n");
    }
    // Either of 赤坂宿 by its station.
    for (const char* station : {"東海道36", "中山道56"}) {
        const ProcessResult r = Run({"--place", station, "--date", "2026-01-01", "--days", "1"});
        EXPECT_EQ(r.out.rfind("赤坂宿  緯度 +3", 0), 0u) << station << r.err;
    }
}

TEST_F(HoursCli, TheUsersPlacesAreReadAndEachBadRowIsSaidWithItsLine) {
    const fs::path folder = root.Path() / "config" / "tolmeri";
    fs::create_directories(folder);
    std::ofstream(folder / "places.tsv", std::ios::binary)
        << "# 自分の場所\n"
           "name\treading\tlatitude\tlongitude\tnote\n"
           "茶屋\tちゃや\t35.5\t139.5\tmine\n"
           "悪い\tわるい\tabc\t139.5\n"
           "外国\t\t48.2\t16.37\n";
    const std::string file = (folder / "places.tsv").string();
    const std::string warnings =
        "tolmeri-hours: " + file +
        " 4 行目: 緯度 \"abc\" は読めません（小数の度、例 35.688371）（この行は使いません）\n"
        "tolmeri-hours: " +
        file +
        " 5 行目: 経度 \"16.37\" は時差 9 に合いません（日本の時刻の場所だけを書けます）"
        "（この行は使いません）\n";
    const ProcessResult mine = Run({"--place", "chaya", "--date", "2026-01-01", "--days", "1"});
    EXPECT_EQ(mine.status, 0);
    EXPECT_EQ(mine.err, warnings);
    EXPECT_EQ(mine.out.substr(0, mine.out.find("\n\n")),
              "茶屋  緯度 +35:30  経度 +139:30  時差 +9\n"
              "出典      自分の場所（places.tsv 3 行目） 35.5, 139.5\n"
              "地点      mine");
    // A preset never reads the file.
    const ProcessResult preset = Run({"--place", "東京", "--date", "2026-01-01"});
    EXPECT_EQ(preset.status, 0);
    EXPECT_EQ(preset.err, "");
    // The list marks them as the user's, with their line.
    const ProcessResult list = Run({"--list-places", "--format", "csv"});
    EXPECT_EQ(list.err, warnings);
    EXPECT_NE(
        list.out.find("\n茶屋,'+35:30,'+139:30,9,chaya,35.5,139.5,user,,ちゃや,chaya,,,,,,35.5,"
                      "139.5,,mine,3\n"),
        std::string::npos);

    // A folder others may write into is not read from, and says so.
    fs::permissions(folder, fs::perms::all);
    const ProcessResult open = Run({"--place", "茶屋", "--date", "2026-01-01"});
    EXPECT_EQ(open.status, 2);
    EXPECT_NE(open.err.find("フォルダー " + folder.string() +
                            " は自分のものでないか、ほかの人も書き込めるので、その places.tsv は"
                            "読みません"),
              std::string::npos)
        << open.err;
    fs::permissions(folder, fs::perms::owner_all);
}

TEST_F(HoursCli, ThePlaceListNarrowsByKindAndRouteAndItsCsvCarriesTheSource) {
    const auto nakasendo = Csv({"--list-places", "--route", "中山道", "--format", "csv"});
    ASSERT_EQ(nakasendo.size(), 66u);
    EXPECT_EQ(nakasendo.front().at("name"), "日本橋");
    EXPECT_EQ(nakasendo.back().at("name"), "大津宿");
    EXPECT_EQ(nakasendo.back().at("route"), "東海道|中山道");
    EXPECT_EQ(nakasendo.back().at("station_no"), "53|69");
    const auto& itabashi = nakasendo[1];
    const std::map<std::string, std::string> expected = {
        {"name", "板橋宿"},
        {"latitude", "'+35:45"}, // a spreadsheet's formula kept as text
        {"longitude", "'+139:42"},
        {"tz", "9"},
        {"latin_name", "itabashi-shuku"},
        {"origin", "historical"},
        {"kind", "宿場"},
        {"reading", "いたばししゅく"},
        {"romaji", "itabashi-shuku"},
        {"route", "中山道"},
        {"station_no", "1"},
        {"source_dataset", "nrct"},
        {"source_id", "NRCT.tsv:22124"},
        {"source_name", "下板橋村"},
        {"source_latitude", "35.753480"},
        {"source_longitude", "139.706497"},
        {"modern_municipality", "東京都板橋区"},
        {"note", "proxy: 下板橋村"},
        {"line", ""},
    };
    for (const auto& [column, value] : expected)
        EXPECT_EQ(itabashi.at(column), value) << column;

    const auto barriers = Csv({"--list-places", "--kind", "関所", "--format", "csv"});
    ASSERT_EQ(barriers.size(), 17u);
    for (const auto& row : barriers)
        EXPECT_EQ(row.at("kind"), "関所");
    const ProcessResult table = Run({"--list-places", "--route", "tokaido"});
    EXPECT_EQ(
        table.out.substr(0, table.out.find('\n')),
        "日本橋          nihonbashi                +35:41  +139:47    9  宿場    東海道0 中山道0");

    const struct {
        std::vector<std::string> args;
        const char* message;
    } refused[] = {
        {{"--list-places", "--kind", "村"},
         "--kind の値 \"村\" は使えません（都市, 宿場, 城下, 国府, 関所, 奉行所, 港）"},
        {{"--list-places", "--route", "東山道"},
         "--route の値 \"東山道\" は使えません（東海道, 中山道）"},
        {{"--place", "東京", "--kind", "宿場"},
         "--kind と --route は --list-places の一覧を絞ります（--list-places と一緒に指定します）"},
    };
    for (const auto& r : refused) {
        const ProcessResult result = Run(r.args);
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.err, "tolmeri-hours: " + std::string(r.message) + "\n");
    }
}

std::string AsciiCase(std::string text, bool upper) {
    for (char& c : text)
        c = static_cast<char>(upper ? std::toupper(static_cast<unsigned char>(c))
                                    : std::tolower(static_cast<unsigned char>(c)));
    return text;
}

TEST_F(HoursCli, EveryPresetIsFoundByItsNameAndByItsLatinNameInAnyCase) {
    auto list = Csv({"--list-places", "--format", "csv"});
    // The presets first, then the historical places.
    ASSERT_GT(list.size(), 53u);
    EXPECT_EQ(list[53].at("origin"), "historical");
    list.resize(53);
    for (const auto& place : list)
        EXPECT_EQ(place.at("origin"), "preset");
    const ProcessResult table = Run({"--list-places"});
    std::set<std::string> latinNames;
    for (const auto& place : list) {
        const std::string& latin = place.at("latin_name");
        EXPECT_TRUE(latinNames.insert(AsciiCase(latin, false)).second) << latin;
        // The signed angle is a text cell, with its leading '.
        const std::string& latitude = place.at("latitude");
        ASSERT_TRUE(latitude.starts_with("'+") || latitude.starts_with("'-")) << latitude;
        EXPECT_TRUE(place.at("longitude").starts_with("'")) << place.at("longitude");
        EXPECT_FALSE(place.at("lat").starts_with("'")) << "a number stays a number";
        const std::string heading = place.at("name") + "  緯度 " + latitude.substr(1);
        for (const std::string& name :
             {place.at("name"), latin, AsciiCase(latin, true), AsciiCase(latin, false)}) {
            const ProcessResult r = Run({"--place", name, "--date", "2026-01-01"});
            EXPECT_EQ(r.status, 0) << name << r.err;
            EXPECT_EQ(r.out.rfind(heading, 0), 0u) << name << "\n" << r.out;
        }
        // The table lists it beside the name.
        EXPECT_NE(table.out.find(place.at("name")), std::string::npos);
        EXPECT_NE(table.out.find(latin), std::string::npos) << latin;
    }
    EXPECT_EQ(latinNames.size(), 53u);
    EXPECT_EQ(list[13].at("latin_name"), "tokyo");
    EXPECT_EQ(list[47].at("latin_name"), "naha");
    EXPECT_EQ(list[51].at("latin_name"), "New York");
}

TEST_F(HoursCli, EveryFormOfACoordinateComputesWithItsNearestWholeMinute) {
    // Each form against the window's degrees and minutes: the same output,
    // names and all, so the same place went into the computation.
    const struct {
        const char *lat, *lon, *tz;
        const char *window_lat, *window_lon;
    } cases[] = {
        {"35.6812", "139.7671", "9", "35:41", "139:46"},
        {"+35.6812", "+139.7671", "9", "35:41", "139:46"},
        {"35:41N", "139:46E", "9", "35:41", "139:46"},
        {"35.6812n", "139.7671e", "9", "35:41", "139:46"},
        {"35N", "139E", "9", "35", "139"},
        {"-33.8688", "151.2093", "10", "-33:52", "151:13"},
        {"33:52S", "151:12E", "10", "-33:52", "151:12"},
        {"33.8688s", "73.8667W", "-5", "-33:52", "-73:52"},
        {"35.675", "-35.675", "-2", "35:41", "-35:41"}, // 40.5′ rounds away from zero
        {"35.674999", "139.00833", "9", "35:40", "139:00"},
        {"54.99", "-180", "-12", "54:59", "-180:00"}, // the last minutes the window takes
        {"54:59S", "179.99", "12", "-54:59", "179:59"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.lat) + " " + c.lon);
        const std::vector<std::string> common = {"--tz",     c.tz,         "--name", "地点",
                                                 "--date",   "2026-06-21", "--days", "2",
                                                 "--format", "json"};
        std::vector<std::string> typed = {"--lat", c.lat, "--lon", c.lon};
        std::vector<std::string> window = {"--lat", c.window_lat, "--lon", c.window_lon};
        typed.insert(typed.end(), common.begin(), common.end());
        window.insert(window.end(), common.begin(), common.end());
        const ProcessResult a = Run(typed), b = Run(window);
        EXPECT_EQ(a.status, 0) << a.err;
        EXPECT_EQ(b.status, 0) << b.err;
        EXPECT_EQ(a.out, b.out);
    }
}

TEST_F(HoursCli, APlaceWithinADegreeSouthOrWestOfZeroIsSouthOrWest) {
    // 0°30′ W and E, universal time: the transit 4 minutes apart, west
    // later; every way of writing the west gives the same day.
    auto transit = [&](const std::string& lat, const std::string& lon) {
        const auto rows = Csv({"--lat", lat, "--lon", lon, "--tz", "0", "--name", "x", "--date",
                               "2026-03-20", "--format", "csv"});
        return rows.empty() ? -1 : std::stoi(rows[0].at("b12_min"));
    };
    const int east = transit("0:30", "0:30");
    for (const auto& [lat, lon] : std::vector<std::pair<std::string, std::string>>{
             {"-0:30", "-0:30"}, {"0:30S", "0:30W"}, {"-0.5", "-0.5"}, {"0.5S", "0.5w"}}) {
        EXPECT_EQ(transit(lat, lon) - east, 4) << lat << " " << lon;
    }
    const ProcessResult named = Run({"--lat", "-0.5", "--lon", "-0:01", "--tz", "0", "--date",
                                     "2026-03-20", "--format", "json"});
    EXPECT_EQ(named.out.rfind("{\"place\": {\"name\": \"-0:30 -0:01\", \"latitude\": \"-0:30\", "
                              "\"longitude\": \"-0:01\", \"tz\": 0, \"lat\": -0.5, \"lon\": "
                              "-0.016667}",
                              0),
              0u)
        << named.out;
}

TEST_F(HoursCli, JsonCoordinatesAreNumbersBesideTheirDegreeAndMinuteText) {
    const ProcessResult day =
        Run({"--place", "sydney", "--date", "2026-06-21", "--format", "json"});
    const ProcessResult now = Run({"--place", "new york", "--now", "--format", "json"},
                                  {"TOLMERI_NOW=2026-06-21T03:00:00Z"});
    const ProcessResult list = Run({"--list-places", "--format", "json"});
    const std::string script = "import json,sys\n"
                               "d=json.load(open(sys.argv[1],encoding='utf-8'))\n"
                               "for p in (d if isinstance(d,list) else [d['place']]):\n"
                               "  print(p['name'], p.get('latin_name'), p['latitude'], "
                               "p['longitude'], type(p['tz']).__name__, "
                               "type(p['lat']).__name__, p['lat'], p['lon'])\n";
    const auto parsedDay = Python(script, day.out);
    if (!parsedDay)
        GTEST_SKIP() << "no python3 to parse the JSON";
    EXPECT_EQ(parsedDay->out, "Sydney None -33:52 +151:12 int float -33.866667 151.2\n")
        << parsedDay->err;
    EXPECT_EQ(Python(script, now.out)->out,
              "New York None +40:46 -73:52 int float 40.766667 -73.866667\n");
    const std::vector<std::string> lines = Split(Python(script, list.out)->out, '\n');
    ASSERT_EQ(lines.size(), 53u + 370u);
    EXPECT_EQ(lines[14], "横浜 yokohama +35:27 +139:39 int float 35.45 139.65");
    EXPECT_EQ(lines[48], "Hamburg Hamburg +53:38 +10:00 int float 53.633333 10.0");
}

TEST_F(HoursCli, NowIsIso8601WithTheOffsetOfThePlace) {
    const struct {
        std::vector<std::string> place;
        const char* now;
        const char* expected;
    } cases[] = {
        {{"--place", "tokyo"}, "2026-06-21T06:00:00Z", "2026-06-21T15:00:00+09:00"},
        {{"--lat", "51:29N", "--lon", "0:00", "--tz", "0"},
         "2026-06-21T06:00:30Z",
         "2026-06-21T06:00:00+00:00"},
        {{"--place", "New York"}, "2026-01-01T03:05:00Z", "2025-12-31T22:05:00-05:00"},
        {{"--place", "lima"}, "2026-06-21T23:59:00Z", "2026-06-21T18:59:00-05:00"},
        {{"--place", "Sydney"}, "2026-06-21T14:00:00Z", "2026-06-22T00:00:00+10:00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        auto args = c.place;
        args.insert(args.end(), {"--now", "--format", "json"});
        const std::vector<std::string> env = {std::string("TOLMERI_NOW=") + c.now};
        const ProcessResult json = Run(args, env);
        ASSERT_EQ(json.status, 0) << json.err;
        args.back() = "csv";
        const ProcessResult csv = Run(args, env);
        EXPECT_EQ(Split(Split(csv.out, '\n').at(1), ',').at(0), c.expected);
        // A standard parser reads it back as the universal minute it was.
        const auto parsed = Python(
            "import json,sys,datetime\n"
            "d=json.load(open(sys.argv[1],encoding='utf-8'))\n"
            "t=datetime.datetime.fromisoformat(d['now'])\n"
            "print(d['now'], t.astimezone(datetime.timezone.utc).strftime('%Y-%m-%dT%H:%M'))\n",
            json.out);
        if (!parsed)
            GTEST_SKIP() << "no python3 to parse the JSON";
        EXPECT_EQ(parsed->out,
                  std::string(c.expected) + " " + std::string(c.now).substr(0, 16) + "\n")
            << parsed->err;
    }
}

TEST_F(HoursCli, ByteOrderMarkComesOnlyBeforeCsv) {
    const std::string bom = "\xEF\xBB\xBF";
    const std::vector<std::vector<std::string>> runs = {
        {"--place", "tokyo", "--date", "2026-06-21", "--days", "3", "--format", "csv"},
        {"--place", "tokyo", "--date", "2026-06-21", "--format", "csv"},
        {"--place", "tokyo", "--now", "--format", "csv"},
        {"--list-places", "--format", "csv"},
    };
    for (const auto& args : runs) {
        SCOPED_TRACE(::testing::PrintToString(args));
        auto marked = args;
        marked.push_back("--bom");
        const ProcessResult plain = Run(args, {"TOLMERI_NOW=2026-06-21T06:00:00Z"});
        const ProcessResult withMark = Run(marked, {"TOLMERI_NOW=2026-06-21T06:00:00Z"});
        EXPECT_EQ(withMark.status, 0) << withMark.err;
        EXPECT_EQ(withMark.out, bom + plain.out);
        EXPECT_EQ(plain.out.find(bom), std::string::npos);
    }
}

TEST_F(HoursCli, APictureGoesToStandardOutputThroughAPipeButNeverOntoATerminal) {
    const std::vector<std::string> day = {"--place", "yokohama", "--date", "2026-06-21"};
    auto with = [&](const std::string& target) {
        std::vector<std::string> a = day;
        a.insert(a.end(), {"--png", target});
        return a;
    };
    ASSERT_EQ(Run(with("chart.png")).status, 0);
    const std::string file = Slurp(work / "chart.png");
    fs::remove(work / "chart.png");

    // A pipe: the reader gets the very bytes the file gets.
    const fs::path fifo = root.Path() / "pipe";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    CChildProcess child(TOLMERI_HOURS_EXE, with("-"),
                        {.folder = work.string(), .env = {"TZ=UTC"}, .stdoutPath = fifo.string()});
    std::string piped;
    {
        std::ifstream in(fifo, std::ios::binary);
        std::ostringstream all;
        all << in.rdbuf();
        piped = all.str();
    }
    EXPECT_EQ(child.Wait(), 0) << child.Err();
    EXPECT_EQ(child.Err(), "");
    EXPECT_EQ(piped.substr(0, 8), "\x89PNG\r\n\x1a\n");
    EXPECT_TRUE(piped == file) << piped.size() << " bytes against " << file.size();
    EXPECT_TRUE(WorkFiles().empty()) << "no file named -";

    // A terminal: refused before anything is drawn, nothing on the screen.
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    const ProcessResult onTerminal = Run(with("-"), {}, {.stdoutPath = ptsname(master)});
    char shown[64];
    const ssize_t n = read(master, shown, sizeof shown);
    close(master);
    EXPECT_EQ(onTerminal.status, 2);
    EXPECT_LE(n, 0) << "wrote to the terminal";
    EXPECT_EQ(std::count(onTerminal.err.begin(), onTerminal.err.end(), '\n'), 1) << onTerminal.err;
    EXPECT_NE(onTerminal.err.find("図を端末には出しません"), std::string::npos) << onTerminal.err;

    // A full output: one line, status 1.
    const ProcessResult full = Run(with("-"), {}, {.stdoutPath = "/dev/full"});
    EXPECT_EQ(full.status, 1);
    EXPECT_EQ(full.err, "tolmeri-hours: 図を標準出力に書けません（ディスクに空きがありません）\n");
}

// The names of the standard streams are written as "-" is: through a pipe,
// appended where the shell appends, refused onto a terminal. Standard error
// and input and other descriptors are refused, their files left alone.
TEST_F(HoursCli, TheStandardStreamsNamesAreWrittenAsTheDashIs) {
    ASSERT_EQ(Run({"--date", "2026-06-21", "--png", "chart.png"}).status, 0);
    const std::string png = Slurp(work / "chart.png");
    fs::remove(work / "chart.png");
    // Each run by a shell, which opens its redirections as a user's would.
    const auto shell = [this](const std::string& command) {
        return RunProcess(
            "bash",
            {"-c", "printf kept >log.bin; printf other >other.bin; " + command, TOLMERI_HOURS_EXE},
            {.folder = work.string(), .env = {"TZ=UTC"}});
    };
    for (const char* name : {"/dev/stdout", "/dev/fd/1", "/proc/self/fd/1"}) {
        SCOPED_TRACE(name);
        const std::string args = " --date 2026-06-21 --png " + std::string(name);
        const ProcessResult piped = shell("\"$0\"" + args + " | cat >piped.bin");
        EXPECT_EQ(piped.status, 0) << piped.err;
        EXPECT_EQ(piped.err, "");
        EXPECT_TRUE(Slurp(work / "piped.bin") == png);
        const ProcessResult appended = shell("\"$0\"" + args + " >>log.bin");
        EXPECT_EQ(appended.status, 0) << appended.err;
        EXPECT_TRUE(Slurp(work / "log.bin") == "kept" + png) << "what the file held is kept";
    }
    const struct {
        const char* command;
        const char* says;
    } refused[] = {
        // Its message goes to the file, after what the file held.
        {"\"$0\" --date 2026-06-21 --png /dev/stderr 2>>log.bin >/dev/null; s=$?; "
         "cat log.bin >&2; exit $s",
         "kepttolmeri-hours: 図 \"/dev/stderr\" は標準エラー出力なので書きません（図を標準出力に"
         "出すには - を指定"},
        {"\"$0\" --date 2026-06-21 --png /dev/stdin <other.bin >/dev/null",
         "図 \"/dev/stdin\" は標準入力なので書きません"},
        {"\"$0\" --date 2026-06-21 --png /dev/fd/3 3>>other.bin >/dev/null",
         "図 \"/dev/fd/3\" は開いたファイル記述子の名前なので書きません"},
        {"\"$0\" --date 2026-06-21 --png /proc/self/fd/3 3>>other.bin >/dev/null",
         "は開いたファイル記述子の名前なので書きません"},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.command);
        const ProcessResult r = shell(c.command);
        EXPECT_EQ(r.status, 2) << r.err;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_EQ(Slurp(work / "other.bin"), "other");
    }
    // On a terminal, /dev/stdout is refused as "-" is.
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    const ProcessResult onTerminal =
        Run({"--date", "2026-06-21", "--png", "/dev/stdout"}, {}, {.stdoutPath = ptsname(master)});
    close(master);
    EXPECT_EQ(onTerminal.status, 2);
    EXPECT_NE(onTerminal.err.find("図を端末には出しません"), std::string::npos) << onTerminal.err;
}

TEST_F(HoursCli, AFailedWriteIsReported) {
    const ProcessResult r = Run({"--date", "2026-01-01", "--days", "366", "--format", "csv"}, {},
                                {.stdoutPath = "/dev/full"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "tolmeri-hours: 出力を書けませんでした: ディスクに空きがありません\n");
}

TEST_F(HoursCli, APictureThatCannotBeWrittenIsReportedAndLeavesNothing) {
    const ProcessResult r = Run({"--png", "missing/chart.png", "--date", "2026-01-01"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("missing/chart.png"), std::string::npos) << r.err;
    EXPECT_TRUE(WorkFiles().empty());
}

// A link another user planted in /tmp (a sticky folder everyone may write)
// is not followed, even by root and whatever fs.protected_symlinks says; a
// link to nothing makes nothing. The file a refused link names is untouched.
// Whatever the name, the year chart's SVG is well-formed XML whose title is
// the name as text (less the characters XML forbids), with no element the
// name made.
TEST_F(HoursCli, EveryNameMakesAWellFormedSvgWithTheNameAsText) {
    const std::vector<std::string>& names = HostileNames();
    std::string list;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string file = (work / std::to_string(i).append(".svg")).string();
        const ProcessResult r =
            Run({"--date", "2026-01-01", "--name", names[i], "--year-chart", file});
        ASSERT_EQ(r.status, 0) << names[i] << ": " << r.err;
        list += file + "\n";
    }
    const auto parsed = Python("import sys, xml.etree.ElementTree as ET\n"
                               "ns = '{http://www.w3.org/2000/svg}'\n"
                               "for name in open(sys.argv[1]).read().split():\n"
                               "    try:\n"
                               "        root = ET.parse(name).getroot()\n"
                               "    except ET.ParseError as e:\n"
                               "        print('bad', e); continue\n"
                               "    tags = {el.tag.replace(ns, '') for el in root.iter()}\n"
                               "    title = root.find(ns + 'title').text or ''\n"
                               "    print(title.encode().hex(), ' '.join(sorted(tags)))\n",
                               list);
    if (!parsed)
        GTEST_SKIP() << "no python3";
    const std::vector<std::string> lines = Split(parsed->out, '\n');
    ASSERT_EQ(lines.size(), names.size()) << parsed->err;
    std::string tags;
    for (std::size_t i = 0; i < names.size(); ++i) {
        SCOPED_TRACE(names[i]);
        // The name as a hex string of its UTF-8, U+FFFE and U+FFFF left out.
        std::string hex;
        const std::string text = names[i] + "　2026年（令和8年）";
        for (std::size_t k = 0; k < text.size(); ++k) {
            if (text.compare(k, 2, "\xEF\xBF") == 0 && k + 2 < text.size() &&
                (text[k + 2] == '\xBE' || text[k + 2] == '\xBF')) {
                k += 2;
                continue;
            }
            static constexpr char kHex[] = "0123456789abcdef";
            const auto c = static_cast<unsigned char>(text[k]);
            hex += kHex[c >> 4];
            hex += kHex[c & 15];
        }
        const std::size_t space = lines[i].find(' ');
        EXPECT_EQ(lines[i].substr(0, space), hex) << lines[i];
        if (i == 0)
            tags = lines[i].substr(space + 1);
        EXPECT_EQ(lines[i].substr(space + 1), tags) << "the same elements for every name";
    }
    EXPECT_EQ(tags.find("script"), std::string::npos) << tags;
}

TEST_F(HoursCli, APictureIsNotWrittenThroughAnotherUsersLinkOrALinkToNothing) {
    if (geteuid() != 0)
        GTEST_SKIP() << "giving a link to another user takes root";
    const std::string shared = (root.Path() / "tmp").string();
    ASSERT_TRUE(MakeSharedFolder(shared));
    const std::string guarded = (root.Path() / "guarded").string();
    const struct {
        const char* why;
        bool targetExists;
        uid_t linkOwner;
        const char* message;
        int status;
    } cases[] = {
        {"another's link", true, kOtherUser, "他のユーザーのリンク", 2},
        {"another's link to nothing", false, kOtherUser, "他のユーザーのリンク", 2},
        {"own link to nothing", false, geteuid(), "行き先のないリンク", 2},
        {"own link", true, geteuid(), nullptr, 0},
    };
    for (const auto& c : cases) {
        for (const char* option : {"--png", "--year-chart"}) {
            SCOPED_TRACE(std::string(c.why) + " " + option);
            fs::remove(guarded);
            if (c.targetExists)
                std::ofstream(guarded, std::ios::binary) << "root:x:0:0";
            const std::string link = shared + "/chart.png";
            fs::remove(link);
            ASSERT_TRUE(PlantLink(guarded, link, c.linkOwner));
            const ProcessResult r = Run({"--date", "2026-06-21", option, link});
            EXPECT_EQ(r.status, c.status) << r.err;
            EXPECT_TRUE(fs::is_symlink(link));
            if (c.status == 0) {
                EXPECT_TRUE(IsPng(guarded));
                continue;
            }
            EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
            EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
            EXPECT_EQ(fs::exists(guarded), c.targetExists);
            EXPECT_TRUE(!c.targetExists || Slurp(guarded) == "root:x:0:0");
        }
    }
}

// Started with standard descriptors closed (<&- >&- 2>&-), the tool does
// not write its picture or its messages into whatever file it opens next.
// Output for a closed standard output is an error, never a silent success.
TEST_F(HoursCli, ClosedStandardDescriptorsAreNotReusedForFiles) {
    const std::string closedOutput = "標準出力が閉じています";
    const struct {
        std::vector<int> closed;
        std::vector<std::string> args;
        int status;
        std::string err;
    } cases[] = {
        {{1},
         {"--date", "2026-06-21", "--png", "-"},
         1,
         "tolmeri-hours: 図を標準出力に書けません（" + closedOutput + "）\n"},
        {{1},
         {"--date", "2026-06-21", "--year-chart", "-"},
         1,
         "tolmeri-hours: 図を標準出力に書けません（" + closedOutput + "）\n"},
        {{1},
         {"--place", "東京"},
         1,
         "tolmeri-hours: 出力を書けませんでした: " + closedOutput + "\n"},
        {{1},
         {"--list-places", "--format", "csv"},
         1,
         "tolmeri-hours: 出力を書けませんでした: " + closedOutput + "\n"},
        {{1}, {"--date", "2026-06-21", "--png", "chart.png"}, 0, ""}, // nothing for the output
        {{0, 1, 2}, {"--date", "2026-06-21", "--png", "chart.png"}, 0, ""},
        {{2}, {"--date", "2026-06-21", "--png", "chart.png"}, 0, ""},
        {{2}, {"--date", "2026-13-01", "--png", "chart.png"}, 2, ""}, // its message lost
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.back() + " closed " + std::to_string(c.closed.size()));
        fs::remove(work / "chart.png");
        ProcessOptions options;
        options.closed = c.closed;
        const ProcessResult r = Run(c.args, {}, options);
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_EQ(r.err, c.err);
        const bool file = c.args.back() == "chart.png";
        EXPECT_EQ(IsPng(work / "chart.png"), file && c.status == 0);
        if (file && c.status == 0) {
            EXPECT_EQ(WorkFiles(), std::vector<std::string>{"chart.png"});
        }
    }
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

// A picture module cut short (an interrupted copy) or no library at all is
// refused with a message before it is mapped: no SIGBUS, nothing written.
TEST_F(HoursCli, ADamagedPictureModuleIsRefusedBeforeItIsLoaded) {
    const fs::path built = fs::path(TOLMERI_HOURS_EXE).parent_path();
    const auto whole = static_cast<std::uintmax_t>(fs::file_size(built / "tolmeri-png.so"));
    const struct {
        const char* why;
        std::uintmax_t size; // of the copy; 0 for a text file instead
    } cases[] = {
        {"cut in its last bytes", whole - 16},
        {"cut in half", whole / 2},
        {"only its ELF header", 64},
        {"cut in its ELF header", 20},
        {"a text file", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        CTempFolder folder;
        fs::copy_file(TOLMERI_HOURS_EXE, folder.Path() / "tolmeri-hours");
        const fs::path module = folder.Path() / "tolmeri-png.so";
        if (c.size == 0) {
            std::ofstream(module) << "not a library\n";
        } else {
            fs::copy_file(built / "tolmeri-png.so", module);
            fs::resize_file(module, c.size);
        }
        const ProcessResult r = RunProcess((folder.Path() / "tolmeri-hours").string(),
                                           {"--date", "2026-06-21", "--png", "chart.png"},
                                           {.folder = work.string(), .env = {"TZ=UTC"}});
        EXPECT_EQ(r.status, 1) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_NE(r.err.find("tolmeri-png.so"), std::string::npos) << r.err;
        EXPECT_TRUE(WorkFiles().empty());
    }
}

// A number too large for any reading is out of range like a smaller one,
// and a message quotes at most 64 characters of a bad argument, whatever its
// length, once per argument.
TEST_F(HoursCli, HugeNumbersAreOutOfRangeAndLongArgumentsAreQuotedShort) {
    const std::string longEra = "大和" + std::string(120 * 1024, 'x') + "5年1月1日";
    const struct {
        std::vector<std::string> args;
        const char* says;
    } cases[] = {
        {{"--date", "2026-01-01", "--days", "99999999"}, "を越えます"},
        {{"--date", "2026-01-01", "--days", "99999999999999999999999"}, "を越えます"},
        {{"--png", "a.png", "--size", "100000x100000"}, "範囲外"},
        {{"--png", "a.png", "--size", "800x99999999999999999999"}, "範囲外"},
        {{"--date", longEra}, "という元号はありません"},
        {{"--place", std::string(100000, 'q')}, ""},
        {{"--lon", "139:00", "--tz", "9", "--lat", std::string(5000, '9')}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.back().substr(0, 40));
        const ProcessResult r = Run(c.args);
        EXPECT_EQ(r.status, 2) << r.err.substr(0, 400);
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err.substr(0, 400);
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1);
        EXPECT_LT(r.err.size(), 600u) << r.err.substr(0, 400);
        if (c.args.back().size() > 64) {
            EXPECT_NE(r.err.find(c.args.back().substr(0, 60)), std::string::npos);
            EXPECT_NE(r.err.find("…"), std::string::npos) << r.err;
        }
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
        {{"--date", "大" + esc + "和3年1月1日"}, {}}, // the era's name in the calendar's message
        {{"--at", esc}, {}},
        {{"--dawn", esc}, {}},
        {{"--year-chart", esc + ".pdf"}, {}},
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

// ---------------------------------------------------------------------------
// Era dates, the old calendars' names of a day, the periods' definitions,
// the clocks set at the terms, the hour of any moment and the year chart.

using Row = std::map<std::string, std::string>;

// The day minute of boundary i in a CSV row.
int BoundaryMinute(const Row& row, int i) {
    return std::stoi(row.at((i < 10 ? "b0" : "b") + std::to_string(i) + "_min"));
}

// The first number after "key": in a JSON text.
std::optional<int> JsonNumber(const std::string& json, const std::string& key) {
    const std::size_t at = json.find("\"" + key + "\": ");
    if (at == std::string::npos)
        return std::nullopt;
    return std::stoi(json.substr(at + key.size() + 4));
}

// Published dates (tests/data/historical_dates.csv, each row with its
// source) given to --date as the sources write them: the day, its lunisolar
// date and, before 1582-10-15, its Julian date.
TEST_F(HoursCli, HistoricalEraDatesNameTheirDays) {
    int checked = 0;
    for (const CsvRow& row : ReadCsvRows(TestDataPath("historical_dates.csv"))) {
        const std::string &era = row[1], &lunisolar = row[2], &gregorian = row[3];
        if (era.empty())
            continue;
        SCOPED_TRACE(row[0] + " " + era);
        const auto rows = Csv({"--place", "京都", "--date", era, "--format", "csv"});
        ASSERT_EQ(rows.size(), 1u);
        const Row& r = rows[0];
        EXPECT_EQ(r.at("date"), std::string(10 - gregorian.size(), '0') + gregorian);
        // 明治 counts from 慶応4年1月1日, to which it was made retroactive.
        const std::string keio4 = "慶応4年";
        EXPECT_EQ(r.at("wareki"),
                  era.starts_with(keio4) ? "明治元年" + era.substr(keio4.size()) : era);
        const std::string kyureki =
            lunisolar.empty()
                ? ""
                : r.at("kyureki_year") + "/" + r.at("kyureki_month") + "/" + r.at("kyureki_day");
        EXPECT_EQ(kyureki, lunisolar);
        const bool julian = r.at("date") < "1582-10-15";
        EXPECT_EQ(r.at("julian_date"), julian ? std::string(10 - row[4].size(), '0') + row[4] : "");
        ++checked;
    }
    EXPECT_GE(checked, 15);
}

TEST_F(HoursCli, EraDatesAreReadInEveryWrittenForm) {
    const struct {
        const char* written;
        const char* date;
    } cases[] = {
        {"慶長五年九月十五日", "1600-10-21"},
        {"慶長５年９月１５日", "1600-10-21"},
        {" 慶長5年9月15日 ", "1600-10-21"},
        {"元禄十五年十二月十四日", "1703-01-30"},
        {"安政七年三月三日", "1860-03-24"},
        // 慶長 was proclaimed on 文禄5年10月27日.
        {"慶長元年10月27日", "1596-12-16"},
        {"文禄5年10月26日", "1596-12-15"},
        {"令和元年5月1日", "2019-05-01"},
        {"令和八年六月二十一日", "2026-06-21"},
        // Months and days are Gregorian from 明治6年 on.
        {"明治6年3月1日", "1873-03-01"},
    };
    for (const auto& c : cases) {
        const auto rows = Csv({"--date", c.written, "--format", "csv"});
        ASSERT_EQ(rows.size(), 1u) << c.written;
        EXPECT_EQ(rows[0].at("date"), c.date) << c.written;
    }
    // A leap month follows the ordinary month of its number, 文政13年閏3月1日
    // the last day of 3月; --to takes era dates too.
    const auto spring =
        Csv({"--date", "文政13年3月29日", "--to", "文政十三年閏三月二日", "--format", "csv"});
    std::vector<std::string> days;
    for (const Row& r : spring)
        days.push_back(r.at("kyureki_leap") + ":" + r.at("kyureki_month") + "/" +
                       r.at("kyureki_day") + " " + r.at("wareki"));
    EXPECT_EQ(days, (std::vector<std::string>{"0:3/29 文政13年3月29日", "0:3/30 文政13年3月30日",
                                              "1:3/1 文政13年閏3月1日", "1:3/2 文政13年閏3月2日"}));
}

// An era date outside its era's days, as sources write it: the day it names
// carries the note in every format, the other days none.
TEST_F(HoursCli, EraDatesAsSourcesWriteThemCarryTheirNote) {
    const std::string kept = "安政7年3月20日 は 万延元年3月20日（3月18日に改元）";
    const std::string early = "慶長元年閏7月13日 は 文禄5年閏7月13日（慶長への改元は10月27日）";

    const ProcessResult day = Run({"--place", "京都", "--date", "安政7年3月20日"});
    ASSERT_EQ(day.status, 0) << day.err;
    EXPECT_NE(day.out.find("\n注  " + kept + "\n"), std::string::npos) << day.out;

    // CSV: its column, on the noted days only (--date and --to).
    const ProcessResult csv = Run({"--place", "京都", "--date", "安政7年3月20日", "--to",
                                   "慶長元年閏7月13日", "--format", "csv"});
    ASSERT_NE(csv.status, 0) << "the end lies before the start";
    const ProcessResult range = Run({"--place", "京都", "--date", "慶長元年閏7月13日", "--to",
                                     "文禄5年閏7月15日", "--format", "csv"});
    ASSERT_EQ(range.status, 0) << range.err;
    const std::vector<std::string> lines = Split(range.out, '\n');
    ASSERT_EQ(lines.size(), 4u);
    const std::vector<std::string> head = Fields(lines[0]);
    const auto note = std::find(head.begin(), head.end(), "note");
    ASSERT_NE(note, head.end()) << lines[0];
    const std::size_t noteAt = static_cast<std::size_t>(note - head.begin());
    ASSERT_EQ(Fields(lines[1]).size(), head.size());
    EXPECT_EQ(Fields(lines[1])[noteAt], early) << lines[1];
    EXPECT_EQ(Fields(lines[2])[noteAt], "") << lines[2];

    const ProcessResult table =
        Run({"--place", "京都", "--date", "慶長元年閏7月13日", "--days", "2"});
    EXPECT_NE(table.out.find("\n注  " + early + "\n"), std::string::npos) << table.out;

    // JSON: a string on the noted day, null on the others; --at as well.
    const ProcessResult json =
        Run({"--place", "京都", "--date", "安政7年3月20日", "--days", "2", "--format", "json"});
    EXPECT_NE(json.out.find("\"note\": \"" + kept + "\", "), std::string::npos) << json.out;
    EXPECT_NE(json.out.find("\"note\": null, "), std::string::npos) << json.out;
    const ProcessResult at =
        Run({"--place", "京都", "--at", "慶応4年9月8日T10:00", "--format", "json"});
    EXPECT_NE(at.out.find("\"note\": \"慶応4年9月8日 は 明治元年9月8日（9月8日に改元）\","),
              std::string::npos)
        << at.out << at.err;
    const ProcessResult plain =
        Run({"--place", "京都", "--at", "2026-06-21T10:00", "--format", "json"});
    EXPECT_NE(plain.out.find("\"note\": null,"), std::string::npos) << plain.out;
}

// The day's and the year's 干支 and the 六曜 across the seam of the
// lunisolar calendar: 明治5年12月2日 from the table, 明治6年1月1日 its 12月3日
// computed (友引).
TEST_F(HoursCli, KanshiAndRokuyoGoOnAcrossTheSeam) {
    const auto rows = Csv({"--date", "1872-12-31", "--days", "2", "--format", "csv"});
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].at("day_kanshi") + rows[0].at("year_kanshi") + rows[0].at("rokuyo"),
              "壬子壬申先勝");
    EXPECT_EQ(rows[1].at("day_kanshi") + rows[1].at("year_kanshi") + rows[1].at("rokuyo"),
              "癸丑癸酉友引");
    EXPECT_EQ(rows[1].at("kyureki_year") + "/" + rows[1].at("kyureki_month") + "/" +
                  rows[1].at("kyureki_day"),
              "1872/12/3");
    const ProcessResult json = Run({"--date", "1873-01-01", "--days", "1", "--format", "json"});
    EXPECT_NE(
        json.out.find("\"day_kanshi\": \"癸丑\", \"year_kanshi\": \"癸酉\", \"rokuyo\": \"友引\""),
        std::string::npos)
        << json.out;

    // An era date with its day's 干支, and one with another day's.
    const ProcessResult right = Run({"--place", "東京", "--date", "安政七年三月三日丁卯"});
    EXPECT_EQ(right.status, 0) << right.err;
    EXPECT_NE(right.out.find("干支 丁卯（庚申年）  六曜 大安\n"), std::string::npos) << right.out;
    const ProcessResult wrong = Run({"--place", "東京", "--date", "安政7年3月3日戊辰"});
    EXPECT_EQ(wrong.status, 2);
    EXPECT_EQ(wrong.out, "");
    EXPECT_NE(wrong.err.find("安政7年3月3日は戊辰の日ではありません（この日は丁卯）"),
              std::string::npos)
        << wrong.err;
    EXPECT_EQ(std::count(wrong.err.begin(), wrong.err.end(), '\n'), 1);
}

// --time on 東京's 安政7年3月3日 (1860-03-24): each reading's span on its
// civil date in every format, in time order, the day reckoned as the date
// was written (from 明六つ for an era date, so its 丑 is the one after its
// night) or as chosen, and one line with status 2 for a name no convention
// reads.
TEST_F(HoursCli, TimeGivesEachReadingOfAnHourName) {
    const std::vector<std::string> day = {"--place", "東京", "--date", "安政7年3月3日"};
    auto with = [&](std::vector<std::string> more) {
        std::vector<std::string> a = day;
        a.insert(a.end(), more.begin(), more.end());
        return a;
    };
    const ProcessResult table = Run(with({"--time", "辰の上刻"}));
    ASSERT_EQ(table.status, 0) << table.err;
    EXPECT_NE(
        table.out.find("数え方    明六つから翌日の明六つまで（明治6年より前の和暦・旧暦の日付）\n"
                       "\n刻の名    辰の上刻\n"
                       "寛政6年 大目付の読み    1860-03-24 06:14–06:58\n"
                       "寛政12年の定め          1860-03-24 07:20–08:05\n"),
        std::string::npos)
        << table.out;

    const auto rows = Csv(with({"--time", "五つ半", "--format", "csv"}));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].at("convention") + " " + rows[0].at("start") + " " + rows[0].at("end"),
              "朝五つ半 1860-03-24T08:27:00+09:00 1860-03-24T09:34:00+09:00");
    EXPECT_EQ(rows[1].at("convention"), "夜五つ半");
    EXPECT_EQ(rows[1].at("day_start"), "dawn");

    // The civil date's own 丑, chosen; then as the era date means it.
    const ProcessResult civil =
        Run(with({"--time", "丑三つ", "--format", "json", "--day-start", "midnight"}));
    EXPECT_NE(
        civil.out.find("\"time\": {\"expression\": \"丑三つ\", \"readings\": [\n"
                       "   {\"convention\": \"丑三つ\", \"start\": \"1860-03-24T02:27:00+09:00\", "
                       "\"end\": \"1860-03-24T02:54:00+09:00\""),
        std::string::npos)
        << civil.out;
    const ProcessResult dawn = Run(with({"--time", "丑三つ", "--format", "json"}));
    EXPECT_NE(dawn.out.find("\"start\": \"1860-03-25T02:2"), std::string::npos) << dawn.out;
    EXPECT_NE(dawn.out.find("\"day_start\": \"dawn\""), std::string::npos) << dawn.out;
    // A Western date is the civil day.
    const ProcessResult western =
        Run({"--place", "東京", "--date", "1860-03-24", "--time", "丑三つ"});
    EXPECT_NE(western.out.find("数え方    0時から24時まで（西暦、明治6年からの日付）\n"),
              std::string::npos)
        << western.out;
    EXPECT_NE(western.out.find("丑三つ                  1860-03-24 02:27–02:54\n"),
              std::string::npos)
        << western.out;
    // In time order: under dawn the night's 暁九つ after the day's 昼九つ.
    const ProcessResult nine = Run(with({"--time", "九つ"}));
    EXPECT_LT(nine.out.find("昼九つ  "), nine.out.find("暁九つ  ")) << nine.out;
    const ProcessResult nineCivil = Run(with({"--time", "九つ", "--day-start", "midnight"}));
    EXPECT_GT(nineCivil.out.find("昼九つ  "), nineCivil.out.find("暁九つ  ")) << nineCivil.out;
    // A clock time is a moment: 正午 at noon, 真夜中 after the night.
    EXPECT_NE(Run(with({"--time", "正午"})).out.find("正午（12:00）           1860-03-24 12:00\n"),
              std::string::npos);
    EXPECT_NE(
        Run(with({"--time", "真夜中"})).out.find("真夜中（0:00）          1860-03-25 00:00\n"),
        std::string::npos);

    const struct {
        std::vector<std::string> args;
        const char* message;
    } refused[] = {
        {with({"--time", "暮六時六分"}), "「六分」 が読めません"},
        {with({"--time", "昼五つ"}), "「昼五つ」 という刻はありません"},
        {with({"--time", "午", "--days", "2"}), "--days、--to とは一緒に使えません"},
        {with({"--time", "午", "--at", "12:00"}), "--now、--at とは一緒に使えません"},
        {with({"--time", "午", "--png", "x.png"}), "--png、--year-chart とは一緒に使えません"},
    };
    for (const auto& c : refused) {
        const ProcessResult r = Run(c.args);
        EXPECT_EQ(r.status, 2) << c.message;
        EXPECT_EQ(r.out, "") << c.message;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
}

// --at also names the moment by its branch, quarter and both readings of
// 上・中・下刻.
TEST_F(HoursCli, AtNamesTheBranchItsQuarterAndBothThirds) {
    const ProcessResult table = Run({"--place", "東京", "--at", "2026-06-21T02:30"});
    EXPECT_NE(
        table.out.find("十二支    寅の刻（寅一つ）\n"
                       "上中下刻  寅の上刻（寛政12年の定め）、寅の中刻（寛政6年 大目付の読み）\n"),
        std::string::npos)
        << table.out;
    const ProcessResult json =
        Run({"--place", "東京", "--at", "2026-06-21T02:30", "--format", "json"});
    EXPECT_NE(json.out.find("\"branch\": \"寅の刻\", \"quarter\": \"寅一つ\", "
                            "\"third_ruling\": \"寅の上刻\", \"third_centred\": \"寅の中刻\""),
              std::string::npos)
        << json.out;
}

// --at takes the time as people write it: 午前・午後, hours with their units,
// and an hour name, whose moment is where its one reading begins (a name
// read two ways is refused, naming the ways).
TEST_F(HoursCli, AtTakesTheClockAndTheHourNamesAsWritten) {
    const auto at = [this](const std::vector<std::string>& args) {
        std::vector<std::string> a = {"--place", "東京", "--format", "json"};
        a.insert(a.end(), args.begin(), args.end());
        const ProcessResult r = Run(a);
        EXPECT_EQ(r.status, 0) << r.err;
        const std::size_t key = r.out.find("\"at\": \"");
        return key == std::string::npos ? r.err : r.out.substr(key + 7, 25);
    };
    const struct {
        std::vector<std::string> args;
        const char* moment;
    } cases[] = {
        {{"--date", "2026-06-21", "--at", "午前9時"}, "2026-06-21T09:00:00+09:00"},
        {{"--date", "2026-06-21", "--at", "午後3時半"}, "2026-06-21T15:30:00+09:00"},
        {{"--date", "2026-06-21", "--at", "午後0時5分"}, "2026-06-21T12:05:00+09:00"},
        {{"--date", "2026-06-21", "--at", "午前0:30"}, "2026-06-21T00:30:00+09:00"},
        {{"--date", "2026-06-21", "--at", "15時"}, "2026-06-21T15:00:00+09:00"},
        {{"--at", "2026-06-21 午後3時"}, "2026-06-21T15:00:00+09:00"},
        {{"--date", "2026-06-21", "--at", "正午"}, "2026-06-21T12:00:00+09:00"},
        {{"--date", "2026-06-21", "--at", "朝五つ"}, "2026-06-21T06:26:00+09:00"},
        // An era date's day is from 明六つ: its 丑三つ and 真夜中 are after its night.
        {{"--at", "元禄15年12月14日 丑三つ"}, "1703-01-31T03:04:00+09:00"},
        {{"--date", "元禄15年12月14日", "--at", "真夜中"}, "1703-01-31T00:00:00+09:00"},
        {{"--date", "1703-01-30", "--at", "真夜中"}, "1703-01-30T00:00:00+09:00"},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(at(c.args).starts_with(c.moment)) << c.args.back() << " " << at(c.args);
    const struct {
        std::vector<std::string> args;
        const char* message;
    } refused[] = {
        {{"--at", "午前12時"}, "は範囲外です（午前12時・午後12時はどちらの意味にもとれます"},
        {{"--at", "午後13時"}, "は範囲外です（午前・午後の時は 0～11、分は 0～59）"},
        {{"--at", "25時"}, "は範囲外です（時は 0～23、分は 0～59）"},
        {{"--at", "九つ"}, "の刻の名には読みが 2 つあります（暁九つ、昼九つ）"},
        {{"--at", "辰の上刻"}, "--time で全部の読みを示します"},
        {{"--at", "9"}, "は読めません（HH:MM、午前9時"},
        {{"--at", "午前"}, "は読めません"},
    };
    for (const auto& c : refused) {
        std::vector<std::string> a = {"--place", "東京"};
        a.insert(a.end(), c.args.begin(), c.args.end());
        const ProcessResult r = Run(a);
        EXPECT_EQ(r.status, 2) << c.message;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
}

// A place of its own may leave out --tz: the whole hour nearest its
// longitude, said on standard error; its minutes may have decimals.
TEST_F(HoursCli, APlaceWithoutItsZoneTakesTheNearestHour) {
    const struct {
        const char* lat;
        const char* lon;
        const char* place; // the place line
        const char* note;
    } cases[] = {
        {"35:41", "139:46", "緯度 +35:41  経度 +139:46  時差 +9",
         "経度 +139:46 に最も近い +9 時間"},
        {"40:43", "-73:59", "緯度 +40:43  経度 -73:59  時差 -5", "経度 -73:59 に最も近い -5 時間"},
        {"32:44.6", "129:52.4", "緯度 +32:45  経度 +129:52  時差 +9", "に最も近い +9 時間"},
        {"0", "7:30", "経度 +7:30  時差 +1", "に最も近い +1 時間"},
    };
    for (const auto& c : cases) {
        const ProcessResult r =
            Run({"--lat", c.lat, "--lon", c.lon, "--date", "2026-06-21", "--days", "1"});
        ASSERT_EQ(r.status, 0) << c.lon << r.err;
        EXPECT_NE(r.out.find(c.place), std::string::npos) << r.out;
        EXPECT_NE(r.err.find(c.note), std::string::npos) << r.err;
        EXPECT_TRUE(r.err.starts_with("tolmeri-hours: 注: 時差は経度 ")) << r.err;
    }
    // With --tz, nothing is said; without --lon, the pair is asked for.
    const ProcessResult given = Run({"--lat", "35:41", "--lon", "139:46", "--tz", "9"});
    EXPECT_EQ(given.status, 0);
    EXPECT_EQ(given.err, "");
    const ProcessResult half = Run({"--lat", "35:41", "--tz", "9"});
    EXPECT_EQ(half.status, 2);
    EXPECT_NE(half.err.find("--lat と --lon はそろえて指定してください"), std::string::npos);
    const ProcessResult bad = Run({"--lat", "35:41.x", "--lon", "139:46"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("緯度 \"35:41.x\" は読めません"), std::string::npos) << bad.err;
}

// A date the sources count from 明六つ keeps its table the civil day's but
// gives the Moon of its night, each event on its civil date: 元禄15年12月14日
// at 江戸, the Moon set at 05:18 of the 31st. A Julian date in the heading
// is written so, never as a Gregorian one.
TEST_F(HoursCli, TheOneDayTableOfAnEraDate) {
    const ProcessResult raid = Run({"--lat", "35:41", "--lon", "139:46", "--tz", "9", "--name",
                                    "江戸", "--date", "元禄15年12月14日"});
    ASSERT_EQ(raid.status, 0) << raid.err;
    EXPECT_NE(
        raid.out.find("数え方    明六つから翌日の明六つまで（明治6年より前の和暦・旧暦の日付）\n"),
        std::string::npos);
    EXPECT_NE(raid.out.find("   0  暁九つ (子)"), std::string::npos) << "the civil day's table";
    EXPECT_NE(raid.out.find("月の出 1703-01-30 14:32  月の入 1703-01-31 05:18"), std::string::npos)
        << raid.out;
    const ProcessResult civil = Run({"--lat", "35:41", "--lon", "139:46", "--tz", "9", "--name",
                                     "江戸", "--date", "1703-01-30"});
    EXPECT_NE(civil.out.find("月の出 14:32  月の入 04:26"), std::string::npos) << civil.out;
    EXPECT_EQ(civil.out.find("数え方"), std::string::npos);

    const ProcessResult julian = Run({"--place", "京都", "--date", "ユリウス暦1582年6月21日"});
    ASSERT_EQ(julian.status, 0) << julian.err;
    EXPECT_NE(julian.out.find("  1582-07-01\n"), std::string::npos) << julian.out;
    EXPECT_NE(julian.out.find("ユリウス暦1582年6月21日  "), std::string::npos) << julian.out;
    EXPECT_EQ(julian.out.find("ユリウス暦 1582-06-21"), std::string::npos) << julian.out;
    EXPECT_NE(julian.out.find("注  ユリウス暦1582年6月21日 は 1582-07-01"), std::string::npos);
}

// The first columns are those of the first CSV the tool wrote, in their
// order, so that a reader of that layout reads on; after them each column
// is named once, in lower case, and --help explains it; and JSON gives each
// day the very value of each column under the same name (b00 to b24 as
// "times", b00_min to b24_min as "minutes", the place's name in "place",
// null for an empty field, false and true for 0 and 1).
TEST_F(HoursCli, EveryColumnIsNamedOnceExplainedAndTheSameInJson) {
    std::vector<std::string> firstLayout = {"date",     "place",      "sunrise",     "sunset",
                                            "day_hour", "night_hour", "sunrise_min", "sunset_min"};
    for (const char* suffix : {"", "_min"})
        for (int i = 0; i < 25; ++i) {
            char name[8];
            std::snprintf(name, sizeof name, "b%02d%s", i, suffix);
            firstLayout.emplace_back(name);
        }
    const std::string help = Run({"--help"}).out;
    // Days with and without a lunisolar or a Julian date, a Moon's rise or set.
    const std::vector<std::string> runs[] = {
        {"--place", "京都", "--date", "1582-10-13", "--days", "4"},
        {"--place", "東京", "--date", "1872-12-30", "--days", "4"},
        {"--place", "Sydney", "--date", "2026-06-18", "--days", "3"},
    };
    for (const std::vector<std::string>& run : runs) {
        SCOPED_TRACE(run[1] + " " + run[3]);
        std::vector<std::string> csvArgs = run, jsonArgs = run;
        csvArgs.insert(csvArgs.end(), {"--format", "csv"});
        jsonArgs.insert(jsonArgs.end(), {"--format", "json"});
        const ProcessResult csv = Run(csvArgs), json = Run(jsonArgs);
        ASSERT_EQ(csv.status, 0) << csv.err;
        ASSERT_EQ(json.status, 0) << json.err;
        const std::vector<std::string> head = Fields(Split(csv.out, '\n').at(0));
        ASSERT_GE(head.size(), firstLayout.size());
        EXPECT_EQ(std::vector<std::string>(head.begin(), head.begin() + firstLayout.size()),
                  firstLayout);
        EXPECT_EQ(std::set<std::string>(head.begin(), head.end()).size(), head.size());
        for (const std::string& name : head) {
            EXPECT_EQ(name.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789_"),
                      std::string::npos)
                << name;
            const bool boundary = name.size() >= 3 && name[0] == 'b' && std::isdigit(name[1]);
            if (!boundary && name != "date" && name != "place") {
                EXPECT_NE(help.find(name), std::string::npos) << name << " is not in --help";
            }
        }
        const auto parsed = Python(
            "import csv,io,json,re,sys\n"
            "c,j=open(sys.argv[1],encoding='utf-8').read().split('\\x1e')\n"
            "rows=list(csv.DictReader(io.StringIO(c)))\n"
            "doc=json.loads(j)\n"
            "print(len(rows),len(doc['days']))\n"
            "for r,d in zip(rows,doc['days']):\n"
            "  for k,v in r.items():\n"
            "    m=re.fullmatch(r'b(\\d\\d)(_min)?',k)\n"
            "    if m: x=d['minutes' if m.group(2) else 'times'][int(m.group(1))]\n"
            "    elif k=='place': x=doc['place']['name']\n"
            "    else: x=d.get(k,'(no such key)')\n"
            "    t='' if x is None else ('1' if x else '0') if isinstance(x,bool) else str(x)\n"
            "    if t!=v: print(r['date'],k,repr(v),repr(x))\n",
            csv.out + '\x1e' + json.out);
        if (!parsed)
            GTEST_SKIP() << "no python3 to parse the JSON";
        const std::size_t days = Split(csv.out, '\n').size() - 1;
        EXPECT_EQ(parsed->out, std::to_string(days) + " " + std::to_string(days) + "\n")
            << parsed->err;
    }
}

TEST_F(HoursCli, CsvAndJsonNameEachDayAsTheOldTextsDo) {
    // wareki, kyureki y/m/leap/d, julian_date, sekki, sekki_start
    const std::vector<std::string> newColumns = {"wareki",       "kyureki_year", "kyureki_month",
                                                 "kyureki_leap", "kyureki_day",  "julian_date",
                                                 "sekki",        "sekki_start"};
    const struct {
        const char* date;
        const char* place;
        // wareki, kyureki y/m/leap/d, julian_date, sekki, sekki_start
        std::vector<std::string> csv;
        const char* northern; // the Northern court's era date in JSON
    } cases[] = {
        {"1600-10-21",
         "京都",
         {"慶長5年9月15日", "1600", "9", "0", "15", "", "寒露", "1600-10-08"},
         "慶長5年9月15日"},
        // Both courts: the Northern kept 正慶 until 元弘3年5月25日.
        {"1333-06-21",
         "京都",
         {"元弘3年5月1日", "1333", "5", "0", "1", "1333-06-13", "芒種", "1333-06-06"},
         "正慶2年5月1日"},
        {"1582-10-14",
         "京都",
         {"天正10年9月18日", "1582", "9", "0", "18", "1582-10-04", "寒露", "1582-10-09"},
         "天正10年9月18日"},
        {"1582-10-15",
         "京都",
         {"天正10年9月19日", "1582", "9", "0", "19", "", "寒露", "1582-10-09"},
         "天正10年9月19日"},
        // The first day of the solar calendar: the lunisolar month of
        // 1872-12-30 runs on, computed.
        {"1873-01-01",
         "東京",
         {"明治6年1月1日", "1872", "12", "0", "3", "", "冬至", "1872-12-21"},
         "明治6年1月1日"},
        // Before 大化: no era; before 445: no lunisolar date either.
        {"0600-01-01",
         "京都",
         {"", "599", "12", "0", "8", "0599-12-30", "冬至", "0599-12-21"},
         nullptr},
        {"0100-03-21", "京都", {"", "", "", "", "", "0100-03-22", "春分", "0100-03-21"}, nullptr},
    };
    std::string documents, expected;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.date);
        const auto rows = Csv({"--place", c.place, "--date", c.date, "--format", "csv"});
        ASSERT_EQ(rows.size(), 1u);
        std::vector<std::string> got;
        for (const std::string& name : newColumns)
            got.push_back(rows[0].at(name));
        EXPECT_EQ(got, c.csv);
        EXPECT_EQ(rows[0].at("dawn_definition"), "depression");
        EXPECT_EQ(rows[0].at("clock_set"), c.date);
        // No calendar named before the 宣明暦 of 862.
        EXPECT_EQ(rows[0].at("calendar").empty(), std::string(c.date) < "0862");

        documents += Run({"--place", c.place, "--date", c.date, "--format", "json"}).out + '\x1e';
        auto orNone = [](const std::string& v) { return v.empty() ? std::string("None") : v; };
        expected += orNone(c.csv[0]) + " " + orNone(c.csv[1]) + " " + orNone(c.csv[3]) + " " +
                    orNone(c.csv[5]) + " " + c.csv[6] + " " + orNone(c.csv[0]) + " " +
                    (c.northern ? c.northern : "None") + "\n";
    }
    // The same in JSON, null where CSV is empty, with both courts' eras.
    const auto parsed =
        Python("import json,sys\n"
               "for text in open(sys.argv[1],encoding='utf-8').read().split('\\x1e')[:-1]:\n"
               "  d=json.load(__import__('io').StringIO(text))\n"
               "  assert d['options']=={'dawn':'depression','steps':'daily','sun':'window'}\n"
               "  day=d['days'][0]\n"
               "  print(day['wareki'], day['kyureki_year'], day['kyureki_leap'],\n"
               "        day['julian_date'], day['sekki'], day['wareki_southern'],\n"
               "        day['wareki_northern'])\n",
               documents);
    if (!parsed)
        GTEST_SKIP() << "no python3 to parse the JSON";
    EXPECT_EQ(parsed->out, expected) << parsed->err;
}

TEST_F(HoursCli, TablesNameTheDayInTheHeadingAndTheRangeInColumns) {
    const struct {
        std::vector<std::string> args;
        std::vector<std::string> shows;
        std::vector<std::string> lacks;
    } cases[] = {
        {{"--place", "京都", "--date", "慶長5年9月15日"},
         {"京都  緯度 +35:01  経度 +135:45  時差 +9  1600-10-21\n"
          "和暦 慶長5年9月15日  旧暦 1600年9月15日  節気 寒露（1600-10-08 から）"
          "  干支 乙卯（庚子年）  六曜 大安\n"
          "数え方    明六つから翌日の明六つまで（明治6年より前の和暦・旧暦の日付）\n\n"},
         {"ユリウス暦", "明六つ・暮六つ"}},
        {{"--place", "京都", "--date", "天正10年6月2日"},
         // Written as the Julian calendar writes it, never as ISO 8601's
         // Gregorian date.
         {"ユリウス暦1582年6月21日  節気 夏至（1582-06-22 から）"},
         {"ユリウス暦 1582-06-21"}},
        {{"--place", "京都", "--date", "1333-06-21"},
         {"和暦 元弘3年5月1日（南朝）・正慶2年5月1日（北朝）  旧暦 1333年5月1日"},
         {}},
        {{"--date", "2026-06-21", "--dawn", "36min", "--steps", "sekki"},
         {"\n明六つ・暮六つ 日出前・日入後2刻半＝36分（宝暦暦までの定め。太陽暦の定めは太陽俯角"
          "7度21分40秒）  時計 二十四節気ごと（2026-06-21 の表）\n"},
         {}},
        {{"--date", "2026-06-20", "--days", "2"},
         {"昼の一刻  夜の一刻  節気  干支  月齢  月相  月出   月没   月南中  旧暦              六曜"
          "  和暦\n",
          "    81.7  芒種  乙丑   5.0        09:53  22:58  16:31   2026年5月6日      仏滅  "
          "令和8年6月20日\n",
          "  夏至  丙寅   6.0        10:57  23:24  17:15   2026年5月7日      大安  "
          "令和8年6月21日\n"},
         {"ユリウス暦", "定義", "時計", " \n"}},
        {{"--place", "京都", "--date", "1582-06-30", "--days", "2", "--dawn", "auto"},
         {"節気  干支  月齢  月相  月出   月没   月南中  定義        暦      ユリウス暦  旧暦"
          "              六曜  和暦\n",
          "  夏至  戊子  ",
          "  36min       宣明暦  1582-06-21  1582年6月2日      先勝  天正10年6月2日\n"},
         {"時計"}},
    };
    for (const auto& c : cases) {
        const ProcessResult r = Run(c.args);
        const std::string shown = ::testing::PrintToString(c.args);
        ASSERT_EQ(r.status, 0) << shown << r.err;
        for (const std::string& text : c.shows)
            EXPECT_NE(r.out.find(text), std::string::npos) << shown << "\n"
                                                           << text << "\n"
                                                           << r.out;
        for (const std::string& text : c.lacks)
            EXPECT_EQ(r.out.find(text), std::string::npos) << shown << "\n"
                                                           << text << "\n"
                                                           << r.out;
    }
}

// Dawn and dusk by each definition against sunrises and sunsets computed
// apart from the program, within the minute the whole-minute rounding
// allows. 京都 (35°01′ N, 135°45′ E), 2026-03-20, by hand: the equinox is at
// 23:46 JST, so at noon the Sun's declination is −0.34°; the geometric
// horizon is reached at the hour angle H with cos H = −tan 35.02° ×
// tan(−0.34°) = 0.0042, H = 89.76° = 359.0 min. The transit is 12:00, less
// 3 minutes for the 0.75° east of 135°, plus 7.6 for the equation of time:
// 12:04.6. Sunrise 12:04.6 − 5:59.0 = 06:05.6, sunset 18:03.6; with 36
// minutes, dawn 05:29.6 and dusk 18:39.6. The other days come from
// tests/data/geometric_sunrise.py (Meeus' Sun at the moment itself).
TEST_F(HoursCli, EachDefinitionOfDawnAgainstIndependentSunrises) {
    const struct {
        const char* place;
        const char* date;
        double sunrise, sunset; // geometric, day minutes
    } cases[] = {
        {"京都", "2026-03-20", 365.6, 1083.6},
        {"京都", "1790-06-21", 287.35, 1149.12},
        {"東京", "2026-12-22", 411.75, 987.02},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.place) + " " + c.date);
        auto day = [&](const char* dawn) {
            const auto rows =
                Csv({"--place", c.place, "--date", c.date, "--dawn", dawn, "--format", "csv"});
            EXPECT_EQ(rows.size(), 1u);
            return rows.at(0);
        };
        const Row window = Csv({"--place", c.place, "--date", c.date, "--format", "csv"}).at(0);
        const Row depression = day("depression");
        const Row sunrise = day("sunrise");
        const Row m36 = day("36min");
        EXPECT_EQ(depression, window);
        EXPECT_NEAR(BoundaryMinute(sunrise, 6), c.sunrise, 1.0);
        EXPECT_NEAR(BoundaryMinute(sunrise, 18), c.sunset, 1.0);
        EXPECT_NEAR(BoundaryMinute(m36, 6), c.sunrise - 36, 1.0);
        EXPECT_NEAR(BoundaryMinute(m36, 18), c.sunset + 36, 1.0);
        EXPECT_EQ(BoundaryMinute(m36, 6), BoundaryMinute(sunrise, 6) - 36);
        EXPECT_EQ(m36.at("dawn_definition"), "36min");
        EXPECT_EQ(sunrise.at("dawn_definition"), "sunrise");
        // Only dawn and dusk move; sunrise and sunset stay the window's.
        for (int i : {0, 12, 24})
            EXPECT_EQ(BoundaryMinute(m36, i), BoundaryMinute(window, i)) << i;
        EXPECT_EQ(m36.at("sunrise"), window.at("sunrise"));
    }
}

namespace {

// "-0:13" from -13 minutes of arc, as --lat and --lon take it.
std::string ArcMinutesText(int arcMinutes) {
    const int a = arcMinutes < 0 ? -arcMinutes : arcMinutes;
    std::string text = arcMinutes < 0 ? "-" : "";
    text += std::to_string(a / 60);
    text += ':';
    text += std::to_string(a % 60);
    return text;
}

} // namespace

// --sun precise: the whole minutes of the columns against the ephemeris's
// unrounded moments (half a minute of rounding and a few seconds of
// difference), for every row of the table and two definitions of dawn.
TEST_F(HoursCli, PreciseSunAgainstEphemeris) {
    const auto table = ReadCsvRows(TestDataPath("sun_events_ephemeris.csv"));
    ASSERT_GE(table.size(), 40u);
    for (const CsvRow& t : table) {
        SCOPED_TRACE(t[0] + " " + t[4]);
        const std::vector<std::string> where = {"--lat",    ArcMinutesText(std::stoi(t[1])),
                                                "--lon",    ArcMinutesText(std::stoi(t[2])),
                                                "--tz",     t[3],
                                                "--date",   t[4],
                                                "--sun",    "precise",
                                                "--format", "csv"};
        auto with = [&](std::vector<std::string> more) {
            more.insert(more.begin(), where.begin(), where.end());
            const auto rows = Csv(more);
            EXPECT_EQ(rows.size(), 1u);
            return rows.empty() ? Row{} : rows[0];
        };
        const Row depression = with({});
        const Row geometric = with({"--dawn", "sunrise"});
        EXPECT_EQ(depression.at("sun"), "precise");
        const struct {
            int field;
            int minute;
        } events[] = {{5, BoundaryMinute(depression, 12)},
                      {6, BoundaryMinute(depression, 6)},
                      {7, BoundaryMinute(depression, 18)},
                      {8, BoundaryMinute(geometric, 6)},
                      {9, BoundaryMinute(geometric, 18)},
                      {10, std::stoi(depression.at("sunrise_min"))},
                      {11, std::stoi(depression.at("sunset_min"))}};
        for (const auto& e : events)
            EXPECT_NEAR(e.minute, std::stod(t[e.field]), 0.8) << "field " << e.field;
    }
}

// The Moon's columns of every day against the ephemeris: whole minutes of
// the rise, set and transit within a minute (half a minute of rounding and
// the two theories' difference, which grows before 1600), empty where the
// day has none; the age to the tenth; the quarter by name. --at gives the
// Moon's direction.
TEST_F(HoursCli, MoonColumnsAgainstEphemeris) {
    const auto table = ReadCsvRows(TestDataPath("moon_ephemeris.csv"));
    ASSERT_GE(table.size(), 30u);
    const char* phases[] = {"新月", "上弦", "満月", "下弦"};
    for (const CsvRow& t : table) {
        SCOPED_TRACE(t[0] + " " + t[4]);
        const std::vector<std::string> where = {"--lat", ArcMinutesText(std::stoi(t[1])),
                                                "--lon", ArcMinutesText(std::stoi(t[2])),
                                                "--tz",  t[3]};
        auto args = where;
        args.insert(args.end(), {"--date", t[4], "--format", "csv"});
        const auto rows = Csv(args);
        ASSERT_EQ(rows.size(), 1u);
        const Row& day = rows[0];
        const bool old = t[4] < "1600";
        const struct {
            const char* column;
            int field;
        } events[] = {{"moonrise", 5}, {"moonset", 6}, {"moon_transit", 7}};
        for (const auto& e : events) {
            const std::string clock = day.at(e.column);
            ASSERT_EQ(clock.empty(), t[e.field].empty()) << e.column;
            if (clock.empty())
                continue;
            const int minute = std::stoi(clock.substr(0, 2)) * 60 + std::stoi(clock.substr(3));
            // A moment in the day's last half minute shows as 23:59.
            EXPECT_NEAR(minute, std::min(std::stod(t[e.field]), 1439.0), old ? 2.5 : 0.8)
                << e.column;
        }
        EXPECT_NEAR(std::stod(day.at("moon_age")), std::stod(t[8]), old ? 0.1 : 0.06);
        EXPECT_EQ(day.at("moon_phase"), t[9].empty() ? "" : phases[std::stoi(t[9])]);

        args = where;
        args.insert(args.end(), {"--at", t[4] + "T21:00", "--format", "csv"});
        const ProcessResult at = Run(args);
        ASSERT_EQ(at.status, 0) << at.err;
        const std::vector<std::string> lines = Split(at.out, '\n');
        ASSERT_GE(lines.size(), 2u);
        const std::vector<std::string> head = Split(lines[0], ','), f = Split(lines[1], ',');
        ASSERT_EQ(head.size(), f.size());
        ASSERT_EQ(head[head.size() - 2], "moon_altitude");
        EXPECT_NEAR(std::stod(f[f.size() - 2]), std::stod(t[10]), old ? 0.35 : 0.06);
    }
}

// The window's Sun is the default and named in every row; the precise one
// moves the events of 1700 at 54° S by minutes.
TEST_F(HoursCli, SunColumnNamesTheSunOfTheDay) {
    const std::vector<std::string> south = {"--lat", "-54:00", "--lon",      "-68:00",   "--tz",
                                            "-5",    "--date", "1700-12-21", "--format", "csv"};
    auto with = [&](const char* sun) {
        std::vector<std::string> args = south;
        if (sun)
            args.insert(args.end(), {"--sun", sun});
        return Csv(args).at(0);
    };
    const Row plain = with(nullptr);
    EXPECT_EQ(plain, with("window"));
    EXPECT_EQ(plain.at("sun"), "window");
    const Row precise = with("precise");
    EXPECT_GE(BoundaryMinute(plain, 18) - BoundaryMinute(precise, 18), 4);
    EXPECT_GE(BoundaryMinute(precise, 6) - BoundaryMinute(plain, 6), 3);
}

// auto: 36 minutes up to 1798-02-15, the depression from 1798-02-16, the
// first day of the 寛政暦.
TEST_F(HoursCli, AutoChangesDefinitionOnTheFirstDayOfTheKanseiCalendar) {
    const auto rows = Csv({"--place", "東京", "--date", "1798-02-15", "--days", "2", "--dawn",
                           "auto", "--format", "csv"});
    ASSERT_EQ(rows.size(), 2u);
    const char* expected[] = {"36min", "depression"};
    const char* calendars[] = {"宝暦暦", "寛政暦"};
    for (int d = 0; d < 2; ++d) {
        SCOPED_TRACE(rows[d].at("date"));
        EXPECT_EQ(rows[d].at("dawn_definition"), expected[d]);
        EXPECT_EQ(rows[d].at("calendar"), calendars[d]);
        Row alone = Csv({"--place", "東京", "--date", rows[d].at("date"), "--dawn", expected[d],
                         "--format", "csv"})
                        .at(0);
        EXPECT_EQ(rows[d], alone);
    }
    EXPECT_EQ(rows[1].at("wareki"), "寛政10年1月1日");
}

// Clocks set at the terms: through 春分 every day shows the table of its
// first day, which is that day's own; the next term's first day changes it.
TEST_F(HoursCli, SekkiStepsHoldThroughATermAndChangeOnItsFirstDay) {
    const std::vector<std::string> range = {"--place", "東京",       "--date",   "2026-03-15",
                                            "--to",    "2026-04-08", "--format", "csv"};
    auto with = [&](std::vector<std::string> more) {
        std::vector<std::string> a = range;
        a.insert(a.end(), more.begin(), more.end());
        return Csv(a);
    };
    const auto daily = with({});
    const auto stepped = with({"--steps", "sekki"});
    ASSERT_EQ(stepped.size(), daily.size());
    std::set<std::string> starts;
    for (std::size_t d = 0; d < stepped.size(); ++d) {
        const Row& day = stepped[d];
        SCOPED_TRACE(day.at("date"));
        EXPECT_EQ(day.at("clock_set"), day.at("sekki_start"));
        EXPECT_EQ(daily[d].at("clock_set"), day.at("date"));
        starts.insert(day.at("sekki_start"));
        // The table of the term's first day, read from the daily run.
        const auto first = std::find_if(daily.begin(), daily.end(), [&](const Row& r) {
            return r.at("date") == day.at("sekki_start");
        });
        if (first == daily.end())
            continue; // 啓蟄 began before the range
        for (int i = 0; i < tolmeri::kBoundaryCount; ++i)
            EXPECT_EQ(BoundaryMinute(day, i), BoundaryMinute(*first, i)) << i;
        // Sunrise and sunset stay the day's own.
        EXPECT_EQ(day.at("sunrise"), daily[d].at("sunrise"));
    }
    // 啓蟄, 春分 (2026-03-20) and 清明 (2026-04-05).
    EXPECT_EQ(starts, (std::set<std::string>{"2026-03-05", "2026-03-20", "2026-04-05"}));
    // A step on each first day: the dawn moves by days' worth at once.
    for (std::size_t d = 1; d < stepped.size(); ++d) {
        const bool firstDay = stepped[d].at("date") == stepped[d].at("sekki_start");
        EXPECT_EQ(BoundaryMinute(stepped[d], 6) != BoundaryMinute(stepped[d - 1], 6) ||
                      BoundaryMinute(stepped[d], 18) != BoundaryMinute(stepped[d - 1], 18),
                  firstDay)
            << stepped[d].at("date");
    }
}

// --at: the half-hour of a moment, as --now gives it.
TEST_F(HoursCli, AtFindsTheHourOfAnyMoment) {
    const Row tokyo = Csv({"--place", "東京", "--date", "2026-06-21", "--format", "csv"}).at(0);
    const Row tokyoNext = Csv({"--place", "東京", "--date", "2026-06-22", "--format", "csv"}).at(0);
    const Row nagasaki = Csv({"--place", "長崎", "--date", "2026-02-10", "--format", "csv"}).at(0);
    const Row nagasakiBefore =
        Csv({"--place", "長崎", "--date", "2026-02-09", "--format", "csv"}).at(0);
    ASSERT_GT(BoundaryMinute(nagasaki, 0), 5) << "the night's midnight mark must fall after 00:05";
    const int boundary14 = BoundaryMinute(tokyo, 14);
    const int lastMark = BoundaryMinute(tokyo, 24);
    ASSERT_LT(lastMark, 1439);

    const struct {
        std::vector<std::string> args;
        int index;
        int since;  // since_min
        int next;   // time_min
        int minute; // of the moment's date
    } cases[] = {
        // On a boundary: its half-hour begins there.
        {{"--place", "東京", "--date", "2026-06-21", "--at", tolmeri::FormatClock(boundary14)},
         14,
         boundary14,
         BoundaryMinute(tokyo, 15),
         boundary14},
        // A minute before it: the half-hour before, one minute left.
        {{"--place", "東京", "--at", "2026-06-21T" + tolmeri::FormatClock(boundary14 - 1)},
         13,
         BoundaryMinute(tokyo, 13),
         boundary14,
         boundary14 - 1},
        // After the date's last mark: the next night's midnight hour, which
        // runs on across midnight into the next date.
        {{"--place", "東京", "--date", "2026-06-21", "--at", "23:59"},
         0,
         lastMark,
         BoundaryMinute(tokyoNext, 1) + 1440,
         1439},
        {{"--place", "東京", "--date", "2026-06-22", "--at", "00:00"},
         0,
         BoundaryMinute(tokyoNext, 0),
         BoundaryMinute(tokyoNext, 1),
         0},
        // Before the date's own midnight mark: the previous day's last
        // night half-hour.
        {{"--place", "長崎", "--date", "2026-02-10", "--at", "00:05"},
         23,
         BoundaryMinute(nagasakiBefore, 23) - 1440,
         BoundaryMinute(nagasaki, 0),
         5},
        // An era date with a clock time.
        {{"--place", "長崎", "--date", "令和8年2月10日", "--at", "0:05"},
         23,
         BoundaryMinute(nagasakiBefore, 23) - 1440,
         BoundaryMinute(nagasaki, 0),
         5},
    };
    for (const auto& c : cases) {
        const std::string shown = ::testing::PrintToString(c.args);
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"--format", "json"});
        const ProcessResult r = Run(args);
        ASSERT_EQ(r.status, 0) << shown << r.err;
        EXPECT_EQ(JsonNumber(r.out, "minute"), c.minute) << shown << r.out;
        EXPECT_EQ(JsonNumber(r.out, "index"), c.index) << shown << r.out;
        EXPECT_EQ(JsonNumber(r.out, "since_min"), c.since) << shown << r.out;
        EXPECT_EQ(JsonNumber(r.out, "time_min"), c.next) << shown << r.out;
        EXPECT_EQ(JsonNumber(r.out, "minutes_into"), c.minute - c.since) << shown << r.out;
        EXPECT_EQ(JsonNumber(r.out, "minutes_to_next"), c.next - c.minute) << shown << r.out;
    }
}

// Each typed form computes what its plain form does.
TEST_F(HoursCli, DatesClocksAnglesAndNamesAreReadAsTyped) {
    const std::vector<std::string> tokyo = {"--place", "東京"};
    const struct {
        std::vector<std::string> typed, plain;
    } cases[] = {
        {{"--date", "2026年6月21日"}, {"--date", "2026-06-21"}},
        {{"--date", "西暦2026年6月21日"}, {"--date", "2026-06-21"}},
        {{"--date", "1860/3/24"}, {"--date", "1860-03-24"}},
        {{"--date", "２０２６－０６－２１"}, {"--date", "2026-06-21"}},
        {{"--date", " 2026-06-21 "}, {"--date", "2026-06-21"}},
        {{"--date", "安政7年 3月3日"}, {"--date", "安政7年3月3日"}},
        {{"--date", "2026-06-21", "--to", "2026年6月23日"},
         {"--date", "2026-06-21", "--days", "3"}},
        {{"--date", "2026-06-21", "--at", "１５:００"}, {"--date", "2026-06-21", "--at", "15:00"}},
        {{"--date", "2026-06-21", "--at", "15：00"}, {"--date", "2026-06-21", "--at", "15:00"}},
        {{"--at", "2026年6月21日 15:00"}, {"--at", "2026-06-21T15:00"}},
        {{"--at", " 2026-06-21\u300015:00 "}, {"--at", "2026-06-21T15:00"}},
        {{"--at", "２０２６－０６－２１Ｔ１５：００"}, {"--at", "2026-06-21T15:00"}},
        {{"--place", " 東京 ", "--date", "2026-06-21"},
         {"--place", "東京", "--date", "2026-06-21"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> typed = tokyo, plain = tokyo;
        if (c.typed[0] == "--place")
            typed.clear(), plain.clear();
        typed.insert(typed.end(), c.typed.begin(), c.typed.end());
        plain.insert(plain.end(), c.plain.begin(), c.plain.end());
        const ProcessResult a = Run(typed), b = Run(plain);
        EXPECT_EQ(a.status, 0) << ::testing::PrintToString(c.typed) << a.err;
        EXPECT_EQ(a.out, b.out) << ::testing::PrintToString(c.typed);
    }
    const struct {
        std::string lat, lon, plainLat, plainLon;
    } angles[] = {
        {"35°22′", "136°28′", "35:22", "136:28"},
        {"35度22分", "東経136度28分", "35:22", "136:28"},
        {"北緯35度22分", "136.4667", "35:22", "136:28"},
        {"南緯３３度５２分", "西経73°52'", "-33:52", "-73:52"},
        {"35°22′30″", "136°27′29″", "35:23", "136:27"}, // seconds to the nearest minute
    };
    for (const auto& a : angles) {
        const std::vector<std::string> rest = {
            "--tz", a.plainLon[0] == '-' ? "-5" : "9", "--name", "x", "--date", "2026-06-21"};
        std::vector<std::string> typed = {"--lat", a.lat, "--lon", a.lon};
        std::vector<std::string> plain = {"--lat", a.plainLat, "--lon", a.plainLon};
        typed.insert(typed.end(), rest.begin(), rest.end());
        plain.insert(plain.end(), rest.begin(), rest.end());
        const ProcessResult t = Run(typed), p = Run(plain);
        EXPECT_EQ(t.status, 0) << a.lat << " " << a.lon << t.err;
        EXPECT_EQ(t.out, p.out) << a.lat << " " << a.lon;
    }
    // --name renames a preset, keeping its place.
    const ProcessResult edo = Run({"--place", "東京", "--name", " 江戸 ", "--date", "2026-06-21"});
    const ProcessResult tokyoDay = Run({"--place", "東京", "--date", "2026-06-21"});
    ASSERT_EQ(edo.status, 0) << edo.err;
    EXPECT_EQ(edo.out.rfind("江戸  緯度 +35:39  経度 +139:45  時差 +9  2026-06-21\n", 0), 0u)
        << edo.out;
    EXPECT_EQ(edo.out.substr(edo.out.find('\n')), tokyoDay.out.substr(tokyoDay.out.find('\n')));
}

// Without a date, today is the place's: at 23:23 UT it is already the next
// day in 東京 and still the same day in New York, whatever this computer's
// zone says (the runs have TZ=UTC).
TEST_F(HoursCli, TodayIsTheDateAtThePlace) {
    const struct {
        const char* place;
        const char* today;
    } cases[] = {
        {"tokyo", "2026-12-08"}, {"New York", "2026-12-07"}, {"Hamburg", "2026-12-08"}, // +1: 00:23
    };
    for (const auto& c : cases) {
        const ProcessResult r =
            Run({"--place", c.place, "--format", "csv"}, {"TOLMERI_NOW=2026-12-07T23:23:00Z"});
        ASSERT_EQ(r.status, 0) << c.place << r.err;
        EXPECT_EQ(r.out.substr(r.out.find('\n') + 1, 10), c.today) << c.place;
    }
    // Under --day-start dawn the small hours are still the day before's:
    // 03:00 in 東京 on the 8th is the night of the 7th.
    const auto dawnToday = Csv({"--place", "tokyo", "--day-start", "dawn", "--format", "csv"},
                               {"TOLMERI_NOW=2026-12-07T18:00:00Z"});
    ASSERT_EQ(dawnToday.size(), 1u);
    EXPECT_EQ(dawnToday[0].at("date"), "2026-12-07");
    EXPECT_EQ(Csv({"--place", "tokyo", "--format", "csv"}, {"TOLMERI_NOW=2026-12-07T18:00:00Z"})
                  .at(0)
                  .at("date"),
              "2026-12-08");
    // --now agrees.
    const ProcessResult now =
        Run({"--place", "tokyo", "--now"}, {"TOLMERI_NOW=2026-12-07T23:23:00Z"});
    EXPECT_NE(now.out.find("2026-12-08 08:23"), std::string::npos) << now.out;
}

// --day-start dawn: the night after the date's daytime belongs to the date.
// The raid of 元禄15年12月14日 was in that night's small hours, on the civil
// date 1703-01-31.
TEST_F(HoursCli, UnderDawnTheSmallHoursAfterTheNightBelongToTheDate) {
    const std::vector<std::string> edo = {"--place", "東京", "--date", "元禄15年12月14日"};
    const Row night = Csv({"--place", "東京", "--date", "1703-01-30", "--format", "csv"}).at(0);
    const Row after = Csv({"--place", "東京", "--date", "1703-01-31", "--format", "csv"}).at(0);
    const int dawn = BoundaryMinute(night, 6);
    const struct {
        std::string clock, start;
        const char* at;  // the civil moment
        const char* day; // the date it belongs to
    } cases[] = {
        {"04:00", "dawn", "1703-01-31T04:00:00+09:00", "1703-01-30"},
        {"04:00", "midnight", "1703-01-30T04:00:00+09:00", "1703-01-30"},
        {"00:00", "dawn", "1703-01-31T00:00:00+09:00", "1703-01-30"},
        {tolmeri::FormatClock(dawn - 10), "dawn", "1703-01-31T", "1703-01-30"},
        // Dawn comes a minute earlier on the 31st: a minute before the 30th's
        // 明六つ is already the 31st's 明六つ hour.
        {tolmeri::FormatClock(dawn - 1), "dawn", "1703-01-31T", "1703-01-31"},
        {tolmeri::FormatClock(dawn), "dawn", "1703-01-30T", "1703-01-30"},
        {"23:59", "dawn", "1703-01-30T23:59:00+09:00", "1703-01-30"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = edo;
        args.insert(args.end(), {"--at", c.clock, "--day-start", c.start, "--format", "json"});
        const ProcessResult r = Run(args);
        ASSERT_EQ(r.status, 0) << c.clock << r.err;
        EXPECT_NE(r.out.find("\"at\": \"" + std::string(c.at)), std::string::npos)
            << c.clock << " " << c.start << r.out;
        EXPECT_NE(r.out.find("\"day_start\": \"" + c.start + "\", \"day\": \"" + c.day + "\""),
                  std::string::npos)
            << c.clock << r.out;
    }
    // The same moment asked of the next date at midnight reckoning.
    std::vector<std::string> dawnArgs = edo;
    dawnArgs.insert(dawnArgs.end(), {"--at", "04:00", "--day-start", "dawn", "--format", "csv"});
    const ProcessResult byDawn = Run(dawnArgs);
    const ProcessResult byClock =
        Run({"--place", "東京", "--at", "1703-01-31T04:00", "--format", "csv"});
    EXPECT_EQ(Split(byDawn.out, ',').at(13), Split(byClock.out, ',').at(13)) << "same index";
    const ProcessResult table = Run(
        {"--place", "東京", "--date", "元禄15年12月14日", "--at", "04:00", "--day-start", "dawn"});
    EXPECT_NE(table.out.find("暦日      1703-01-30（元禄15年12月14日、明六つから数える日）"),
              std::string::npos)
        << table.out;

    // The day's table runs from its 明六つ to the next date's.
    std::vector<std::string> tableArgs = edo;
    tableArgs.insert(tableArgs.end(), {"--day-start", "dawn"});
    const ProcessResult day = Run(tableArgs);
    ASSERT_EQ(day.status, 0) << day.err;
    const std::vector<std::string> lines = Split(day.out, '\n');
    const auto first = std::find_if(lines.begin(), lines.end(), [](const std::string& l) {
        return l.starts_with("   6  明六つ");
    });
    ASSERT_NE(first, lines.end()) << day.out;
    ASSERT_GE(lines.end() - first, 25);
    EXPECT_NE(first->find(tolmeri::FormatClock(dawn)), std::string::npos) << *first;
    const std::string& last = *(first + 24);
    EXPECT_EQ(last.rfind("   6  明六つ", 0), 0u) << last;
    EXPECT_TRUE(last.ends_with(std::to_string(BoundaryMinute(after, 6) + 1440))) << last;
    // midnight is the civil date's table, as a Western date has it.
    std::vector<std::string> midnightArgs = edo;
    midnightArgs.insert(midnightArgs.end(), {"--day-start", "midnight"});
    EXPECT_EQ(Run(midnightArgs).out,
              Run({"--place", "東京", "--date", "1703-01-30", "--day-start", "midnight"}).out);
    // Pictures have no use for it.
    const ProcessResult png = Run({"--day-start", "dawn", "--png", "a.png"});
    EXPECT_EQ(png.status, 2);
    EXPECT_NE(png.err.find("--day-start は表と --at、--now のためのものです"), std::string::npos);
    const ProcessResult bad = Run({"--day-start", "noon"});
    EXPECT_NE(bad.err.find("--day-start の値 \"noon\" は使えません（midnight, dawn）"),
              std::string::npos)
        << bad.err;
}

TEST_F(HoursCli, AtIsWrittenAsNowIsWithTheMomentsOffset) {
    const struct {
        std::vector<std::string> args;
        const char* json;  // the moment's line
        const char* table; // the table's first lines after the place
    } cases[] = {
        {{"--place", "東京", "--at", "2026-06-21T15:00"},
         "\"at\": \"2026-06-21T15:00:00+09:00\", \"minute\": 900",
         "時刻      2026-06-21 15:00（令和8年6月21日）\n"
         "数え方    0時から24時まで（西暦、明治6年からの日付）\n刻        昼八つ (未)"},
        {{"--place", "New York", "--date", "2026-06-21", "--at", "15:00"},
         "\"at\": \"2026-06-21T15:00:00-05:00\"",
         "時刻      2026-06-21 15:00（令和8年6月21日）\n数え方    0時から24時まで"},
        // An era date's day is from its 明六つ (06:16 here): 07:00 is its
        // morning, 06:00 the small hours after its night.
        {{"--place", "京都", "--date", "宝暦五年正月朔日", "--at", "07:00", "--dawn", "auto"},
         "\"at\": \"1755-02-11T07:00:00+09:00\"",
         "時刻      1755-02-11 07:00（宝暦5年1月1日）\n数え方    明六つから翌日の明六つまで"},
        {{"--place", "京都", "--date", "宝暦五年正月朔日", "--at", "06:00", "--dawn", "auto"},
         "\"at\": \"1755-02-12T06:00:00+09:00\"",
         "時刻      1755-02-12 06:00（宝暦5年1月2日）\n数え方    明六つから翌日の明六つまで"},
        {{"--place", "京都", "--date", "慶長5年9月15日", "--at", "06:00", "--dawn", "auto"},
         "\"dawn_definition\": \"36min\"",
         "\n明六つ・暮六つ 日出前・日入後2刻半＝36分（宣明暦の定め）  時計 毎日\n"},
    };
    for (const auto& c : cases) {
        const std::string shown = ::testing::PrintToString(c.args);
        std::vector<std::string> json = c.args;
        json.insert(json.end(), {"--format", "json"});
        EXPECT_NE(Run(json).out.find(c.json), std::string::npos) << shown << Run(json).out;
        const ProcessResult table = Run(c.args);
        EXPECT_NE(table.out.find(c.table), std::string::npos) << shown << table.out;
        EXPECT_NE(table.out.find(" 分経過）\n次の刻    "), std::string::npos) << table.out;
    }
    // The same writer as --now: the same fields, only the moment's name.
    const ProcessResult at =
        Run({"--place", "東京", "--at", "2026-12-07T12:15", "--format", "csv"});
    const ProcessResult now =
        Run({"--place", "東京", "--now", "--format", "csv"}, {"TOLMERI_NOW=2026-12-07T03:15:00Z"});
    const std::vector<std::string> atLines = Split(at.out, '\n'), nowLines = Split(now.out, '\n');
    ASSERT_EQ(atLines.size(), 2u);
    ASSERT_EQ(nowLines.size(), 2u);
    EXPECT_EQ(atLines[0].substr(2), nowLines[0].substr(3)); // "at," and "now,"
    EXPECT_EQ(atLines[1].substr(atLines[1].find(',')), nowLines[1].substr(nowLines[1].find(',')));
}

TEST_F(HoursCli, AYearChartGoesOnlyToAPngOrSvgRegularFile) {
    const fs::path t = root.Path() / "targets";
    fs::create_directory(t);
    fs::create_directory(t / "dir.png");
    ASSERT_EQ(mkfifo((t / "fifo.svg").c_str(), 0644), 0);
    std::ofstream(t / "old.SVG", std::ios::binary) << "an older picture";
    const struct {
        const char* target;
        int status;
        const char* magic; // the file's start afterwards, or the message
    } cases[] = {
        {"new.png", 0, "\x89PNG"},
        {"old.SVG", 0, "<?xml"},
        {"dir.png", 2, "はふつうのファイルではないので書きません"},
        {"fifo.svg", 2, "はふつうのファイルではないので書きません"},
        {"chart.jpg", 2, "の形式がわかりません"},
        {"missing/chart.svg", 1,
         "の隣に一時ファイルを作れません：そのようなファイルやフォルダーはありません"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target);
        const ProcessResult r = Run(
            {"--date", "2026-06-21", "--year-chart", (t / c.target).string(), "--size", "600x400"});
        EXPECT_EQ(r.status, c.status) << r.err;
        if (c.status == 0) {
            EXPECT_EQ(Slurp(t / c.target).rfind(c.magic, 0), 0u);
        } else {
            EXPECT_NE(r.err.find(c.magic), std::string::npos) << r.err;
            EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
            EXPECT_EQ(EnglishIn(r.err, {(t / c.target).string(), "tolmeri-hours"}), "") << r.err;
        }
    }
    EXPECT_TRUE(fs::is_empty(t / "dir.png"));
    // "-": the PNG on standard output, the same bytes as the file.
    const ProcessResult piped =
        Run({"--date", "2026-06-21", "--year-chart", "-", "--size", "600x400"}, {},
            {.stdoutPath = (root.Path() / "stdout").string()});
    EXPECT_EQ(piped.status, 0) << piped.err;
    EXPECT_TRUE(Slurp(root.Path() / "stdout") == Slurp(t / "new.png"));
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(t))
        names.insert(e.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"dir.png", "fifo.svg", "new.png", "old.SVG"}));
}

} // namespace

// 旧暦, 六曜 and 雑節 of today's dates in every format: 旧正月 2026, 中秋の名月,
// and 2033's 閏11月 with its note.
TEST_F(HoursCli, ModernLunisolarDatesAndNamedDays) {
    const auto rows = Csv({"--place", "東京", "--date", "2026-02-17", "--format", "csv"});
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].at("kyureki_year") + "/" + rows[0].at("kyureki_month") + "/" +
                  rows[0].at("kyureki_leap") + "/" + rows[0].at("kyureki_day") + " " +
                  rows[0].at("rokuyo"),
              "2026/1/0/1 先勝");
    EXPECT_EQ(rows[0].at("zassetsu"), "");
    const struct {
        const char* date;
        const char* zassetsu;
    } named[] = {{"2026-09-25", "中秋の名月"},
                 {"2026-10-23", "十三夜"},
                 {"2026-02-03", "節分"},
                 {"2026-07-20", "土用の入り"},
                 {"2024-07-24", "土用の丑の日"}};
    for (const auto& n : named)
        EXPECT_EQ(Csv({"--place", "東京", "--date", n.date, "--format", "csv"})[0].at("zassetsu"),
                  n.zassetsu)
            << n.date;

    const auto leap = Csv({"--place", "東京", "--date", "2033-12-22", "--format", "csv"});
    EXPECT_EQ(leap[0].at("kyureki_month") + "/" + leap[0].at("kyureki_leap"), "11/1");
    EXPECT_NE(leap[0].at("note").find("日本カレンダー暦文化振興協会"), std::string::npos);
    const ProcessResult json = Run({"--place", "東京", "--date", "2026-09-25", "--format", "json"});
    EXPECT_NE(json.out.find("\"zassetsu\": \"中秋の名月\""), std::string::npos) << json.out;
    EXPECT_NE(json.out.find("\"kyureki_month\": 8, \"kyureki_leap\": 0, \"kyureki_day\": 15"),
              std::string::npos)
        << json.out;

    // The table's heading line and its note; a range gets the 旧暦 column.
    const ProcessResult day = Run({"--place", "東京", "--date", "2033-12-22"});
    EXPECT_NE(day.out.find("旧暦 2033年閏11月1日"), std::string::npos) << day.out;
    EXPECT_NE(day.out.find("\n注  旧暦2033年閏11月は日本カレンダー暦文化振興協会"),
              std::string::npos)
        << day.out;
    const ProcessResult moon = Run({"--place", "東京", "--date", "2026-09-25"});
    EXPECT_NE(moon.out.find("六曜 仏滅  雑節 中秋の名月"), std::string::npos) << moon.out;
    const ProcessResult range = Run({"--place", "東京", "--date", "2034-02-17", "--days", "3"});
    EXPECT_NE(range.out.find("2034年1月1日"), std::string::npos) << range.out;
    EXPECT_NE(range.out.find("注  旧暦2033年閏11月"), std::string::npos) << range.out;

    // Typed as a lunisolar date, and a leap month the year lacks.
    EXPECT_EQ(Csv({"--date", "旧暦2026年8月15日", "--format", "csv"})[0].at("date"), "2026-09-25");
    const ProcessResult none = Run({"--date", "旧暦2026年閏8月1日"});
    EXPECT_EQ(none.status, 2);
    EXPECT_NE(none.err.find("旧暦2026年に閏8月はありません。この年に閏月はありません"),
              std::string::npos)
        << none.err;
}

// --format ics: an iCalendar file a real parser reads (Debian's
// python3-icalendar), its events on their days, UIDs unique and the same
// when made again, its text escaped and its lines folded by the RFC.
TEST_F(HoursCli, IcsFileImportsIntoACalendarParser) {
    const std::vector<std::string> args = {
        "--lat",  "35:39",      "--lon",  "139:45", "--tz",     "9",   "--name",  "東京,港;芝\\",
        "--date", "2026-01-01", "--days", "365",    "--format", "ics", "--rokuyo"};
    const ProcessResult ics = Run(args, {"TOLMERI_NOW=2026-06-21T03:00:00Z"});
    ASSERT_EQ(ics.status, 0) << ics.err;
    // Every line ends in CRLF and has at most 75 octets.
    std::size_t at = 0, longest = 0;
    while (at < ics.out.size()) {
        const std::size_t end = ics.out.find("\r\n", at);
        ASSERT_NE(end, std::string::npos) << "a line without CRLF at " << at;
        longest = std::max(longest, end - at);
        at = end + 2;
    }
    EXPECT_LE(longest, 75u);
    const fs::path file = root.Path() / "days.ics";
    std::ofstream(file, std::ios::binary) << ics.out;
    const ProcessResult parsed = RunProcess(
        "/usr/bin/python3",
        {"-c",
         "import sys, collections, icalendar\n"
         "cal = icalendar.Calendar.from_ical(open(sys.argv[1], 'rb').read())\n"
         "print(cal['PRODID'], cal['X-WR-CALNAME'], sep='|')\n"
         "kinds = collections.Counter(); uids = set()\n"
         "for e in cal.walk('VEVENT'):\n"
         "  uids.add(str(e['UID'])); kinds[str(e['CATEGORIES'].to_ical(), 'utf-8')] += 1\n"
         "  d = e['DTSTART'].dt; n = e['DTEND'].dt\n"
         "  assert (n - d).days == 1, e\n"
         "  if str(d) in ('2026-02-17', '2026-09-25', '2026-03-20', '2026-02-03'):\n"
         "    print(d, str(e['SUMMARY']))\n"
         "print('uids', len(uids), 'events', sum(kinds.values()))\n"
         "print(sorted(kinds.items()))\n",
         file.string()},
        {.folder = work.string()});
    ASSERT_EQ(parsed.status, 0) << parsed.err;
    const std::string& out = parsed.out;
    EXPECT_NE(out.find("-//tolmeri//tolmeri-hours//JA|刻しらべ 東京,港;芝\\\n"), std::string::npos)
        << out;
    for (const char* line : {"2026-02-17 旧暦2026年1月1日", "2026-02-17 先勝", "2026-02-17 新月",
                             "2026-09-25 中秋の名月", "2026-03-20 春分", "2026-02-03 節分"})
        EXPECT_NE(out.find(line), std::string::npos) << line << "\n" << out;
    // 24 terms, 12 lunisolar months begun in 2026 plus 中秋 and 十三夜, 365
    // 六曜, some fifty quarters, and every UID once.
    EXPECT_NE(out.find("('二十四節気', 24)"), std::string::npos) << out;
    EXPECT_NE(out.find("('旧暦', 14)"), std::string::npos) << out;
    EXPECT_NE(out.find("('六曜', 365)"), std::string::npos) << out;
    const std::size_t counts = out.find("uids ");
    ASSERT_NE(counts, std::string::npos) << out;
    const int uids = std::stoi(out.substr(counts + 5));
    const int events = std::stoi(out.substr(out.find("events ", counts) + 7));
    EXPECT_EQ(uids, events) << out;
    EXPECT_GT(events, 24 + 14 + 365 + 45 + 20);

    // Made again another day: the same events under the same UIDs.
    const ProcessResult again = Run(args, {"TOLMERI_NOW=2026-07-01T00:00:00Z"});
    const auto uidsOf = [](const std::string& text) {
        std::vector<std::string> found;
        for (std::size_t p = text.find("\r\nUID:"); p != std::string::npos;
             p = text.find("\r\nUID:", p + 1))
            found.push_back(text.substr(p, text.find("\r\n", p + 2) - p));
        return found;
    };
    EXPECT_EQ(uidsOf(again.out), uidsOf(ics.out));
    EXPECT_NE(again.out, ics.out); // the DTSTAMP

    // What the format does not do.
    for (const auto& bad :
         std::vector<std::vector<std::string>>{{"--rokuyo"},
                                               {"--format", "csv", "--rokuyo"},
                                               {"--format", "ics", "--now"},
                                               {"--format", "ics", "--list-places"}}) {
        const ProcessResult r = Run(bad);
        EXPECT_EQ(r.status, 2) << bad.back();
        EXPECT_EQ(r.out, "");
    }
}
