#include "ui/qt/PlanWindow.h"

#include <QEvent>
#include <QHelpEvent>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QToolTip>
#include <QVBoxLayout>

namespace tessera {
namespace {

constexpr int kPictureWidth = 96, kPictureHeight = 124;
constexpr int kPlanMargin = 8, kPlanGap = 10, kBandHeight = 18, kBandGap = 3, kCaptionHeight = 16;
constexpr int kTileWidth = kPictureWidth + kPlanGap;
constexpr int kRowHeight = kBandHeight + kBandGap + kPictureHeight + kCaptionHeight + kPlanGap;
// About four hundred page pictures.
constexpr int kPictureBytes = 20 * 1024 * 1024;

QString PlanText(const std::string& text) { return QString::fromStdString(text); }
QColor Rgb(unsigned rgb) {
    return QColor(static_cast<int>(rgb >> 16 & 0xFF), static_cast<int>(rgb >> 8 & 0xFF), static_cast<int>(rgb & 0xFF));
}

}  // namespace

PlanStrip::PlanStrip(QWidget* parent) : QWidget(parent) {
    pictures_.setMaxCost(kPictureBytes);
    setMouseTracking(true);
}

void PlanStrip::Show(const PlanPreview& plan) {
    plan_ = plan;
    FitHeight();
    update();
}

int PlanStrip::Columns() const { return std::max(1, (width() - 2 * kPlanMargin + kPlanGap) / kTileWidth); }

QRect PlanStrip::PictureBox(std::size_t place) const {
    const int index = static_cast<int>(place);
    const int x = kPlanMargin + index % Columns() * kTileWidth;
    const int y = kPlanMargin + index / Columns() * kRowHeight + kBandHeight + kBandGap;
    return {x, y, kPictureWidth, kPictureHeight};
}

// Over a page of an output: a band as wide as the gap to its neighbour of the same output.
QRect PlanStrip::BandBox(std::size_t place) const {
    const QRect box = PictureBox(place);
    const bool joined = place + 1 < plan_.places.size() && (place + 1) % static_cast<std::size_t>(Columns()) != 0 &&
                        plan_.places[place + 1].place.output == plan_.places[place].place.output;
    return {box.x(), box.y() - kBandHeight - kBandGap, kPictureWidth + (joined ? kPlanGap : 0), kBandHeight};
}

void PlanStrip::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FitHeight();
}

// As tall as the rows the width leaves the pages, so that the scroll area reaches the last.
void PlanStrip::FitHeight() {
    const int rows = (static_cast<int>(plan_.places.size()) + Columns() - 1) / Columns();
    setMinimumHeight(2 * kPlanMargin + rows * kRowHeight);
}

const QImage* PlanStrip::Picture(int page, QString& reason) {
    if (const QImage* kept = pictures_.object(page)) return kept;
    if (const auto known = undrawn_.find(page); known != undrawn_.end()) {
        reason = known->second;
        return nullptr;
    }
    if (!plan_.picture) return nullptr;
    std::string why;
    const host::PageImage image = plan_.picture(page, kPictureWidth, kPictureHeight, why);
    if (image.width <= 0 || image.height <= 0) {
        reason = undrawn_[page] = PlanText(why);
        return nullptr;
    }
    auto* copy =
        new QImage(QImage(image.rgb.data(), image.width, image.height, image.width * 3, QImage::Format_RGB888).copy());
    const qsizetype bytes = copy->sizeInBytes();
    pictures_.insert(page, copy, bytes);
    return pictures_.object(page);
}

