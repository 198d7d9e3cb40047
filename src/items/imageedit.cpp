#include "items/imageedit.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <optional>
#include <string>

#include "files/picture_size.h"
#include "platform/prompts.h"
#include "ui/picture_button.h"

imageedit::imageedit(const QString& sourceFile, const QString& linkTarget, Prompts& prompts,
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
