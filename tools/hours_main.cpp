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

// Standard output as the writers fill it: each piece is written and the
// text emptied. The first failed or short write is kept for the report.
class CStandardOutput {
public:
    bool Put(std::string& text) {
        errno = 0;
        if (m_nError == 0 && std::fwrite(text.data(), 1, text.size(), stdout) != text.size())
            m_nError = errno ? errno : EIO;
        text.clear();
        return m_nError == 0;
    }
    // The rest of the text, then the flush.
    int Finish(std::string& text) {
        if (Put(text)) {
            errno = 0;
            if (std::fflush(stdout) != 0 || std::ferror(stdout))
                m_nError = errno ? errno : EIO;
        }
        if (m_nError != 0)
            return Complain(std::string("出力を書けませんでした: ") + std::strerror(m_nError),
                            kExitFailure);
        return 0;
    }

private:
    int m_nError = 0;
};

} // namespace

int main(int argc, char** argv) {
    using namespace tolmeri;

    // The moment for "today" and --now: the clock, or TOLMERI_NOW for tests.
    std::int64_t now = static_cast<std::int64_t>(std::time(nullptr));
    if (const char* fixed = std::getenv("TOLMERI_NOW"); fixed && *fixed) {
        if (!ReadUtcInstant(fixed, now))
            return Complain("TOLMERI_NOW " + QuotedForMessage(fixed) +
                                " は読めません（例 2026-12-07T03:15:00Z）",
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

    CStandardOutput output;
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
        // Long ranges go out piece by piece, so memory stays flat.
        WriteHours(request, out, [&output](std::string& text) { return output.Put(text); });
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
        std::string failure;
        const int status = WriteChartPng(request, failure);
        return status == 0 ? 0 : Complain(failure, status);
    }
    }
    return output.Finish(out);
}
