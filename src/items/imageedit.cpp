#include "items/imageedit.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <optional>
#include <string>

#include "files/picture_size.h"
#include "platform/prompts.h"
#include "ui/picture_button.h"

imageedit::imageedit(const QString& sourceFile, const QString& linkTarget,
                     const std::optional<std::string>& description, Prompts& prompts,
                     QWidget* parent)
    : DialogFrame(QStringLiteral("Image Properties"), parent), prompts_(prompts) {
    auto* grid = new QGridLayout();
    source_ = new QLineEdit(sourceFile, this);
    source_->setObjectName(QStringLiteral("sourceFile"));
    source_->setMinimumWidth(360);
    auto* replace = new PictureButton(QStringLiteral("replace"), this);
    link_ = new QLineEdit(linkTarget, this);
    link_->setObjectName(QStringLiteral("linkTarget"));
    grid->addWidget(new QLabel(QStringLiteral("Source File:"), this), 0, 0);
    grid->addWidget(source_, 0, 1);
    grid->addWidget(replace, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Link target:"), this), 1, 0);
    grid->addWidget(link_, 1, 1, 1, 2);
    description_ = new QLineEdit(QString::fromStdString(description.value_or("")), this);
    description_->setObjectName(QStringLiteral("description"));
    decorative_ = new QCheckBox(QStringLiteral("Decoration only: nothing to describe"), this);
    decorative_->setObjectName(QStringLiteral("decorative"));
    decorative_->setChecked(description && description->empty());
    description_->setEnabled(!decorative_->isChecked());
    connect(decorative_, &QCheckBox::toggled, description_,
            [this](bool decoration) { description_->setEnabled(!decoration); });
    grid->addWidget(
        new QLabel(QStringLiteral("Description (for people who cannot see the picture):"), this), 2,
        0, 1, 3);
    grid->addWidget(description_, 3, 0, 1, 3);
    grid->addWidget(decorative_, 4, 0, 1, 3);
    content()->addLayout(grid);
    connect(replace, &QAbstractButton::clicked, this, &imageedit::replace);
    addOkCancel();
}

void imageedit::replace() {
    const std::optional<std::string> chosen = prompts_.openFileName({kPictureFilter, ""});
    if (chosen && chosen->size() > 1) {
        source_->setText(QString::fromStdString(*chosen));
    }
}

QString imageedit::sourceFile() const {
    return source_->text();
}

QString imageedit::linkTarget() const {
    return link_->text();
}

std::optional<std::string> imageedit::description() const {
    if (decorative_->isChecked()) {
        return std::string();
    }
    const std::string text = description_->text().trimmed().toStdString();
    return text.empty() ? std::nullopt : std::optional<std::string>(text);
}
