#include "hosting/agreement.h"

#include <QBoxLayout>
#include <QPlainTextEdit>

agreement::agreement(const QString& text, QWidget* parent)
    : DialogFrame(QStringLiteral("Corvala Folder Agreement"), parent) {
    auto* terms = new QPlainTextEdit(text, this);
    terms->setObjectName(QStringLiteral("terms"));
    terms->setReadOnly(true);
    terms->setMinimumSize(420, 160);
    content()->addWidget(terms);
    addButton(QStringLiteral("accept"), QDialog::Accepted);
    addButton(QStringLiteral("decline"), QDialog::Rejected);
}
