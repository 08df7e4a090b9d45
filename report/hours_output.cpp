#include "report/hours_output.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "core/calendar.h"
#include "core/day_start.h"
#include "core/hour_names.h"
#include "core/kanshi.h"
#include "core/moon_hours.h"
#include "core/presets.h"
#include "core/solar_terms.h"
#include "report/hours_columns.h"
#include "report/hours_ics.h"
#include "report/hours_text.h"

namespace tolmeri {

namespace {

std::string Number(long long v) {
    std::string s;
    AppendInt(s, v);
    return s;
}

// "横浜  緯度 +35:27  経度 +139:39  時差 +9".
void AppendPlaceLine(std::string& out, const Place& p) {
    out += p.name;
    out += "  緯度 ";
    out += FormatDegreesMinutes(p.latDeg, p.latMin);
    out += "  経度 ";
    out += FormatDegreesMinutes(p.lonDeg, p.lonMin);
    out += "  時差 ";
    out += p.timeDiff < 0 ? "-" : "+";
    AppendInt(out, p.timeDiff < 0 ? -p.timeDiff : p.timeDiff);
}

// "出典      『日本歴史地名大系』地名項目データセット(CODH作成)「北品川宿」 35.622020,
// 139.740150" and "地点      宿場の位置は村の代表点（…）" under a historical place's
// line; nothing for any other place.
void AppendProvenanceLines(std::string& out, const PlaceProvenance& provenance) {
    if (!provenance.source.empty())
        out += "出典      " + provenance.source + "\n";
    if (!provenance.note.empty())
        out += "地点      " + provenance.note + "\n";
}

// The moment at place in ISO 8601, "2026-06-21T15:00:00+09:00".
std::string Stamp(const Place& place, const MomentHour& hour) {
    return IsoLocalTime(hour.date, hour.minute, place.timeDiff);
}

std::string_view MomentName(MomentKind kind) {
    return kind == MomentKind::kAt ? "at" : "now";
}

// The line under a day's heading: "和暦 慶長5年9月15日  旧暦 1600年9月15日
// ユリウス暦 1600-10-11  節気 寒露（1600-10-08 から）  干支 乙卯（庚子年）  六曜 先負
// 雑節 社日", each part where the day has it.
void AppendNamesLine(std::string& out, const DayNames& names) {
    if (const std::string era = FormatEraDates(names.eras); !era.empty())
        out += "和暦 " + era + "  ";
    if (names.lunisolar)
        out += "旧暦 " + FormatLunisolarDate(*names.lunisolar) + "  ";
    // Written with its units, never as ISO 8601, whose dates are Gregorian.
    if (names.julian) {
        const CivilDate& j = *names.julian;
        out +=
            "ユリウス暦" + Number(j.year) + "年" + Number(j.month) + "月" + Number(j.day) + "日  ";
    }
    out += "節気 ";
    out += kSolarTermNames[static_cast<std::size_t>(names.term.term)];
    out += "（";
    AppendDate(out, CivilFromJdn(names.term.jdn));
    out += " から）  干支 ";
    out += KanshiName(names.dayKanshi);
    if (names.yearKanshi) {
        out += "（";
        out += KanshiName(*names.yearKanshi);
        out += "年）";
    }
    if (names.rokuyo) {
        out += "  六曜 ";
        out += RokuyoName(*names.rokuyo);
    }
    if (names.namedDays) {
        out += "  雑節 ";
        out += FormatNamedDays(names.namedDays);
    }
    out += '\n';
    if (!names.lunisolarNote.empty())
        out += "注  " + names.lunisolarNote + '\n';
}

// The notes of the lunisolar months of a run named by a choice between
// readings, each once, as "注" lines.
void AppendLunisolarNoteLines(std::string& out, const DateRange& days) {
    const int first = JdnFromCivil(days.first);
    const int end = std::min(first + days.dayCount, kLunisolarLastJdn + 1);
    std::string last;
    for (int jdn = std::max(first, kLunisolarEndJdn); jdn < end; ++jdn) {
        std::string note = ComputedMonthNote(jdn);
        if (!note.empty() && note != last) {
            out += "注  " + note + '\n';
            last = std::move(note);
        }
    }
}

// Where dawn and dusk are and when the clocks were set, when that is not
// the window's way, naming the calendar in force on date: "明六つ・暮六つ
// 宣明暦（…）  時計 二十四節気ごと（1600-10-08 の表）".
void AppendDefinitionLine(std::string& out, const PeriodOptions& options, DawnDefinition definition,
                          const CivilDate& date, const CivilDate& setDate) {
    if (options.dawn == DawnDefinition::kDepression && options.steps == ClockSteps::kDaily &&
        options.sun == SunModel::kWindow)
        return;
    out += "明六つ・暮六つ ";
    out += DawnDefinitionLabelOn(definition, JdnFromCivil(date));
    out += "  時計 ";
    out += ClockStepsLabel(options.steps);
    if (options.steps != ClockSteps::kDaily) {
        out += "（";
        AppendDate(out, setDate);
        out += " の表）";
    }
    if (options.sun != SunModel::kWindow) {
        out += "  太陽 ";
        out += SunModelLabel(options.sun);
    }
    out += '\n';
}

// The date the moment belongs to as the request reckons the day (under
// dawn, the small hours before 明六つ are the day before's).
CivilDate MomentDay(const HoursRequest& request, const MomentHour& hour) {
    if (request.dayStart == DayStart::kMidnight)
        return hour.date;
    return ReckonedDate(CalcDayHours(request.place, hour.date, request.options), hour.minute,
                        request.dayStart);
}

// The note of the moment's date as read (--at with an era date outside its
// era's days), empty for none.
std::string_view MomentNote(const HoursRequest& request) {
    return request.days.NoteOn(request.days.first);
}

// A day minute of date, which may lie on the day before or after, in
// ISO 8601 at the place's offset.
std::string StampOf(const Place& place, const CivilDate& date, int minute) {
    const std::int64_t shift = (minute >= 0 ? minute : minute - 1439) / 1440;
    return IsoLocalTime(CivilFromDays(DaysFromCivil(date) + shift),
                        static_cast<int>(minute - shift * 1440), place.timeDiff);
}

// "数え方    明六つから翌日の明六つまで（…）": the reckoning an answer used.
void AppendReckoningLine(std::string& out, const HoursRequest& request) {
    out += "数え方    ";
    out += ReckoningText(request.DayReckoning());
    out += '\n';
}

// The Moon's altitude and azimuth at the moment's minute, one decimal each:
// "23.4" (negative below the horizon) and "123.4".
struct MomentMoonText {
    std::string altitude, azimuth;
};
MomentMoonText MomentMoon(const HoursRequest& request, const MomentHour& hour) {
    const double jdUT =
        JdnFromCivil(hour.date) - 0.5 + hour.minute / 1440.0 - request.place.timeDiff / 24.0;
    const MoonDirection d = MoonDirectionAt(request.place, jdUT);
    char altitude[16], azimuth[16];
    std::snprintf(altitude, sizeof altitude, "%.1f", d.altitude);
    if (std::string_view(altitude) == "-0.0")
        std::snprintf(altitude, sizeof altitude, "0.0");
    std::snprintf(azimuth, sizeof azimuth, "%.1f", d.azimuth);
    return {altitude, azimuth};
}

// Spaces at the end of the output's last line, as padding leaves them.
void TrimLineEnd(std::string& out) {
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
}

// A place as --list-places shows it: a preset, or a historical place or
// one of the user's with its record.
struct ListedPlace {
    Place place;
    std::string_view latinName;
    const PlaceRecord* record = nullptr;
};

// "preset", "historical" or "user": where a listed place comes from.
std::string_view OriginName(const ListedPlace& listed) {
    if (!listed.record)
        return "preset";
    return listed.record->origin == PlaceOrigin::kUser ? "user" : "historical";
}

// A station's routes and numbers as the places file writes them:
// "東海道|中山道" and "52|68".
std::string StopRoutes(const PlaceRecord& p) {
    std::string text;
    for (const RouteStop& stop : p.stops) {
        if (!text.empty())
            text += '|';
        text += PlaceRouteName(stop.route);
    }
    return text;
}
std::string StopNumbers(const PlaceRecord& p) {
    std::string text;
    for (const RouteStop& stop : p.stops) {
        if (!text.empty())
            text += '|';
        AppendInt(text, stop.number);
    }
    return text;
}

// One format's writer for one m_request. A run of days is DaysHead, a DayRow
// per day and DaysEnd; OneDay is a day on its own.
class CHoursWriter {
public:
    CHoursWriter(const HoursRequest& request, std::string& out) : m_request(request), m_out(out) {}
    virtual ~CHoursWriter() = default;

