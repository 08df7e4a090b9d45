#include "ui/box_checks.h"

#include <algorithm>

#include "core/accepted_ranges.h"
#include "framework/data_exchange.h"
#include "framework/dialog.h"
#include "framework/message_box.h"

namespace tolmeri {

namespace {

bool Contains(std::span<const int> boxes, int boxId) {
    return std::ranges::find(boxes, boxId) != boxes.end();
}

} // namespace

std::optional<MainBox> MainBoxOf(int boxId) {
    for (const MainBox box : kExchangeOrder)
        if (BoxId(box) == boxId)
            return box;
    return std::nullopt;
}

Place BoxValues::ToPlace() const {
    return ToFields().ToPlace();
}

CivilDate BoxValues::ToDate() const {
    return fields.ToDate();
}

MainFields BoxValues::ToFields() const {
    MainFields out = fields;
    out.name = name.toStdString();
    return out;
}

BoxValues BoxValues::Of(const MainFields& f) {
    return {f, QString::fromStdString(f.name)};
}

void ExchangeBoxes(CDataExchange* pDX, BoxValues& values, std::span<const int> boxes) {
    for (const MainBox box : kExchangeOrder) {
        const int id = BoxId(box);
        if (!Contains(boxes, id))
            continue;
        if (box != MainBox::kName) {
            DDX_Text(pDX, id, BoxField(values.fields, box));
            continue;
        }
        DDX_Text(pDX, id, values.name);
        DDV_MaxChars(pDX, values.name, kPlaceNameMaxBytes);
    }
}

bool BoxAccepts(int boxId, const BoxValues& values) {
    const std::optional<MainBox> box = MainBoxOf(boxId);
    return !box || tolmeri::BoxAccepts(*box, values.ToFields());
}

QString BoxCheckMessage(int boxId, const BoxValues& values) {
    const std::optional<MainBox> box = MainBoxOf(boxId);
    return box ? QString::fromStdString(tolmeri::BoxCheckMessage(*box, values.ToFields()))
               : QString();
}

BoxReading ReadMainBoxes(const CDialog& main, BoxReport report, std::span<const int> boxes) {
    // The exchange only reads the boxes; a loud one may also move the focus.
    CDialog& dialog = const_cast<CDialog&>(main);
    CDataExchange dx(&dialog, true, report == BoxReport::kSilent);
    BoxReading reading;
    ExchangeBoxes(&dx, reading.values, boxes);
    if (dx.Failed()) {
        reading.refusedBox = dx.m_idLastControl;
        return reading;
    }
    const bool withLongitude = Contains(boxes, IDC_LONGITUDE_DEGREES);
    for (int id : kCheckedBoxes) {
        if (!Contains(boxes, id))
            continue;
        const bool accepted = id == IDC_TIME_DIFFERENCE && !withLongitude
                                  ? kTimeDifferenceRange.Contains(reading.values.fields.timeDiff)
                                  : BoxAccepts(id, reading.values);
        if (accepted)
            continue;
        reading.refusedBox = id;
        if (report == BoxReport::kLoud)
            afx::MessageBox(&dialog, BoxCheckMessage(id, reading.values), afx::MbIcon::kNone);
        dx.m_idLastControl = id;
        dx.Fail();
        return reading;
    }
    return reading;
}

} // namespace tolmeri
