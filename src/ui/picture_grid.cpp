#include "ui/picture_grid.h"

PictureGrid::PictureGrid(const QString& objectName, QSize picture, int captionHeight, int columns,
                         QWidget* parent)
    : QListWidget(parent) {
    constexpr int kSideRoom = 36;
    setObjectName(objectName);
    setViewMode(QListView::IconMode);
    setIconSize(picture);
    const QSize cell(picture.width() + kSideRoom, picture.height() + captionHeight);
    setGridSize(cell);
    setResizeMode(QListView::Adjust);
    setMovement(QListView::Static);
    setWordWrap(true);
    setMinimumSize(columns * cell.width() + 30, 2 * cell.height() + 10);
}
