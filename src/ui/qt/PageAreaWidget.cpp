#include "ui/qt/PageAreaWidget.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace tessera {
namespace {

// Before a page is shown: the size of the pictures the dialogs ask for.
constexpr int kEmptyWidth = 200, kEmptyHeight = 260;

PixelRect Between(QPoint a, QPoint b) {
    return {std::min(a.x(), b.x()), std::min(a.y(), b.y()), std::max(a.x(), b.x()), std::max(a.y(), b.y())};
}

}  // namespace

PageAreaWidget::PageAreaWidget(QWidget* parent) : QWidget(parent) {
    setFixedSize(kEmptyWidth, kEmptyHeight);
    setCursor(Qt::CrossCursor);
}

void PageAreaWidget::Show(const host::PageImage& picture, const std::optional<PixelRect>& area) {
    picture_ =
        picture.width > 0
            ? QImage(picture.rgb.data(), picture.width, picture.height, picture.width * 3, QImage::Format_RGB888).copy()
            : QImage();
    if (!picture_.isNull()) setFixedSize(picture_.size());
    shown_ = area;
    update();
}

QPoint PageAreaWidget::Clamped(QPoint at) const {
    return {std::clamp(at.x(), 0, width() - 1), std::clamp(at.y(), 0, height() - 1)};
}

void PageAreaWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    if (!picture_.isNull()) painter.drawImage(0, 0, picture_);
    painter.setPen(QColor(160, 160, 160));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    if (!shown_) return;
    const QRect area(QPoint(shown_->left, shown_->top), QPoint(shown_->right, shown_->bottom));
    painter.fillRect(area, QColor(31, 119, 180, 60));
    painter.setPen(QPen(QColor(31, 119, 180), 2));
    painter.drawRect(area);
}

void PageAreaWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    start_ = Clamped(event->position().toPoint());
    shown_ = Between(*start_, *start_);
    update();
}

void PageAreaWidget::mouseMoveEvent(QMouseEvent* event) {
    if (!start_) return;
    shown_ = Between(*start_, Clamped(event->position().toPoint()));
    update();
}

void PageAreaWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (!start_ || event->button() != Qt::LeftButton) return;
    drawn_ = shown_ = Between(*start_, Clamped(event->position().toPoint()));
    start_.reset();
    update();
    if (onDrawn) onDrawn();
}

}  // namespace tessera
