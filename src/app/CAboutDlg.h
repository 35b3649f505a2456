// The about box: icon, version and copyright, one OK button.
#pragma once

#include <QDialog>

class CAboutDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget *parent = nullptr);
};
