#include "items/pageoptions.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace {

std::optional<std::string> Given(const QLineEdit* field) {
    const std::string text = field->text().trimmed().toStdString();
    return text.empty() ? std::nullopt : std::optional<std::string>(text);
}

}  // namespace

pageoptions::pageoptions(const PageOptions& current, const QString& ownLanguage, QWidget* parent)
    : DialogFrame(QStringLiteral("Page Options"), parent) {
    content()->addWidget(new QLabel(
        QStringLiteral("Language of the page (a language tag, such as en, en-GB or de):"), this));
    language_ = new QLineEdit(
        current.language ? QString::fromStdString(*current.language) : ownLanguage, this);
    // Language tags: letters, digits and hyphens.
    language_->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[A-Za-z]{0,8}(-[A-Za-z0-9]{0,8}){0,4}")), language_));
    addEntry(language_, QStringLiteral("language"));
    content()->addWidget(new QLabel(
        QStringLiteral("Description (one line, shown by search engines under the title):"), this));
    description_ = new QLineEdit(QString::fromStdString(current.description.value_or("")), this);
    description_->setMinimumWidth(420);
    addEntry(description_, QStringLiteral("description"));
    noSiteItems_ = new QCheckBox(QStringLiteral("No site items on this page"), this);
    noSiteItems_->setObjectName(QStringLiteral("noSiteItems"));
    noSiteItems_->setChecked(current.noSiteItems);
    noSiteItems_->setToolTip(
        QStringLiteral("Leaves out the items the site folder shows on every page (a header, a "
                       "menu, a footer), here and in the published page."));
    content()->addWidget(noSiteItems_);
    addOkCancel();
}

std::optional<std::string> pageoptions::language() const {
    return Given(language_);
}

std::optional<std::string> pageoptions::description() const {
    return Given(description_);
}

bool pageoptions::noSiteItems() const {
    return noSiteItems_->isChecked();
}
