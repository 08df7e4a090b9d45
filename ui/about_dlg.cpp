#include "ui/about_dlg.h"

#include "res/dialogs.h"

CAboutDlg::CAboutDlg(QWidget* parent) : CDialog(res::kAboutDialog, parent) {}
