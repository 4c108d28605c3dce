#pragma once

#include <QDialogButtonBox>
#include <QString>

class QDialog;
class QPushButton;

// The row of buttons under a dialog: the default button accepts it, the
// other rejects it.
struct DialogButtons {
    QDialogButtonBox* box;
    QPushButton* accept;
    QPushButton* reject;
};

DialogButtons MakeDialogButtons(QDialog& dialog, const QString& acceptText = "OK",
                                const QString& rejectText = "Cancel");
