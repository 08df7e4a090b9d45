// ui: the About box (ﾊﾞｰｼﾞｮﾝ情報), opened from the main dialog's window menu.
// Its template says everything; OK, Enter, Escape and the close box end it.
#pragma once

#include "framework/dialog.h"

class CAboutDlg : public CDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};
