#include "ui/glyphs.h"

#include <QPainter>
#include <QPainterPath>

namespace trimora {

QPixmap GrainPixmap(bool keep, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    if (keep) {
        // Three wavy grain lines along the part's length.
        p.setPen(QPen(QColor(139, 90, 43), s / 10.0));
        for (int i = 1; i <= 3; ++i) {
            const qreal y = s * i / 4.0;
            QPainterPath path(QPointF(s * 0.1, y));
            path.cubicTo(QPointF(s * 0.35, y - s * 0.1), QPointF(s * 0.65, y + s * 0.1),
                         QPointF(s * 0.9, y));
            p.drawPath(path);
        }
    } else {
        // An open circle with an arrow head: the part may be turned.
        p.setPen(QPen(QColor(30, 90, 170), s / 9.0));
        const QRectF r(s * 0.18, s * 0.18, s * 0.64, s * 0.64);
        p.drawArc(r, 90 * 16, 270 * 16);
        const QPointF tip(s * 0.5, s * 0.18);
        QPainterPath head;
        head.moveTo(tip + QPointF(s * 0.2, 0));
        head.lineTo(tip + QPointF(-s * 0.05, -s * 0.16));
        head.lineTo(tip + QPointF(-s * 0.05, s * 0.16));
        head.closeSubpath();
        p.fillPath(head, QColor(30, 90, 170));
    }
    return pixmap;
}

QIcon GrainIcon(bool keep) {
    QIcon icon;
    icon.addPixmap(GrainPixmap(keep, 16));
    icon.addPixmap(GrainPixmap(keep, 24));
    return icon;
}

QPixmap TimesPixmap(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::darkGray, 1.5));
    const qreal m = size * 0.2;
    p.drawLine(QPointF(m, m), QPointF(size - m, size - m));
    p.drawLine(QPointF(size - m, m), QPointF(m, size - m));
    return pixmap;
}

}  // namespace trimora