void PlanStrip::PaintPlace(QPainter& painter, std::size_t index) {
    const PreviewPlace& shown = plan_.places[index];
    const host::PlanPlace& place = shown.place;
    const QRect box = PictureBox(index);
    if (place.output >= 0) {
        const QRect band = BandBox(index);
        painter.fillRect(band, Rgb(host::PlanOutputColour(place.output)));
        const bool first = index == 0 || plan_.places[index - 1].place.output != place.output ||
                           index % static_cast<std::size_t>(Columns()) == 0;
        if (first) {
            painter.setPen(Qt::white);
            const QString file = PlanText(plan_.outputs[static_cast<std::size_t>(place.output)].file);
            // The name runs on over the bands of the output's later pages in the row.
            std::size_t last = index;
            while (last + 1 < plan_.places.size() && plan_.places[last + 1].place.output == place.output &&
                   (last + 1) % static_cast<std::size_t>(Columns()) != 0)
                ++last;
            const QRect across(band.x() + 4, band.y(), PictureBox(last).right() - band.x() - 8, band.height());
            painter.drawText(across, Qt::AlignVCenter | Qt::AlignLeft,
                             painter.fontMetrics().elidedText(file, Qt::ElideMiddle, across.width()));
        }
    }
    QRect page = box.adjusted(8, 8, -8, -8);
    QString reason;
    if (place.kind == host::PlaceKind::EmptyOutput) {
        painter.setPen(QPen(Qt::gray, 1, Qt::DashLine));
        painter.drawRect(page);
        painter.drawText(page, Qt::AlignCenter, PlanText(plan_.words.noPages));
    } else if (const QImage* picture = Picture(place.page, reason)) {
        page = QRect(box.x() + (box.width() - picture->width()) / 2, box.y() + (box.height() - picture->height()) / 2,
                     picture->width(), picture->height());
        painter.drawImage(page.topLeft(), *picture);
        painter.setPen(QColor(160, 160, 160));
        painter.drawRect(page.adjusted(-1, -1, 0, 0));
    } else {
        painter.fillRect(box, QColor(246, 216, 216));
        painter.setPen(QColor(208, 16, 16));
        painter.drawRect(box.adjusted(0, 0, -1, -1));
        page = box;
    }
    if (place.kind == host::PlaceKind::InNoOutput) painter.fillRect(page, QColor(208, 208, 208, 180));
    if (place.kind == host::PlaceKind::Dropped) {
        painter.setPen(QPen(QColor(208, 16, 16), 3));
        painter.drawLine(page.topLeft(), page.bottomRight());
        painter.drawLine(page.bottomLeft(), page.topRight());
    }
    painter.setPen(place.kind == host::PlaceKind::Dropped ? QColor(208, 16, 16) : QColor(32, 32, 32));
    const QString caption = place.page > 0 ? QString::number(place.page) : QString();
    painter.drawText(QRect(box.x(), box.bottom() + 2, box.width(), kCaptionHeight), Qt::AlignLeft | Qt::AlignTop,
                     caption);
}

void PlanStrip::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().base());
    const QRect exposed = event->rect();
    const int columns = Columns();
    const int firstRow = std::max(0, (exposed.top() - kPlanMargin) / kRowHeight);
    const int lastRow = (exposed.bottom() - kPlanMargin) / kRowHeight;
    for (int row = firstRow; row <= lastRow; ++row)
        for (int column = 0; column < columns; ++column) {
            const std::size_t index =
                static_cast<std::size_t>(row) * static_cast<std::size_t>(columns) + static_cast<std::size_t>(column);
            if (index < plan_.places.size()) PaintPlace(painter, index);
        }
}

QString PlanStrip::WhyAt(QPoint at) const {
    for (std::size_t i = 0; i < plan_.places.size(); ++i) {
        const host::PlanPlace& place = plan_.places[i].place;
        const bool onBand = place.output >= 0 && BandBox(i).contains(at);
        if (!onBand && !PictureBox(i).adjusted(0, 0, 0, kCaptionHeight).contains(at)) continue;
        const QString page = place.page > 0 ? QString::number(place.page) + ": " : QString();
        if (place.kind == host::PlaceKind::Dropped) return page + PlanText(plan_.places[i].why);
        if (place.kind == host::PlaceKind::InNoOutput) return page + PlanText(plan_.words.inNoOutput);
        const PreviewOutput& output = plan_.outputs[static_cast<std::size_t>(place.output)];
        QString why = PlanText(output.file) + "\n" + PlanText(output.why);
        if (const auto undrawn = undrawn_.find(place.page); undrawn != undrawn_.end() && !onBand)
            why += "\n" + PlanText(plan_.words.cannotDraw) + " " + undrawn->second;
        return why;
    }
    return {};
}

