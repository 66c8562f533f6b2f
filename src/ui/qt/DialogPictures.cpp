#include "ui/qt/DialogPictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QStyle>

#include <algorithm>
#include <cmath>

namespace tessera {
namespace {

// A transparent picture of `size` with what `draw` paints on it.
template <class Draw>
QPixmap Drawn(QSize size, Draw draw) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    return pixmap;
}

// A ribbon as bookmarks are drawn in viewers' outlines.
void Bookmark(QPainter& p, bool usable) {
    QPainterPath ribbon;
    ribbon.addPolygon(QPolygonF({{3.5, 1.5}, {11.5, 1.5}, {11.5, 14.5}, {7.5, 10.5}, {3.5, 14.5}, {3.5, 1.5}}));
    p.setPen(QPen(usable ? QColor(0x1d, 0x4f, 0x9c) : QColor(0x70, 0x70, 0x70), 1));
    p.setBrush(usable ? QColor(0x3b, 0x82, 0xe0) : QColor(0xc8, 0xc8, 0xc8));
    p.drawPath(ribbon);
    if (!usable) {
        // An arrow out of the document: it leads elsewhere.
        p.setPen(QPen(QColor(0xc0, 0x20, 0x20), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(8, 12), QPointF(14, 6));
        p.drawPolyline(QPolygonF({{10, 6}, {14, 6}, {14, 10}}));
    }
}

// A page with lines of text; `lines` from the top of `page`.
void DrawPage(QPainter& p, const QRectF& page, int lines) {
    p.setPen(QPen(QColor(0x60, 0x60, 0x60), 1));
    p.setBrush(Qt::white);
    p.drawRect(page);
    p.setPen(QPen(QColor(0xb0, 0xb0, 0xb0), 1));
    const double step = (page.height() - 8) / (lines + 1);
    for (int i = 1; i <= lines; ++i) {
        const double y = page.top() + 4 + i * step;
        p.drawLine(QPointF(page.left() + 6, y), QPointF(page.right() - (i % 3 == 0 ? 16 : 6), y));
    }
}

void Arrow(QPainter& p, QPointF from, QPointF to, const QString& label) {
    p.setPen(QPen(QColor(0x1d, 0x4f, 0x9c), 1));
    p.drawLine(from, to);
    const QPointF d = (to - from) / std::max(1.0, std::hypot(to.x() - from.x(), to.y() - from.y()));
    const QPointF n(-d.y(), d.x());
    p.drawPolyline(QPolygonF({to - 5 * d + 3 * n, to, to - 5 * d - 3 * n}));
    p.drawText(QRectF(from, to).normalized().adjusted(-40, -14, 40, 0), Qt::AlignCenter | Qt::AlignTop, label);
}

// Where an area lies: every distance is measured from the page's left or top edge.
void AreaSample(QPainter& p) {
    QFont font = p.font();
    font.setPixelSize(11);
    p.setFont(font);
    const QRectF page(60, 10, 140, 175);
    DrawPage(p, page, 12);
    const QRectF area(page.left() + 40, page.top() + 50, 80, 28);
    p.setPen(QPen(QColor(0xc0, 0x20, 0x20), 1.5, Qt::DashLine));
    p.setBrush(QColor(0xc0, 0x20, 0x20, 40));
    p.drawRect(area);
    Arrow(p, {page.left(), area.bottom() + 30}, {area.left(), area.bottom() + 30}, "Left");
    Arrow(p, {page.left(), area.bottom() + 62}, {area.right(), area.bottom() + 62}, "Right");
    p.save();
    p.translate(page.left() - 4, 0);
    p.setPen(QColor(0x1d, 0x4f, 0x9c));
    p.drawText(QRectF(-56, area.top() - 30, 52, 14), Qt::AlignRight, "Top");
    p.drawText(QRectF(-56, area.bottom() - 6, 52, 14), Qt::AlignRight, "Bottom");
    p.restore();
    Arrow(p, {page.left() + 20, page.top()}, {page.left() + 20, area.top()}, "");
    Arrow(p, {page.left() + 30, page.top()}, {page.left() + 30, area.bottom()}, "");
    p.setPen(QPen(QColor(0x1d, 0x4f, 0x9c), 1, Qt::DotLine));
    p.drawLine(QPointF(page.left() - 6, area.top()), QPointF(area.left(), area.top()));
    p.drawLine(QPointF(page.left() - 6, area.bottom()), QPointF(area.left(), area.bottom()));
}

// A page holding an image, a link and a form field: what pages are picked by.
void PageElements(QPainter& p) {
    DrawPage(p, QRectF(2.5, 2.5, 34, 43), 7);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x8c, 0xc4, 0xf0));
    p.drawRect(QRectF(7, 8, 14, 11));
    p.setBrush(QColor(0x3c, 0x9a, 0x48));
    p.drawPolygon(QPolygonF({{7, 19}, {13, 12}, {18, 19}}));
    p.setPen(QPen(QColor(0x1d, 0x4f, 0x9c), 1.5));
    p.drawLine(QPointF(7, 31), QPointF(26, 31));
    p.setPen(QPen(QColor(0xd0, 0x80, 0x10), 1));
    p.setBrush(QColor(0xff, 0xf4, 0xd0));
    p.drawRect(QRectF(7, 36, 22, 6));
}

// One page parted into tiles of different colours, as a mosaic is laid.
void Product(QPainter& p) {
    static const QColor kTiles[] = {{0x3b, 0x82, 0xe0}, {0xe0, 0x8a, 0x2b}, {0x3c, 0x9a, 0x48}, {0xc0, 0x3a, 0x3a}};
    const QRectF tiles[] = {{6, 4, 24, 26}, {34, 4, 24, 26}, {6, 34, 24, 26}, {34, 34, 24, 26}};
    for (int i = 0; i < 4; ++i) {
        p.setPen(QPen(kTiles[i].darker(140), 1));
        p.setBrush(kTiles[i]);
        p.drawRoundedRect(tiles[i], 3, 3);
        p.setPen(QPen(QColor(255, 255, 255, 170), 1.5));
        for (int line = 1; line <= 3; ++line) {
            const double y = tiles[i].top() + 6 * line + 1;
            p.drawLine(QPointF(tiles[i].left() + 4, y), QPointF(tiles[i].right() - 4, y));
        }
    }
}

QIcon Standard(const QStyle& style, QStyle::StandardPixmap which) { return style.standardIcon(which); }

}  // namespace

QIcon PictureIcon(Picture picture, const QStyle& style) {
    switch (picture) {
        case Picture::OutputDocument:
            return Standard(style, QStyle::SP_FileIcon);
        case Picture::RangeInside:
            return Standard(style, QStyle::SP_FileDialogDetailedView);
        case Picture::RangeOutside:
            return Standard(style, QStyle::SP_MessageBoxWarning);
        case Picture::None:
            return {};
        default:
            return QIcon(PicturePixmap(picture, style));
    }
}

QPixmap PicturePixmap(Picture picture, const QStyle& style) {
    switch (picture) {
        case Picture::UsableBookmark:
            return Drawn({16, 16}, [](QPainter& p) { Bookmark(p, true); });
        case Picture::NotUsableBookmark:
            return Drawn({16, 16}, [](QPainter& p) { Bookmark(p, false); });
        case Picture::PageAreaSample:
            return Drawn({260, 190}, AreaSample);
        case Picture::PageElements:
            return Drawn({40, 48}, PageElements);
        case Picture::Product:
            return Drawn({64, 64}, Product);
        case Picture::None:
            return {};
        default:
            return PictureIcon(picture, style).pixmap(16, 16);
    }
}

}  // namespace tessera