    virtual void DaysHead() = 0;
    virtual void DayRow(const HoursRow& row, bool last) = 0;
    virtual void DaysEnd() {}
    virtual void OneDay(const HoursRow& row) {
        DaysHead();
        DayRow(row, true);
        DaysEnd();
    }
    virtual void Moment(const MomentHour& hour, MomentKind kind) = 0;
    // The readings of --time on the date, each reading's span beside it.
    virtual void Time(const HourMarks& marks, const std::vector<ResolvedReading>& readings) = 0;
    virtual void PlaceList(const std::vector<ListedPlace>& places) = 0;

protected:
    const HoursRequest& m_request;
    std::string& m_out;
};

// "注  安政7年3月20日 は 万延元年3月20日（3月18日に改元）": each note of the
// dates as read, a line each, after a heading.
void AppendNoteLines(std::string& out, const DateRange& days, std::string_view indent = "  ") {
    for (const DateNote& note : days.notes) {
        out += "注";
        out += indent;
        out += note.text;
        out += '\n';
    }
}

class CTableWriter : public CHoursWriter {
public:
    CTableWriter(const HoursRequest& request, std::string& out)
        : CHoursWriter(request, out),
          m_columns(
              TableColumns(m_request.days.first, m_request.days.dayCount, m_request.options)) {}