std::optional<std::size_t> PlanStrip::CutAt(QPoint at) const {
    for (std::size_t i = 0; i + 1 < plan_.places.size(); ++i) {
        const QRect box = PictureBox(i);
        const bool rowEnd = (i + 1) % static_cast<std::size_t>(Columns()) == 0;
        const QRect gap(box.right() + 1, box.top(), rowEnd ? width() - box.right() : kPlanGap, box.height());
        if (gap.contains(at)) return i;
    }
    return std::nullopt;
}

std::optional<int> PlanStrip::BandAt(QPoint at) const {
    for (std::size_t i = 0; i < plan_.places.size(); ++i)
        if (plan_.places[i].place.output >= 0 && BandBox(i).contains(at)) return plan_.places[i].place.output;
    return std::nullopt;
}

void PlanStrip::mousePressEvent(QMouseEvent* event) {
    const std::optional<std::size_t> cut = CutAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && cut && plan_.toggleCut) plan_.toggleCut(*cut);
}

void PlanStrip::mouseMoveEvent(QMouseEvent* event) {
    setCursor(CutAt(event->position().toPoint()) ? Qt::SplitHCursor : Qt::ArrowCursor);
}

void PlanStrip::mouseDoubleClickEvent(QMouseEvent* event) {
    const std::optional<int> output = BandAt(event->position().toPoint());
    if (!output || !plan_.rename) return;
    bool given = false;
    const QString name = QInputDialog::getText(this, windowTitle(), QString(), QLineEdit::Normal,
                                               PlanText(plan_.outputs[static_cast<std::size_t>(*output)].file), &given);
    if (given && !name.trimmed().isEmpty()) plan_.rename(*output, name.trimmed().toStdString());
}

bool PlanStrip::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QString why = WhyAt(help->pos());
    if (why.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), why, this);
    return true;
}

PlanWindow::PlanWindow(QWidget* dialog) : QWidget(dialog, Qt::Window | Qt::Tool) {
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    status_ = new QLabel(this);
    status_->setWordWrap(true);
    planButton_ = new QPushButton(this);
    planButton_->hide();
    connect(planButton_, &QPushButton::clicked, this, [this] {
        if (planNow_) planNow_();
    });
    top->addWidget(status_, 1);
    top->addWidget(planButton_);
    layout->addLayout(top);
    scroll_ = new QScrollArea(this);
    strip_ = new PlanStrip(scroll_);
    scroll_->setWidget(strip_);
    scroll_->setWidgetResizable(true);
    layout->addWidget(scroll_, 1);
    // Five columns of pages and some rows: beside the dialog, or over its edge, on a 1366×768 screen.
    resize(2 * kPlanMargin + 5 * kTileWidth + 40, 600);
}

QString PlanWindow::Status() const { return status_->text(); }

void PlanWindow::Show(const PlanPreview& plan) {
    planNow_ = plan.planNow;
    setWindowTitle(PlanText(plan.words.title));
    planButton_->setText(PlanText(plan.words.button));
    planButton_->setVisible(plan.state == PlanPreview::State::Waiting);
    QString status = PlanText(plan.state == PlanPreview::State::Planned ? plan.summary : plan.message);
    for (const std::string& warning : plan.warnings) status += "\n" + PlanText(warning);
    status_->setText(status);
    if (plan.state == PlanPreview::State::Planned) strip_->Show(plan);
    if (plan.state == PlanPreview::State::Refused) strip_->Show(PlanPreview{});
    // "Planning…" shows before the planning holds the window.
    if (plan.state == PlanPreview::State::Planning) status_->repaint();
}

}  // namespace tessera
