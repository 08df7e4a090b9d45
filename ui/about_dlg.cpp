#include "about_dlg.h"

#include "dialogs.h"

CAboutDlg::CAboutDlg(QWidget* parent) : CDialog(res::kAboutDialog, parent) {}
