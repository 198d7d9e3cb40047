#pragma once

#include <QListWidget>

// A list shown as a grid of pictures with their captions under them, as galleries show it:
// cells of the picture's size plus room for the caption, wide enough for the columns asked
// and tall enough for two rows.
class PictureGrid : public QListWidget {
    Q_OBJECT

  public:
    PictureGrid(const QString& objectName, QSize picture, int captionHeight, int columns,
                QWidget* parent);
};
