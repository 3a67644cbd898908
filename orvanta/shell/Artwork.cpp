#include "Artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace orv {

namespace {

// A clock face with a fingerprint-like arc, the program's emblem.
void drawEmblem(QPainter& p, const QRectF& box, const QColor& ink) {
    p.setPen(QPen(ink, box.width() / 18.0));
    p.drawEllipse(
        box.adjusted(box.width() * 0.05, box.height() * 0.05, -box.width() * 0.05, -box.height() * 0.05));
    const QPointF c = box.center();
    p.setPen(QPen(ink, box.width() / 14.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c, QPointF(c.x(), box.top() + box.height() * 0.22));
    p.drawLine(c, QPointF(box.left() + box.width() * 0.72, c.y() + box.height() * 0.12));
    p.setPen(QPen(ink, box.width() / 40.0));
    for (int i = 1; i <= 3; ++i) {
        const double r = box.width() * (0.12 + 0.06 * i);
        p.drawArc(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), 200 * 16, 140 * 16);
    }
}

} // namespace

QPixmap startPicture() {
    QPixmap pm(480, 300);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, pm.height());
    g.setColorAt(0, QColor(32, 74, 135));
    g.setColorAt(1, QColor(18, 40, 80));
    QPainterPath frame;
    frame.addRoundedRect(QRectF(4, 4, pm.width() - 8, pm.height() - 8), 24, 24);
    p.fillPath(frame, g);
    drawEmblem(p, QRectF(40, 70, 160, 160), QColor(240, 244, 250));
    p.setPen(QColor(240, 244, 250));
    QFont title(QStringLiteral("DejaVu Sans"), 30, QFont::Bold);
    p.setFont(title);
    p.drawText(QRectF(210, 95, 260, 60), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Orvanta"));
    QFont sub(QStringLiteral("DejaVu Sans"), 11);
    p.setFont(sub);
    p.drawText(QRectF(212, 150, 260, 60), Qt::AlignLeft | Qt::TextWordWrap,
               QStringLiteral("Time and attendance\nDaily Time Records"));
    return pm;
}

QPixmap cornerLogo() {
    QPixmap pm(96, 96);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    drawEmblem(p, QRectF(4, 4, 88, 88), QColor(32, 74, 135));
    return pm;
}

} // namespace orv
