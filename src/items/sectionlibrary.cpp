#include "items/sectionlibrary.h"

#include <QBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <algorithm>

#include "ui/picture_grid.h"

namespace {

constexpr int kPictureWidth = 200;
constexpr int kPictureHeight = 140;

// The section drawn small: its sections as boxes of their colour with lines for words, its
// pictures as they are.
QIcon Drawing(const SectionOffer& section) {
    QPixmap drawn(kPictureWidth, kPictureHeight);
    drawn.fill(Qt::white);
    int right = 1;
    int bottom = 1;
    for (const SectionBox& box : section.boxes) {
        right = std::max(right, box.left + box.width);
        bottom = std::max(bottom, box.top + box.height);
    }
    const double scale = std::min(static_cast<double>(kPictureWidth - 8) / right,
                                  static_cast<double>(kPictureHeight - 8) / bottom);
    QPainter painter(&drawn);
    painter.translate(4, 4);
    painter.scale(scale, scale);
    for (const SectionBox& box : section.boxes) {
        const QRect place(box.left, box.top, box.width, box.height);
        if (!box.picture.empty()) {
            painter.drawPixmap(place, QPixmap(QString::fromStdString(box.picture)));
            continue;
        }
        const QColor colour(QString::fromStdString(box.colour));
        painter.fillRect(place, colour.isValid() ? colour : QColor(0xF2, 0xF2, 0xF2));
        painter.setPen(QPen(QColor(0x80, 0x80, 0x80), 4 / scale));
        for (int line = box.top + 20; line < box.top + box.height - 12; line += 24) {
            painter.drawLine(box.left + 16, line, box.left + box.width - 16, line);
        }
    }
    return QIcon(drawn);
}

}  // namespace

sectionlibrary::sectionlibrary(const std::vector<SectionOffer>& sections, QWidget* parent)
    : DialogFrame(QStringLiteral("Sections"), parent) {
    content()->addWidget(new QLabel(
        sections.empty()
            ? QStringLiteral("The library is empty: select items and choose Edit > Save as "
                             "Section... to keep them here.")
            : QStringLiteral("Choose a section to add where you opened the menu."),
        this));
    grid_ = new PictureGrid(QStringLiteral("sections"), QSize(kPictureWidth, kPictureHeight), 50, 3,
                            this);
    for (const SectionOffer& section : sections) {
        new QListWidgetItem(Drawing(section), QString::fromStdString(section.name), grid_);
    }
    grid_->setCurrentRow(sections.empty() ? -1 : 0);
    content()->addWidget(grid_);
    connect(grid_, &QListWidget::itemActivated, this, [this] { choose(SectionAction::Add); });
    auto* files = new QHBoxLayout();
    const std::pair<const char*, SectionAction> buttons[] = {
        {"From File...", SectionAction::AddFromFile},
        {"Save to File...", SectionAction::SaveToFile}};
    for (const auto& [caption, action] : buttons) {
        auto* button = new QPushButton(QString::fromLatin1(caption), this);
        button->setObjectName(action == SectionAction::AddFromFile ? QStringLiteral("fromFile")
                                                                   : QStringLiteral("toFile"));
        connect(button, &QPushButton::clicked, this, [this, action = action] { choose(action); });
        files->addWidget(button);
    }
    content()->addLayout(files);
    addOkCancel();
    connect(this, &QDialog::accepted, this, [this] {
        if (!choice_ && grid_->currentRow() >= 0) {
            choice_ =
                SectionChoice{SectionAction::Add, static_cast<std::size_t>(grid_->currentRow())};
        }
    });
}

void sectionlibrary::choose(SectionAction action) {
    const int row = grid_->currentRow();
    if (action != SectionAction::AddFromFile && row < 0) {
        return;
    }
    choice_ = SectionChoice{action, static_cast<std::size_t>(std::max(row, 0))};
    accept();
}
