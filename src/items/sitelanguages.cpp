#include "items/sitelanguages.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <algorithm>

#include "page/site_languages.h"

sitelanguages::sitelanguages(const QString& folder, const std::vector<std::string>& current,
                             QWidget* parent)
    : DialogFrame(QStringLiteral("Languages"), parent), languages_(current) {
    content()->addWidget(new QLabel(QStringLiteral("Site folder: ") + folder, this));
    content()->addWidget(new QLabel(
        QStringLiteral("The first language is the main one: its pages stay at the folder's "
                       "root, each other one's go into a folder named by its tag."),
        this));
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("languages"));
    content()->addWidget(list_);
    auto* adding = new QHBoxLayout();
    tag_ = new QLineEdit(this);
    tag_->setObjectName(QStringLiteral("tag"));
    tag_->setPlaceholderText(QStringLiteral("fr, de, pt-BR"));
    tag_->setToolTip(QStringLiteral("A language tag (BCP 47): fr, de, es, pt-BR"));
    auto* add = new QPushButton(QStringLiteral("Add"), this);
    add->setObjectName(QStringLiteral("add"));
    adding->addWidget(tag_);
    adding->addWidget(add);
    content()->addLayout(adding);
    auto* choices = new QHBoxLayout();
    auto* remove = new QPushButton(QStringLiteral("Remove"), this);
    remove->setObjectName(QStringLiteral("remove"));
    auto* main = new QPushButton(QStringLiteral("Make Main Language"), this);
    main->setObjectName(QStringLiteral("main"));
    choices->addWidget(remove);
    choices->addWidget(main);
    content()->addLayout(choices);
    problem_ = new QLabel(this);
    problem_->setObjectName(QStringLiteral("problem"));
    problem_->setStyleSheet(QStringLiteral("color: #a00000"));
    problem_->hide();
    content()->addWidget(problem_);
    connect(add, &QPushButton::clicked, this, &sitelanguages::add);
    connect(tag_, &QLineEdit::returnPressed, this, &sitelanguages::add);
    connect(remove, &QPushButton::clicked, this, &sitelanguages::removeChosen);
    connect(main, &QPushButton::clicked, this, &sitelanguages::makeMain);
    addOkCancel();
    showLanguages();
}

void sitelanguages::showLanguages() {
    list_->clear();
    for (std::size_t i = 0; i < languages_.size(); ++i) {
        const std::string& tag = languages_[i];
        list_->addItem(QString::fromStdString(OwnLanguageName(tag) + " (" + tag + ")" +
                                              (i == 0 ? " \u2014 main language" : "")));
    }
}

void sitelanguages::add() {
    const std::string typed = tag_->text().trimmed().toStdString();
    const std::optional<std::vector<std::string>> tags = LanguageList(typed);
    if (!tags || tags->empty()) {
        problem_->setText(QStringLiteral("\"%1\" is not a language tag, such as fr, de or pt-BR.")
                              .arg(tag_->text()));
        problem_->show();
        return;
    }
    problem_->hide();
    std::vector<std::string> joined = languages_;
    joined.insert(joined.end(), tags->begin(), tags->end());
    languages_ = *LanguageList(LanguageListText(joined));
    tag_->clear();
    showLanguages();
}

void sitelanguages::removeChosen() {
    const int row = list_->currentRow();
    if (row >= 0 && static_cast<std::size_t>(row) < languages_.size()) {
        languages_.erase(languages_.begin() + row);
        showLanguages();
    }
}

void sitelanguages::makeMain() {
    const int row = list_->currentRow();
    if (row > 0 && static_cast<std::size_t>(row) < languages_.size()) {
        std::rotate(languages_.begin(), languages_.begin() + row, languages_.begin() + row + 1);
        showLanguages();
        list_->setCurrentRow(0);
    }
}