    void DaysHead() override {
        AppendPlaceLine(m_out, m_request.place);
        m_out += '\n';
        AppendProvenanceLines(m_out, m_request.placeProvenance);
        AppendNoteLines(m_out, m_request.days);
        AppendLunisolarNoteLines(m_out, m_request.days);
        m_out += '\n';
        for (const HoursColumn* column : m_columns)
            Cell(*column, column->title);
        TrimLineEnd(m_out);
        m_out += '\n';
    }
    void DayRow(const HoursRow& row, bool) override {
        for (const HoursColumn* column : m_columns) {
            m_value.clear();
            if (!column->has || column->has(row))
                column->write(m_value, row, 0);
            Cell(*column, m_value);
        }
        TrimLineEnd(m_out);
        m_out += '\n';
    }
    // A day alone: what the old texts call it, its 25 boundaries, one a
    // line, then its lengths.
    void OneDay(const HoursRow& row) override {
        const DayHours& d = row.day;
        const DayNames& names = row.names;
        AppendPlaceLine(m_out, m_request.place);
        m_out += "  ";
        AppendDate(m_out, d.date);
        m_out += '\n';
        AppendProvenanceLines(m_out, m_request.placeProvenance);
        AppendNamesLine(m_out, names);
        AppendNoteLines(m_out, m_request.days);
        AppendDefinitionLine(m_out, m_request.options, d.definition, d.date, d.setDate);
        // The table keeps the civil day unless --day-start dawn asks for the
        // day from 明六つ: then its night runs on into the next date, whose
        // minutes count on past 1440. The Moon follows the day's reckoning.
        const bool dawn = m_request.dayStart == DayStart::kDawn;
        const DayStart form =
            dawn && m_request.dayStartChosen ? DayStart::kDawn : DayStart::kMidnight;
        const DayHours next =
            form == DayStart::kDawn
                ? CalcDayHours(m_request.place, CivilFromDays(DaysFromCivil(d.date) + 1),
                               m_request.options)
                : d;
        if (dawn)
            AppendReckoningLine(m_out, m_request);
        if (form == DayStart::kDawn) {
            m_out += "一日      明六つから翌日の明六つまで（翌日 ";
            AppendDate(m_out, next.date);
            m_out += " の刻の分は 1440 から数えます）\n";
        }
        m_out += '\n';
        AppendPadded(m_out, "番号", 4, true);
        m_out += "  ";
        AppendPadded(m_out, "刻", 12);
        m_out += "  時刻     分\n";
        for (const ReckonedMark& mark : ReckonedMarks(d, next, form)) {
            AppendPadded(m_out, Number(mark.label), 4, true);
            m_out += "  ";
            AppendPadded(m_out, kBoundaryLabels[mark.label], 12);
            m_out += "  ";
            AppendClock(m_out, mark.minute);
            AppendPadded(m_out, Number(mark.minute), 6, true);
            m_out += '\n';
        }
        m_out += "\n日出 ";
        AppendClock(m_out, d.sunrise);
        m_out += "  日没 ";
        AppendClock(m_out, d.sunset);
        m_out += "  昼の一刻 ";
        AppendSixths(m_out, d.DaylightMinutes());
        m_out += " 分  夜の一刻 ";
        AppendSixths(m_out, d.NightMinutes());
        m_out += " 分\n";
        if (dawn)
            AppendMoonLine(m_out, CalcMoonDayHours(m_request.place, d.date, m_request.options,
                                                   DayStart::kDawn));
        else
            AppendMoonLine(m_out, row.moon);
        m_out += '\n';
    }
    void Moment(const MomentHour& hour, MomentKind kind) override {
        AppendPlaceLine(m_out, m_request.place);
        m_out += '\n';
        AppendProvenanceLines(m_out, m_request.placeProvenance);
        m_out += kind == MomentKind::kAt ? "時刻      " : "現在      ";
        m_out += FormatDate(hour.date);
        m_out += ' ';
        m_out += FormatClock(hour.minute);
        if (const std::string era = FormatEraDates(EraDatesFromJdn(JdnFromCivil(hour.date)));
            !era.empty())
            m_out += "（" + era + "）";
        m_out += '\n';
        AppendNoteLines(m_out, m_request.days, "        ");
        AppendReckoningLine(m_out, m_request);
        if (m_request.dayStart == DayStart::kDawn) {
            const CivilDate day = MomentDay(m_request, hour);
            m_out += "暦日      ";
            AppendDate(m_out, day);
            m_out += "（";
            if (const std::string era = FormatEraDates(EraDatesFromJdn(JdnFromCivil(day)));
                !era.empty())
                m_out += era + "、";
            m_out += "明六つから数える日）\n";
        }
        AppendDefinitionLine(m_out, m_request.options, hour.definition, hour.date, hour.setDate);
        m_out += "刻        ";
        m_out += hour.Label();
        m_out += "（";
        m_out += FormatClock(hour.start);
        m_out += " から、";
        AppendInt(m_out, hour.MinutesInto());
        m_out += " 分経過）\n次の刻    ";
        m_out += hour.NextLabel();
        m_out += ' ';
        m_out += FormatClock(hour.end);
        m_out += "（あと ";
        AppendInt(m_out, hour.MinutesLeft());
        m_out += " 分）\n";
        const MomentNames names = NameMoment(hour);
        m_out += "十二支    " + names.branch + "（" + names.quarter + "）\n上中下刻  " +
                 names.thirdRuling + "（" + std::string(kThirdsRuling) + "）、" +
                 names.thirdCentred + "（" + std::string(kThirdsCentred) + "）\n";
        const MomentMoonText moon = MomentMoon(m_request, hour);
        m_out += "月        高度 ";
        if (moon.altitude[0] != '-')
            m_out += '+';
        m_out += moon.altitude + "°  方位 " + moon.azimuth + "°（北から東回り）\n";
    }
    // Each reading on the civil date it falls on: "1703-01-31 04:06–04:47",
    // a moment "2026-06-21 12:00".
    void Time(const HourMarks& marks, const std::vector<ResolvedReading>& readings) override {
        const CivilDate& date = m_request.days.first;
        AppendPlaceLine(m_out, m_request.place);
        m_out += "  ";
        AppendDate(m_out, date);
        m_out += '\n';
        AppendProvenanceLines(m_out, m_request.placeProvenance);
        AppendNamesLine(m_out, NameDay(JdnFromCivil(date), m_request.place.timeDiff));
        AppendNoteLines(m_out, m_request.days);
        AppendDefinitionLine(m_out, m_request.options, marks.definition, date, marks.setDate);
        AppendReckoningLine(m_out, m_request);
        m_out += "\n刻の名    " + m_request.timeExpression + "\n";
        for (const ResolvedReading& r : readings) {
            AppendPadded(m_out, r.reading.convention, 22);
            m_out += "  ";
            m_out += r.reading.Moment() ? FormatDayMinute(date, r.span.start)
                                        : FormatDaySpan(date, r.span.start, r.span.end);
            m_out += '\n';
        }
    }
    // Name, Latin name, latitude, longitude and time difference; a
    // historical place also its kind, its stations and whether it is the
    // user's.
    void PlaceList(const std::vector<ListedPlace>& places) override {
        for (const auto& [p, latinName, record] : places) {
            AppendPadded(m_out, p.name, 16);
            AppendPadded(m_out, latinName, 26);
            AppendPadded(m_out, FormatDegreesMinutes(p.latDeg, p.latMin), 6, true);
            AppendPadded(m_out, FormatDegreesMinutes(p.lonDeg, p.lonMin), 9, true);
            AppendPadded(m_out, Number(p.timeDiff), 5, true);
            if (record) {
                m_out += "  ";
                AppendPadded(m_out, PlaceKindName(record->kind), 8);
                std::string stops;
                for (const RouteStop& stop : record->stops) {
                    if (!stops.empty())
                        stops += ' ';
                    stops += RouteStopText(stop);
                }
                AppendPadded(m_out, stops, 22);
                if (record->origin == PlaceOrigin::kUser)
                    m_out += "自分の場所 " + Number(record->line) + " 行目";
            }
            TrimLineEnd(m_out);
            m_out += '\n';
        }
    }

private:
    void Cell(const HoursColumn& column, std::string_view text) {
        m_out += column.cell.separator;
        AppendPadded(m_out, text, column.cell.width, column.cell.rightAligned);
    }

