#include "items/sitemenu.h"

#include <QColorDialog>

#include <QBoxLayout>
#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <algorithm>

#include "page/site_menu.h"

namespace {

// A row shows its label and, at its right in grey, the page's file name; editing the row edits
// the label only.
class FileNameDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyledItemDelegate::paint(painter, option, index);
        painter->save();
        painter->setPen(option.palette.color(QPalette::Disabled, QPalette::Text));
        painter->drawText(option.rect.adjusted(0, 0, -6, 0), Qt::AlignRight | Qt::AlignVCenter,
                          index.data(Qt::UserRole).toString());
        painter->restore();
    }
};

QListWidgetItem* PageItem(const std::string& file, const std::string& label, bool shown) {
    auto* item = new QListWidgetItem(QString::fromStdString(label));
    item->setData(Qt::UserRole, QString::fromStdString(file));
    item->setToolTip(QString::fromStdString(file));
    item->setFlags(item->flags() | Qt::ItemIsEditable | Qt::ItemIsUserCheckable);
    item->setCheckState(shown ? Qt::Checked : Qt::Unchecked);
    return item;
}

QLineEdit* ColourField(const std::string& value, const QString& name, QWidget* parent) {
    auto* field = new QLineEdit(QString::fromStdString(value), parent);
    field->setObjectName(name);
    field->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("#[0-9A-Fa-f]{0,6}")), field));
    return field;
}

// The colour's text with a button beside it that picks it from the colour dialog.
QHBoxLayout* WithColourButton(QLineEdit* field, QWidget* parent) {
    auto* row = new QHBoxLayout();
    row->addWidget(field);
    auto* choose = new QPushButton(QStringLiteral("Choose..."), parent);
    choose->setObjectName(field->objectName() + QStringLiteral("Button"));
    QObject::connect(choose, &QPushButton::clicked, parent, [field, parent] {
        const QColor chosen = QColorDialog::getColor(QColor(field->text()), parent);
        if (chosen.isValid()) {
            field->setText(chosen.name(QColor::HexRgb).toUpper());
        }
    });
    row->addWidget(choose);
    return row;
}

}  // namespace

sitemenu::sitemenu(const SiteMenu& current, const FolderPages& pages, QWidget* parent)
    : DialogFrame(QStringLiteral("Site Menu"), parent) {
    content()->addWidget(new QLabel(
        QStringLiteral("Pages the menu shows (ticked), in order, with their file names at the "
                       "right; double-click a label to change it:"),
        this));
    auto* row = new QHBoxLayout();
    pages_ = new QListWidget(this);
    pages_->setObjectName(QStringLiteral("pages"));
    pages_->setMinimumSize(420, 180);
    pages_->setItemDelegate(new FileNameDelegate(pages_));
    for (const auto& [file, label] : current.pages) {
        pages_->addItem(PageItem(file, label, true));
    }
    for (const auto& [file, title] : pages) {
        const bool listed =
            std::any_of(current.pages.begin(), current.pages.end(),
                        [&file = file](const auto& entry) { return entry.first == file; });
        if (!listed) {
            pages_->addItem(PageItem(file, MenuLabel(file, title), false));
        }
    }
    pages_->setCurrentRow(0);
    row->addWidget(pages_);
    auto* buttons = new QVBoxLayout();
    for (const auto& [caption, by] : {std::pair{"Up", -1}, std::pair{"Down", 1}}) {
        auto* button = new QPushButton(QString::fromLatin1(caption), this);
        button->setObjectName(QString::fromLatin1(caption).toLower());
        connect(button, &QPushButton::clicked, this, [this, by = by] { move(by); });
        buttons->addWidget(button);
    }
    buttons->addStretch();
    row->addLayout(buttons);
    content()->addLayout(row);

    auto* form = new QFormLayout();
    auto* layout = new QHBoxLayout();
    across_ = new QRadioButton(QStringLiteral("Across"), this);
    across_->setObjectName(QStringLiteral("across"));
    auto* down = new QRadioButton(QStringLiteral("Down"), this);
    down->setObjectName(QStringLiteral("down"));
    (current.across ? across_ : down)->setChecked(true);
    layout->addWidget(across_);
    layout->addWidget(down);
    form->addRow(QStringLiteral("Links"), layout);
    face_ = new QLineEdit(QString::fromStdString(current.face), this);
    face_->setObjectName(QStringLiteral("face"));
    form->addRow(QStringLiteral("Face"), face_);
    size_ = new QSpinBox(this);
    size_->setObjectName(QStringLiteral("size"));
    size_->setRange(6, 72);
    size_->setValue(current.size);
    form->addRow(QStringLiteral("Size (points)"), size_);
    colour_ = ColourField(current.colour, QStringLiteral("colour"), this);
    form->addRow(QStringLiteral("Colour"), WithColourButton(colour_, this));
    currentColour_ = ColourField(current.currentColour, QStringLiteral("currentColour"), this);
    form->addRow(QStringLiteral("Colour of the page shown"),
                 WithColourButton(currentColour_, this));
    content()->addLayout(form);
    newPages_ = new QCheckBox(QStringLiteral("Pages added later join the menu"), this);
    newPages_->setObjectName(QStringLiteral("newPages"));
    newPages_->setChecked(current.newPages);
    content()->addWidget(newPages_);
    addOkCancel();
}

void sitemenu::move(int by) {
    const int row = pages_->currentRow();
    const int to = row + by;
    if (row < 0 || to < 0 || to >= pages_->count()) {
        return;
    }
    QListWidgetItem* item = pages_->takeItem(row);
    pages_->insertItem(to, item);
    pages_->setCurrentRow(to);
}

SiteMenu sitemenu::menu() const {
    SiteMenu menu;
    menu.across = across_->isChecked();
    menu.face = face_->text().trimmed().toStdString();
    menu.size = size_->value();
    menu.colour = colour_->text().toStdString();
    menu.currentColour = currentColour_->text().toStdString();
    menu.newPages = newPages_->isChecked();
    for (int row = 0; row < pages_->count(); ++row) {
        const QListWidgetItem* item = pages_->item(row);
        const std::string file = item->data(Qt::UserRole).toString().toStdString();
        if (item->checkState() == Qt::Checked) {
            menu.pages.emplace_back(file, item->text().toStdString());
        } else {
            menu.leftOut.push_back(file);
        }
    }
    return menu;
}
