#pragma once
// The settings' plan in a window of its own beside the dialog: the pages as
// small pictures in the order the outputs take them, each output's pages
// under a band of its colour with its file name, dropped pages crossed, pages
// in no output greyed; hovering says why. Pictures are drawn only for pages
// that come into view, and kept within a byte limit.
#include <QCache>
#include <QImage>
#include <QWidget>

#include <optional>

#include "ui/PlanPreview.h"

class QLabel;
class QPushButton;
class QScrollArea;

namespace tessera {

// The pages and bands, laid out in as many columns as the width takes.
class PlanStrip : public QWidget {
public:
    explicit PlanStrip(QWidget* parent);
    void Show(const PlanPreview& plan);
    // Where a place is drawn (its picture's box), for tests and hovering.
    QRect PictureBox(std::size_t place) const;
    // The text hovering shows at a point; empty over nothing.
    QString WhyAt(QPoint at) const;
    // The place after which a click at the point cuts (in the gap beside a
    // page, or right of a row's last one); none elsewhere.
    std::optional<std::size_t> CutAt(QPoint at) const;
    // The output whose band is at the point; none elsewhere.
    std::optional<int> BandAt(QPoint at) const;
    const PlanPreview& Shown() const { return plan_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    int Columns() const;
    void FitHeight();
    QRect BandBox(std::size_t place) const;
    void PaintPlace(QPainter& painter, std::size_t index);
    // The page's picture, drawn now where it is not kept; a null image, with the reason, where it cannot be.
    const QImage* Picture(int page, QString& reason);

    PlanPreview plan_;
    QCache<int, QImage> pictures_;
    std::map<int, QString> undrawn_;
};

class PlanWindow : public QWidget {
public:
    // One column of pages and a scroll bar.
    static constexpr int kLeastWidth = 170;
    explicit PlanWindow(QWidget* dialog);
    void Show(const PlanPreview& plan);
    PlanStrip& Strip() { return *strip_; }
    QString Status() const;

private:
    QLabel* status_;
    QPushButton* planButton_;
    QScrollArea* scroll_;
    PlanStrip* strip_;
    std::function<void()> planNow_;
};

}  // namespace tessera
