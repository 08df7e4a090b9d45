// tolmeri-hours: the temporal hours of a place for a day or a range of days,
// the hour of this moment, or the chart as a picture. Bad input is reported
// in one line and nothing is written; see --help.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "core/civil_date.h"
#include "hours_help.h"
#include "hours_options.h"
#include "hours_output.h"
#include "png_loader.h"
#include "tolmeri_config.h"

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

int Complain(const std::string& message, int status) {
    std::fprintf(stderr, "tolmeri-hours: %s\n", message.c_str());
    return status;
}

// The whole output in one piece; a failed or short write is reported.
int Emit(const std::string& text) {
    const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
    const bool flushed = std::fflush(stdout) == 0;
    if (!written || !flushed || std::ferror(stdout))
        return Complain(std::string("出力を書けませんでした: ") + std::strerror(errno),
                        kExitFailure);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    using namespace tolmeri;

    // The moment for "today" and --now: the clock, or TOLMERI_NOW for tests.
    std::int64_t now = static_cast<std::int64_t>(std::time(nullptr));
    if (const char* fixed = std::getenv("TOLMERI_NOW"); fixed && *fixed) {
        if (!ReadUtcInstant(fixed, now))
            return Complain(std::string("TOLMERI_NOW \"") + fixed +
                                "\" は読めません（例 2026-12-07T03:15:00Z）",
                            kExitUsage);
    }
    const std::time_t t = static_cast<std::time_t>(now);
    std::tm local{};
    localtime_r(&t, &local);
    const CivilDate today{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};

    const std::vector<std::string_view> args(argv + 1, argv + argc);
    const HoursParse parse = ParseHoursArguments(args, today);
    if (!parse.error.empty())
        return Complain(parse.error, kExitUsage);
    const HoursRequest& request = parse.request;

    std::string out;
    switch (request.action) {
    case HoursAction::Help:
        out = kHoursHelp;
        break;
    case HoursAction::Version:
        out = "tolmeri-hours " TOLMERI_VERSION "\n";
        break;
    case HoursAction::ListPlaces:
        WritePlaceList(request.format, out);
        break;
    case HoursAction::Hours:
        WriteHours(request, out);
        break;
    case HoursAction::Now: {
        const CurrentHour hour = FindCurrentHour(request.place, now);
        if (hour.date.year < kFirstYear || hour.date.year > kLastYear)
            return Complain("いまの日付 " + FormatDate(hour.date) + " は範囲外です（年は 0～2200）",
                            kExitUsage);
        WriteCurrentHour(request, hour, out);
        break;
    }
    case HoursAction::Png: {
        const std::string failure = RenderChartPng(request);
        if (!failure.empty())
            return Complain(failure, kExitFailure);
        return 0;
    }
    }
    return Emit(out);
}