    const std::vector<const HoursColumn*> m_columns;
    std::string m_value;
};

class CCsvWriter : public CHoursWriter {
public:
    using CHoursWriter::CHoursWriter;

    void DaysHead() override {
        Fields([this](const HoursColumn& column, int i) {
            if (column.count == 1) {
                m_out += column.name;
                return;
            }
            m_out += 'b';
            m_out += static_cast<char>('0' + i / 10);
            m_out += static_cast<char>('0' + i % 10);
            m_out += column.csvSuffix;
        });
    }
    void DayRow(const HoursRow& row, bool) override {
        Fields([&](const HoursColumn& column, int i) {
            if (column.has && !column.has(row))
                return;
            const std::size_t start = m_out.size();
            column.write(m_out, row, i);
            if (column.type == ColumnType::kFreeText)
                QuoteSince(start);
            // A date of the year before 0 ("-0001-12-21") is text too.
            else if (column.type == ColumnType::kText &&
                     CsvTakesAsFormula(std::string_view(m_out).substr(start)))
                m_out.insert(start, 1, '\'');
        });
    }
    void Moment(const MomentHour& hour, MomentKind kind) override {
        const Place& place = m_request.place;
        m_out += std::string(MomentName(kind)) +
                 ",place,index,label,since,next_index,next_label,next,minutes_to_next,"
                 "minutes_into,dawn_definition,steps,note,day_start,day,sun,branch,quarter,"
                 "third_ruling,third_centred,moon_altitude,moon_azimuth\n";
        const MomentMoonText moon = MomentMoon(m_request, hour);
        m_out +=
            CsvField(Stamp(place, hour)) + ',' + CsvField(place.name) + ',' + Number(hour.index) +
            ',' + std::string(hour.Label()) + ',' + FormatClock(hour.start) + ',' +
            Number(hour.nextIndex) + ',' + std::string(hour.NextLabel()) + ',' +
            FormatClock(hour.end) + ',' + Number(hour.MinutesLeft()) + ',' +
            Number(hour.MinutesInto()) + ',' + std::string(DawnDefinitionName(hour.definition)) +
            ',' + std::string(ClockStepsName(m_request.options.steps)) + ',' +
            CsvField(MomentNote(m_request)) + ',' + std::string(DayStartName(m_request.dayStart)) +
            ',' + CsvField(FormatDate(MomentDay(m_request, hour))) + ',' +
            std::string(SunModelName(m_request.options.sun));
        const MomentNames names = NameMoment(hour);
        m_out += ',' + names.branch + ',' + names.quarter + ',' + names.thirdRuling + ',' +
                 names.thirdCentred + ',' + moon.altitude + ',' + moon.azimuth + '\n';
    }
    void Time(const HourMarks& marks, const std::vector<ResolvedReading>& readings) override {
        const Place& place = m_request.place;
        const CivilDate& date = m_request.days.first;
        m_out += "date,place,expression,convention,start,end,start_min,end_min,dawn_definition,"
                 "steps,sun,day_start,note\n";
        for (const ResolvedReading& r : readings)
            m_out += CsvField(FormatDate(date)) + ',' + CsvField(place.name) + ',' +
                     CsvField(m_request.timeExpression) + ',' + CsvField(r.reading.convention) +
                     ',' + CsvField(StampOf(place, date, r.span.start)) + ',' +
                     CsvField(StampOf(place, date, r.span.end)) + ',' + Number(r.span.start) + ',' +
                     Number(r.span.end) + ',' + std::string(DawnDefinitionName(marks.definition)) +
                     ',' + std::string(ClockStepsName(m_request.options.steps)) + ',' +
                     std::string(SunModelName(m_request.options.sun)) + ',' +
                     std::string(DayStartName(m_request.dayStart)) + ',' +
                     CsvField(MomentNote(m_request)) + '\n';
    }
    // The columns of older versions first, then the Latin name and the
    // signed decimal degrees, then where the place comes from: its kind,
    // reading and stations, and for a historical place its source row with
    // the source's own decimal degrees, the municipality and the note.
    void PlaceList(const std::vector<ListedPlace>& places) override {
        m_out += "name,latitude,longitude,tz,latin_name,lat,lon,origin,kind,reading,romaji,route,"
                 "station_no,source_dataset,source_id,source_name,source_latitude,"
                 "source_longitude,modern_municipality,note,line\n";
        for (const ListedPlace& listed : places) {
            const Place& p = listed.place;
            m_out += CsvField(p.name) + ',' + CsvField(FormatDegreesMinutes(p.latDeg, p.latMin)) +
                     ',' + CsvField(FormatDegreesMinutes(p.lonDeg, p.lonMin)) + ',' +
                     Number(p.timeDiff) + ',' + CsvField(listed.latinName) + ',';
            AppendDecimalDegrees(m_out, p.latDeg, p.latMin);
            m_out += ',';
            AppendDecimalDegrees(m_out, p.lonDeg, p.lonMin);
            m_out += ',' + std::string(OriginName(listed));
            if (const PlaceRecord* r = listed.record) {
                for (std::string_view text :
                     {PlaceKindName(r->kind), r->reading, std::string_view(r->romaji)})
                    m_out += ',' + CsvField(text);
                m_out += ',' + CsvField(StopRoutes(*r)) + ',' + StopNumbers(*r);
                for (std::string_view text : {r->sourceDataset, r->sourceId, r->sourceName,
                                              r->latitude, r->longitude, r->municipality, r->note})
                    m_out += ',' + CsvField(text);
                m_out += ',' + (r->origin == PlaceOrigin::kUser ? Number(r->line) : std::string());
            } else {
                m_out += std::string(13, ',');
            }
            m_out += '\n';
        }
    }

private:
    // field(column, index) for each field of a line, in order, with the
    // commas between; then the line's end.
    template <typename Field> void Fields(Field field) {
        bool first = true;
        for (const HoursColumn* column : CsvColumns()) {
            for (int i = 0; i < column->count; ++i) {
                if (!first)
                    m_out += ',';
                first = false;
                field(*column, i);
            }
        }
        m_out += '\n';
    }
    // The text field written from start on, made a CSV text cell.
    void QuoteSince(std::size_t start) {
        const std::string cell = CsvField(std::string_view(m_out).substr(start));
        m_out.replace(start, std::string::npos, cell);
    }
};

class CJsonWriter : public CHoursWriter {
public:
    using CHoursWriter::CHoursWriter;

