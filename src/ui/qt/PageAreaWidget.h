#pragma once
// A page's picture on which the user draws a rectangle with the mouse: it
// follows the pointer while the button is down, and the dialog is told when
// it is let go.
#include <QImage>
#include <QWidget>

#include <functional>
#include <optional>

#include "ui/DialogView.h"

namespace tessera {

class PageAreaWidget : public QWidget {
public:
    explicit PageAreaWidget(QWidget* parent);
    void Show(const host::PageImage& picture, const std::optional<PixelRect>& area);
    std::optional<PixelRect> Drawn() const { return drawn_; }
    // Called when a rectangle has been drawn.
    std::function<void()> onDrawn;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QPoint Clamped(QPoint at) const;

    QImage picture_;
    std::optional<PixelRect> shown_, drawn_;
    std::optional<QPoint> start_;
};

}  // namespace tessera
