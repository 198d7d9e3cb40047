#include "items/clickoptions.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QToolButton>

#include "ui/picture_button.h"

clickoptions::clickoptions(QWidget* parent) : DialogFrame(QStringLiteral("Edit Options"), parent) {
    content()->addWidget(new QLabel(QStringLiteral("What should happen to this item?"), this));
    addChoice(QStringLiteral("dialog_center"), QStringLiteral("CENTER"));
    addChoice(QStringLiteral("dialog_edit"), QStringLiteral("EDIT"));
    addChoice(QStringLiteral("dialog_delete"), QStringLiteral("DELETE"));
    // The alignments act on the items selected with this one (Shift+click or a frame drawn
    // around them), as the Edit menu's do.
    auto* group = new QGroupBox(QStringLiteral("Selected items"), this);
    auto* grid = new QGridLayout(group);
    const struct {
        const char* caption;
        const char* choice;
    } alignments[] = {{"Align left", "ALIGNLEFT"},
                      {"Align centre", "ALIGNCENTRE"},
                      {"Align right", "ALIGNRIGHT"},
                      {"Align top", "ALIGNTOP"},
                      {"Align middle", "ALIGNMIDDLE"},
                      {"Align bottom", "ALIGNBOTTOM"},
                      {"Distribute horizontally", "DISTRIBUTEH"},
                      {"Distribute vertically", "DISTRIBUTEV"}};
    int place = 0;
    for (const auto& [caption, choice] : alignments) {
        grid->addWidget(textChoice(group, caption, choice), place / 3, place % 3);
        ++place;
    }
    content()->addWidget(group);
    // Shared items are stored once for the site folder and shown on each of its pages.
    auto* site = new QGroupBox(QStringLiteral("This item"), this);
    auto* row = new QHBoxLayout(site);
    row->addWidget(textChoice(site, "On every page of this site", "SITEWIDE"));
    row->addWidget(textChoice(site, "On this page only", "PAGEONLY"));
    content()->addWidget(site);
    addOkCancel();
}

QToolButton* clickoptions::textChoice(QWidget* group, const char* caption, const char* choice) {
    auto* button = new QToolButton(group);
    button->setText(QString::fromLatin1(caption));
    button->setObjectName(QString::fromLatin1(choice));
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    connect(button, &QAbstractButton::clicked, this, [this, choice = QString::fromLatin1(choice)] {
        choice_ = choice;
        accept();
    });
    return button;
}

void clickoptions::addChoice(const QString& caption, const QString& choice) {
    auto* button = new PictureButton(caption, this);
    connect(button, &QAbstractButton::clicked, this, [this, choice] {
        choice_ = choice;
        accept();
    });
    content()->addWidget(button, 0, Qt::AlignHCenter);
}
