#include "items/sitecheck.h"

#include <QBoxLayout>
#include <QLabel>
#include <QListWidget>

sitecheck::sitecheck(const QString& folder, const std::vector<std::string>& findings,
                     QWidget* parent)
    : DialogFrame(QStringLiteral("Check Site"), parent) {
    content()->addWidget(new QLabel(QStringLiteral("Site folder: ") + folder, this));
    auto* summary = new QLabel(
        findings.empty()
            ? QStringLiteral("Nothing found: every page serves its visitors well.")
            : QStringLiteral("%1 things to look at. Open one to go to its page and item.")
                  .arg(findings.size()),
        this);
    summary->setObjectName(QStringLiteral("summary"));
    content()->addWidget(summary);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("findings"));
    list_->setWordWrap(true);
    list_->setMinimumSize(640, 320);
    for (const std::string& finding : findings) {
        list_->addItem(QString::fromStdString(finding));
    }
    list_->setCurrentRow(findings.empty() ? -1 : 0);
    content()->addWidget(list_);
    connect(list_, &QListWidget::itemActivated, this, [this] { open(); });
    // OK opens the line chosen.
    addOkCancel();
    connect(this, &QDialog::accepted, this, [this] {
        if (list_->currentRow() >= 0) {
            opened_ = static_cast<std::size_t>(list_->currentRow());
        }
    });
}

void sitecheck::open() {
    if (list_->currentRow() >= 0) {
        accept();
    }
}