    void DaysHead() override {
        m_out += "{\"place\": ";
        AppendPlace(m_request.place);
        m_out += ",\n \"options\": {\"dawn\": \"";
        m_out += DawnDefinitionName(m_request.options.dawn);
        m_out += "\", \"steps\": \"";
        m_out += ClockStepsName(m_request.options.steps);
        m_out += "\", \"sun\": \"";
        m_out += SunModelName(m_request.options.sun);
        m_out += "\"},\n \"labels\": [";
        for (int i = 0; i < kBoundaryCount; ++i) {
            m_out += i ? ", " : "";
            m_out += JsonString(kBoundaryLabels[i]);
        }
        m_out += "],\n \"days\": [\n";
    }
    void DayRow(const HoursRow& row, bool last) override {
        const char* separator = "  {";
        for (const HoursColumn* c : JsonColumns()) {
            const HoursColumn& column = *c;
            m_out += separator;
            separator = ", ";
            m_out += '"';
            m_out += column.name;
            m_out += "\": ";
            if (column.count == 1) {
                Value(column, row, 0);
                continue;
            }
            m_out += '[';
            for (int i = 0; i < column.count; ++i) {
                if (i)
                    m_out += ',';
                Value(column, row, i);
            }
            m_out += ']';
        }
        m_out += last ? "}\n" : "},\n";
    }
    void DaysEnd() override { m_out += " ]}\n"; }
    void Moment(const MomentHour& hour, MomentKind kind) override {
        m_out += "{\"place\": ";
        AppendPlace(m_request.place);
        m_out += ",\n \"" + std::string(MomentName(kind)) + "\": \"" +
                 Stamp(m_request.place, hour) + "\", \"minute\": " + Number(hour.minute) +
                 ",\n \"current\": {\"index\": " + Number(hour.index) +
                 ", \"label\": " + JsonString(hour.Label()) + ", \"since\": \"" +
                 FormatClock(hour.start) + "\", \"since_min\": " + Number(hour.start) +
                 "},\n \"next\": {\"index\": " + Number(hour.nextIndex) +
                 ", \"label\": " + JsonString(hour.NextLabel()) + ", \"time\": \"" +
                 FormatClock(hour.end) + "\", \"time_min\": " + Number(hour.end) +
                 "},\n \"minutes_to_next\": " + Number(hour.MinutesLeft()) +
                 ", \"minutes_into\": " + Number(hour.MinutesInto()) +
                 ",\n \"dawn_definition\": \"" + std::string(DawnDefinitionName(hour.definition)) +
                 "\", \"steps\": \"" + std::string(ClockStepsName(m_request.options.steps)) +
                 "\", \"sun\": \"" + std::string(SunModelName(m_request.options.sun)) +
                 "\",\n \"note\": " +
                 (MomentNote(m_request).empty() ? std::string("null")
                                                : JsonString(MomentNote(m_request))) +
                 ", \"day_start\": \"" + std::string(DayStartName(m_request.dayStart)) +
                 "\", \"day\": \"" + FormatDate(MomentDay(m_request, hour)) + "\"";
        const MomentNames names = NameMoment(hour);
        m_out += ",\n \"branch\": " + JsonString(names.branch) +
                 ", \"quarter\": " + JsonString(names.quarter) +
                 ", \"third_ruling\": " + JsonString(names.thirdRuling) +
                 ", \"third_centred\": " + JsonString(names.thirdCentred) +
                 ",\n \"moon\": {\"altitude\": " + MomentMoon(m_request, hour).altitude +
                 ", \"azimuth\": " + MomentMoon(m_request, hour).azimuth + "}}\n";
    }
    void Time(const HourMarks& marks, const std::vector<ResolvedReading>& readings) override {
        const Place& place = m_request.place;
        const CivilDate& date = m_request.days.first;
        m_out += "{\"place\": ";
        AppendPlace(place);
        m_out += ",\n \"date\": \"" + FormatDate(date) + "\", \"dawn_definition\": \"" +
                 std::string(DawnDefinitionName(marks.definition)) + "\", \"steps\": \"" +
                 std::string(ClockStepsName(m_request.options.steps)) + "\", \"sun\": \"" +
                 std::string(SunModelName(m_request.options.sun)) + "\", \"day_start\": \"" +
                 std::string(DayStartName(m_request.dayStart)) + "\", \"note\": " +
                 (MomentNote(m_request).empty() ? std::string("null")
                                                : JsonString(MomentNote(m_request))) +
                 ",\n \"time\": {\"expression\": " + JsonString(m_request.timeExpression) +
                 ", \"readings\": [";
        for (std::size_t i = 0; i < readings.size(); ++i) {
            const HourSpan& span = readings[i].span;
            m_out += i ? ",\n   " : "\n   ";
            m_out += "{\"convention\": " + JsonString(readings[i].reading.convention) +
                     ", \"start\": \"" + StampOf(place, date, span.start) + "\", \"end\": \"" +
                     StampOf(place, date, span.end) + "\", \"start_min\": " + Number(span.start) +
                     ", \"end_min\": " + Number(span.end) + "}";
        }
        m_out += "]}}\n";
    }
    void PlaceList(const std::vector<ListedPlace>& places) override {
        m_out += "[\n";
        for (std::size_t i = 0; i < places.size(); ++i) {
            m_out += ' ';
            AppendPlace(places[i].place, places[i].latinName, &places[i]);
            m_out += i + 1 < places.size() ? ",\n" : "\n";
        }
        m_out += "]\n";
    }

private:
    // {"name": "横浜", "latitude": "+35:27", "longitude": "+139:39", "tz": 9,
    //  "lat": 35.45, "lon": 139.65}: the degrees and minutes as text, as
    // older versions wrote them, then the same angles as signed decimal
    // degrees; a place of the list also with "latin_name" and where it comes
    // from; the place of a run, when it is a historical one, with "source"
    // and "source_note" as the table says them.
    void AppendPlace(const Place& p, std::string_view latinName = {},
                     const ListedPlace* listed = nullptr) {
        m_out += "{\"name\": ";
        m_out += JsonString(p.name);
        m_out += ", \"latitude\": \"";
        m_out += FormatDegreesMinutes(p.latDeg, p.latMin);
        m_out += "\", \"longitude\": \"";
        m_out += FormatDegreesMinutes(p.lonDeg, p.lonMin);
        m_out += "\", \"tz\": ";
        AppendInt(m_out, p.timeDiff);
        m_out += ", \"lat\": ";
        AppendDecimalDegrees(m_out, p.latDeg, p.latMin);
        m_out += ", \"lon\": ";
        AppendDecimalDegrees(m_out, p.lonDeg, p.lonMin);
        if (!latinName.empty()) {
            m_out += ", \"latin_name\": ";
            m_out += JsonString(latinName);
        }
        if (listed) {
            m_out += ", \"origin\": \"" + std::string(OriginName(*listed)) + "\"";
            if (listed->record)
                AppendRecord(*listed->record);
        } else if (!m_request.placeProvenance.source.empty()) {
            m_out += ", \"source\": " + JsonString(m_request.placeProvenance.source) +
                     ", \"source_note\": " + NullOrString(m_request.placeProvenance.note);
        }
        m_out += "}";
    }
    static std::string NullOrString(std::string_view text) {
        return text.empty() ? std::string("null") : JsonString(text);
    }
    // The fields of a historical place or one of the user's: kind, reading,
    // romaji and stations, then its source with the source's own decimal
    // degrees as text, the municipality, the note and the user's file's line.
    void AppendRecord(const PlaceRecord& r) {
        m_out += ", \"kind\": " + NullOrString(PlaceKindName(r.kind)) +
                 ", \"reading\": " + NullOrString(r.reading) +
                 ", \"romaji\": " + NullOrString(r.romaji) + ", \"stations\": [";
        for (std::size_t i = 0; i < r.stops.size(); ++i) {
            if (i)
                m_out += ", ";
            m_out += "{\"route\": " + JsonString(PlaceRouteName(r.stops[i].route)) +
                     ", \"number\": " + Number(r.stops[i].number) + "}";
        }
        m_out += "], \"source\": {\"dataset\": " + NullOrString(r.sourceDataset) +
                 ", \"id\": " + NullOrString(r.sourceId) +
                 ", \"name\": " + NullOrString(r.sourceName) +
                 ", \"latitude\": " + JsonString(r.latitude) +
                 ", \"longitude\": " + JsonString(r.longitude) +
                 "}, \"modern_municipality\": " + NullOrString(r.municipality) +
                 ", \"note\": " + NullOrString(r.note) + ", \"line\": " +
                 (r.origin == PlaceOrigin::kUser ? Number(r.line) : std::string("null"));
    }
    // A value: a number as written, a text as a JSON string, null where the
    // row has none.
    void Value(const HoursColumn& column, const HoursRow& row, int index) {
        if (column.has && !column.has(row)) {
            m_out += "null";
            return;
        }
        switch (column.type) {
        case ColumnType::kNumber:
            column.write(m_out, row, index);
            return;
        case ColumnType::kText:
            m_out += '"';
            column.write(m_out, row, index);
            m_out += '"';
            return;
        case ColumnType::kFreeText:
            m_value.clear();
            column.write(m_value, row, index);
            m_out += JsonString(m_value);
            return;
        }
    }

