#include "textedit/spelldialog.h"

#include <QBoxLayout>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include "ui/picture_button.h"

spelldialog::spelldialog(const QString& word, const QString& suggestions, QWidget* parent)
    : DialogFrame(QStringLiteral("Quill Spellcheck"), parent) {
    answer_.replacement = word.toStdString();
    const QFont font(QStringLiteral("Times New Roman"), 12);
    content()->addWidget(new QLabel(QStringLiteral("The following word was not found:"), this));
    edit_ = new QLineEdit(word, this);
    edit_->setObjectName(QStringLiteral("replacement"));
    edit_->setFont(font);
    content()->addWidget(edit_);
    content()->addWidget(new QLabel(QStringLiteral("Retype OR select a replacement word:"), this));
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("suggestions"));
    list_->setFont(font);
    if (suggestions.size() > 1) {
        for (const QString& suggestion : suggestions.split(QLatin1Char(' '))) {
            if (!suggestion.isEmpty()) {
                list_->addItem(suggestion);
            }
        }
    }
    content()->addWidget(list_);
    content()->addWidget(new QLabel(QStringLiteral("Choose an action:"), this));
    connect(list_, &QListWidget::currentTextChanged, this, [this](const QString& chosen) {
        edit_->setText(chosen);
        answer_.replacement = chosen.toStdString();
    });
    // Enter acts as update.
    connect(edit_, &QLineEdit::returnPressed, this, &QDialog::accept);

    auto* update = new PictureButton(QStringLiteral("update"), this);
    auto* ignore = new PictureButton(QStringLiteral("ignore"), this);
    auto* dictionary = new PictureButton(QStringLiteral("dictionary"), this);
    connect(update, &QAbstractButton::clicked, this, &QDialog::accept);
    // Ignore leaves the word, or the suggestion chosen last, in the text.
    connect(ignore, &QAbstractButton::clicked, this, &QDialog::reject);
    connect(dictionary, &QAbstractButton::clicked, this, [this] {
        answer_.addWord = true;
        accept();
    });
    auto* actions = new QHBoxLayout();
    for (PictureButton* button : {update, ignore, dictionary}) {
        actions->addWidget(button);
    }
    content()->addLayout(actions);
    addButton(QStringLiteral("dialog_cancel"), QDialog::Rejected);
    connect(findChild<PictureButton*>(QStringLiteral("dialog_cancel")), &QAbstractButton::clicked,
            this, [this] { answer_.cancelAll = true; });
}

void spelldialog::accept() {
    answer_.replacement = edit_->text().toStdString();
    DialogFrame::accept();
}
