#include "items/linkselector.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>

linkselector::linkselector(QWidget* parent)
    : DialogFrame(QStringLiteral("Add a link target"), parent) {
    auto* text = new QLabel(
        QStringLiteral("Type the filename or internet address to use as the link target (eg. "
                       "\"mysong.mp3\" or \"http://www.example.com/\")"),
        this);
    text->setWordWrap(true);
    content()->addWidget(text);
    edit_ = new QLineEdit(this);
    edit_->setMinimumWidth(360);
    addEntry(edit_, QStringLiteral("target"));
    addOkCancel();
}

QString linkselector::target() const {
    return edit_->text();
}
