#include "items/newsite.h"

#include <QBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>

#include "ui/picture_grid.h"

namespace {

constexpr int kPictureWidth = 192;
constexpr int kPictureHeight = 200;

// The picture of a starter's home page, its top part, or an empty page for the blank site.
QIcon Picture(const std::string& file) {
    QPixmap shown(kPictureWidth, kPictureHeight);
    shown.fill(Qt::white);
    QPainter painter(&shown);
    const QPixmap page(QString::fromStdString(file));
    if (!file.empty() && !page.isNull()) {
        painter.drawPixmap(0, 0, page.scaledToWidth(kPictureWidth, Qt::SmoothTransformation));
    } else {
        painter.setPen(QPen(Qt::gray, 2, Qt::DashLine));
        painter.drawRect(8, 8, kPictureWidth - 16, kPictureHeight - 16);
    }
    return QIcon(shown);
}

}  // namespace

newsite::newsite(const std::vector<StarterOffer>& starters, QWidget* parent)
    : DialogFrame(QStringLiteral("New Site"), parent) {
    content()->addWidget(new QLabel(
        QStringLiteral("Start from a finished site and make it yours, or from a blank one."),
        this));
    grid_ = new PictureGrid(QStringLiteral("starters"), QSize(kPictureWidth, kPictureHeight), 110,
                            4, this);
    const auto add = [this](const std::string& id, const QString& text, const std::string& file,
                            const QString& tip) {
        auto* item = new QListWidgetItem(Picture(file), text, grid_);
        item->setToolTip(tip);
        item->setTextAlignment(Qt::AlignHCenter | Qt::AlignTop);
        ids_.push_back(id);
    };
    add(std::string(), QStringLiteral("Blank site\nAn empty page to start from"), std::string(),
        QStringLiteral("A new site folder with one empty page"));
    for (const StarterOffer& starter : starters) {
        add(starter.id,
            QString::fromStdString(starter.name + "\n" + starter.kind + "\n" + starter.line),
            starter.picture, QString::fromStdString(starter.line));
    }
    grid_->setCurrentRow(0);
    content()->addWidget(grid_);
    connect(grid_, &QListWidget::itemActivated, this, [this] { accept(); });
    addOkCancel();
    connect(this, &QDialog::accepted, this, [this] {
        const int row = grid_->currentRow();
        if (row >= 0 && static_cast<std::size_t>(row) < ids_.size()) {
            chosen_ = ids_[static_cast<std::size_t>(row)];
        }
    });
}
