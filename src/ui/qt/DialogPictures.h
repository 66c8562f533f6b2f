#pragma once
// The dialogs' pictures: Qt's standard icons where one says what is meant,
// small drawings of our own where none does.
#include <QIcon>
#include <QPixmap>

#include "ui/DialogView.h"

class QStyle;

namespace tessera {

QIcon PictureIcon(Picture picture, const QStyle& style);
// At the size the picture is drawn for: 16 pixels for the icons of trees and legends.
QPixmap PicturePixmap(Picture picture, const QStyle& style);

}  // namespace tessera
