#include "ui/about_dlg.h"

#include "ui/app_icon.h"
#include "ui/dialog_template.h"

#include <QPushButton>

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    BuildDialog(this, kAboutTemplate);
    setWindowIcon(AppIcon());
    connect(FindControlAs<QPushButton>(this, IDC_ABOUT_OK), &QPushButton::clicked, this, &QDialog::accept);
}