    std::string m_value;
};

// An iCalendar file of the run's days (report/hours_ics.h); a moment, the
// readings of an hour name and the place list are not asked of it.
class CIcsWriter : public CHoursWriter {
public:
    using CHoursWriter::CHoursWriter;

    void DaysHead() override { AppendIcsHead(m_out, m_request.place.name); }
    void DayRow(const HoursRow& row, bool) override {
        AppendIcsDay(m_out, row, m_request.icsRokuyo, m_request.now);
    }
    void DaysEnd() override { AppendIcsEnd(m_out); }
    void Moment(const MomentHour&, MomentKind) override {}
    void Time(const HourMarks&, const std::vector<ResolvedReading>&) override {}
    void PlaceList(const std::vector<ListedPlace>&) override {}
};

std::unique_ptr<CHoursWriter> MakeWriter(const HoursRequest& request, std::string& out) {
    switch (request.format) {
    case HoursFormat::kIcs:
        return std::make_unique<CIcsWriter>(request, out);
    case HoursFormat::kCsv:
        return std::make_unique<CCsvWriter>(request, out);
    case HoursFormat::kJson:
        return std::make_unique<CJsonWriter>(request, out);
    case HoursFormat::kTable:
        break;
    }
    return std::make_unique<CTableWriter>(request, out);
}

} // namespace

std::string_view OutputStart(const HoursRequest& request) {
    return request.byteOrderMark ? kUtf8ByteOrderMark : std::string_view();
}

bool WriteHours(const HoursRequest& request, std::string& out, const OutputDrain& drain) {
    const DateRange& days = request.days;
    // About 400 bytes a CSV day and 800 a JSON day: room for a year, or for
    // one piece of streamed output, in one allocation.
    const std::size_t perDay = request.format == HoursFormat::kJson ? 850 : 450;
    std::size_t room = perDay * static_cast<std::size_t>(days.dayCount) + 1024;
    if (drain)
        room = std::min(room, kOutputChunk + 4096);
    out.reserve(out.size() + room);

    const std::unique_ptr<CHoursWriter> writer = MakeWriter(request, out);
    CPeriodCalculator calc(request.place, request.options);
    CMoonCalculator moonCalc(request.place);
    const int timeDiff = request.place.timeDiff;
    // Day date's row: the day, its names, the note of its date as read and
    // its Moon.
    const auto write = [&](const CivilDate& date, bool last) {
        const DayHours day = calc.Compute(date);
        const int jdn = JdnFromCivil(date);
        const DayNames names = NameDay(jdn, timeDiff);
        const MoonDay moon = moonCalc.Day(jdn);
        const HoursRow row{day, request.place, names, days.NoteOn(date), moon};
        if (days.ranged)
            writer->DayRow(row, last);
        else
            writer->OneDay(row);
    };
    if (!days.ranged) {
        write(days.first, true);
        return true;
    }
    writer->DaysHead();
    const std::int64_t first = DaysFromCivil(days.first);
    for (int i = 0; i < days.dayCount; ++i) {
        write(CivilFromDays(first + i), i + 1 == days.dayCount);
        // After each row: hand over a full piece.
        if (drain && out.size() >= kOutputChunk && !drain(out))
            return false;
    }
    writer->DaysEnd();
    return true;
}

void WriteMomentHour(const HoursRequest& request, const MomentHour& hour, MomentKind kind,
                     std::string& out) {
    MakeWriter(request, out)->Moment(hour, kind);
}

void WriteAtHour(const HoursRequest& request, std::string& out) {
    // The clock time on the date as its day is reckoned: under dawn, the
    // small hours before its 明六つ are those after its night. An hour
    // name's moment is where its reading begins.
    const int minute =
        request.atReading
            ? ResolveReading(*request.atReading,
                             MarksAround(request.place, request.days.first, request.options),
                             request.dayStart)
                  .start
            : ReckonedMinute(CalcDayHours(request.place, request.days.first, request.options),
                             request.atMinute, request.dayStart);
    WriteMomentHour(request,
                    FindMomentHour(request.place, request.days.first, minute, request.options),
                    MomentKind::kAt, out);
}

void WriteTimeReadings(const HoursRequest& request, std::string& out) {
    const HourMarks marks = MarksAround(request.place, request.days.first, request.options);
    MakeWriter(request, out)
        ->Time(marks, ResolveReadings(request.timeReadings, marks, request.dayStart));
}

void WriteDayNames(const HoursRequest& request, std::string& out) {
    const CivilDate& date = request.days.first;
    AppendDate(out, date);
    out += "  ";
    AppendNamesLine(out, NameDay(JdnFromCivil(date), request.place.timeDiff));
    AppendNoteLines(out, request.days);
}

void WritePlaceList(const HoursRequest& request, const CPlaceBook& book, std::string& out) {
    std::vector<ListedPlace> places;
    const PlaceFilter& filter = request.placeFilter;
    if (!filter.kind && !filter.route && !filter.origin)
        for (std::size_t i = 0; i < kPresetPlaceCount; ++i)
            places.push_back({ParseLocationEntry(kPresetPlaces[i]), kPresetLatinNames[i]});
    for (const PlaceRecord* record : book.Search({}, filter))
        places.push_back({record->ToPlace(), record->latinName, record});
    MakeWriter(request, out)->PlaceList(places);
}

} // namespace tolmeri
