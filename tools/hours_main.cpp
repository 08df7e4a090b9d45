// tolmeri-hours: the temporal hours of a place for a day or a range of days,
// the hour of this or any moment, or the day's or the year's chart as a
// picture. Bad input is reported
// in one line and nothing is written; see --help.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/accepted_ranges.h"
#include "core/civil_date.h"
#include "core/day_start.h"
#include "core/hour_names.h"
#include "core/period_hours.h"
#include "core/places.h"
#include "core/result.h"
#include "core/utf8.h"
#include "process/process.h"
#include "report/hours_output.h"
#include "report/hours_text.h"
#include "settings/settings.h"
#include "tolmeri_config.h"
#include "tools/hours_arguments.h"
#include "tools/hours_help.h"
#include "tools/png_loader.h"

namespace tolmeri {
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
            return Complain("出力を書けませんでした: " + StandardOutputErrorText(m_nError),
                            kExitFailure);
        return 0;
    }

private:
    int m_nError = 0;
};

// The moment for "today" and --now: the clock, or TOLMERI_NOW for tests.
Result<std::int64_t> Now() {
    std::int64_t now = static_cast<std::int64_t>(std::time(nullptr));
    if (const char* fixed = std::getenv("TOLMERI_NOW"); fixed && *fixed) {
        if (!ReadUtcInstant(fixed, now))
            return Refuse("TOLMERI_NOW " + QuotedForMessage(fixed) +
                          " は読めません（例 2026-12-07T03:15:00Z）");
    }
    return now;
}

// The historical places and the user's own, read at the first call. Each
// row of the user's file that cannot be read is said on standard error, a
// line each, and left out; the run goes on.
const CPlaceBook& Places() {
    static std::optional<CPlaceBook> book;
    if (book)
        return *book;
    const std::string path = UserPlacesPath();
    Result<std::string> text = ReadUserPlacesFile(path);
    if (!text && text.Kind() != FailureKind::kAbsent)
        Complain(text.Message(), 0);
    book.emplace(text ? std::move(*text) : std::string());
    for (const PlaceRowProblem& problem : book->Problems())
        Complain(path + " " + problem.message + "（この行は使いません）", 0);
    return *book;
}

// What the request asks for, into out (or, for days, piece by piece into
// output); the exit status.
int Answer(const HoursRequest& request, std::int64_t now, CStandardOutput& output,
           std::string& out) {
    out = OutputStart(request);
    switch (request.action) {
    case HoursAction::kHelp:
        out = HoursHelp();
        break;
    case HoursAction::kVersion:
        out = "tolmeri-hours " TOLMERI_VERSION "\n";
        break;
    case HoursAction::kListPlaces:
        WritePlaceList(request, Places(), out);
        break;
    case HoursAction::kHours:
        // Long ranges go out piece by piece, so memory stays flat.
        WriteHours(request, out, [&output](std::string& text) { return output.Put(text); });
        break;
    case HoursAction::kNow: {
        const LocalMoment local = LocalMomentOf(now, request.place.timeDiff);
        if (!kYearRange.Contains(local.date.year))
            return Complain("いまの日付 " + FormatDate(local.date) + " は範囲外です（年は " +
                                RangeText(kYearRange) + "）",
                            kExitUsage);
        WriteMomentHour(request,
                        FindMomentHour(request.place, local.date, local.minute, request.options),
                        MomentKind::kNow, out);
        break;
    }
    case HoursAction::kAt:
        WriteAtHour(request, out);
        break;
    case HoursAction::kTime:
        WriteTimeReadings(request, out);
        break;
    case HoursAction::kChart:
    case HoursAction::kYearChart: {
        const Status written = WritePicture(request);
        if (written)
            return 0;
        return Complain(written.Message(),
                        written.Kind() == FailureKind::kRefused ? kExitUsage : kExitFailure);
    }
    }
    return output.Finish(out);
}

} // namespace
} // namespace tolmeri

int main(int argc, char** argv) {
    using namespace tolmeri;
    OpenClosedStandardDescriptors();
    const Result<std::int64_t> now = Now();
    if (!now)
        return Complain(now.Message(), kExitUsage);
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    const Result<HoursRequest> request = ParseHoursArguments(args, *now, Places);
    if (!request)
        return Complain(request.Message(), kExitUsage);
    // What was assumed goes beside the answer, so that the answer itself
    // stays as scripts read it.
    for (const std::string& note : request->notes)
        std::fprintf(stderr, "tolmeri-hours: 注: %s\n", note.c_str());
    CStandardOutput output;
    std::string out;
    return Answer(*request, *now, output, out);
}
