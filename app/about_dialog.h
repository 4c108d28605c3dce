#pragma once

#include <QDialog>

class DesktopActions;
class PromptService;

// "About Quellmark": the picture, the version line and the author line as
// a link that writes a mail to the authors.
class CAboutDlg : public QDialog {
public:
    static constexpr int kAuthorLineId = 1037;

    // Both are borrowed: the link opens through the desktop, and a link
    // that cannot be opened is told through the prompts.
    CAboutDlg(PromptService& prompts, DesktopActions& desktop, QWidget* parent = nullptr);
};
