#pragma once

#include <QDialog>

// "About Quellmark": the picture, the version line and the author line as
// a link.
class CAboutDlg : public QDialog {
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};
