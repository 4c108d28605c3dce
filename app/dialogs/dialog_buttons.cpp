#include "dialog_buttons.h"

#include <QDialog>
#include <QPushButton>

DialogButtons MakeDialogButtons(QDialog& dialog, const QString& acceptText, const QString& rejectText) {
    auto* box = new QDialogButtonBox;
    QPushButton* accept = box->addButton(acceptText, QDialogButtonBox::AcceptRole);
    QPushButton* reject = box->addButton(rejectText, QDialogButtonBox::RejectRole);
    accept->setDefault(true);
    QObject::connect(box, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return {box, accept, reject};
}
