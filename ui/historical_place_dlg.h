// ui: 歴史地名から選ぶ, opened from the main dialog's window menu. It lists the
// historical places and the user's own (core/places.h), narrows the list as
// a name, reading or romaji is typed and by kind (a route's stations in the
// route's order), says where the chosen place's point comes from, and hands
// the place back, its name fitted to the name box (core/places.h'
// FitPlaceName), for the main dialog to take as it takes a preset. The
// kinds offered, the rows' columns and the chosen place's description are
// the core's (PlaceChoices, PlaceWhere, PlaceListAngle, PlaceDetail), which
// the web edition's list shows too.
#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "core/place.h"
#include "core/places.h"
#include "framework/dialog.h"

class CHistoricalPlaceDlg : public CDialog {
    Q_OBJECT
public:
    explicit CHistoricalPlaceDlg(QWidget* parent = nullptr);

    // After OK: the chosen place, its name fitted to the name box; empty
    // after a cancel.
    std::optional<tolmeri::Place> m_place;

    // The places as the dialog read them when it opened (the table and the
    // user's file), and those the list shows, row by row.
    const tolmeri::CPlaceBook& Book() const { return *m_book; }
    const std::vector<const tolmeri::PlaceRecord*>& Shown() const { return m_shown; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The list anew for the search box's text and the kind box's choice.
    void Refill();
    // What the selected place is and where its point comes from.
    void ShowDetail();
    int SelectedRow() const;

    std::optional<tolmeri::CPlaceBook> m_book;
    std::vector<const tolmeri::PlaceRecord*> m_shown;
};
