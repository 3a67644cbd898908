#include "Form48Painter.h"

#include "Form48Fonts.h"
#include "Form48Layout.h"

#include <QPaintDevice>
#include <QPainter>

namespace orv {

namespace {

// The stroke of a line: LineWidth thick, at the edge of its box it lies on.
QRectF strokeOf(const ReportElement& e) {
    const double w = Form48Layout::LineWidth;
    const QRectF b(e.box);
    switch (e.edge) {
    case ReportElement::Edge::Top:
        return {b.left(), b.top(), b.width(), w};
    case ReportElement::Edge::Bottom:
        return {b.left(), b.bottom() - w, b.width(), w};
    case ReportElement::Edge::Left:
        return {b.left(), b.top(), w, b.height()};
    case ReportElement::Edge::Right:
        return {b.right() - w, b.top(), w, b.height()};
    case ReportElement::Edge::CentreVertical:
        return {b.center().x() - w / 2, b.top(), w, b.height()};
    }
    return b;
}

void drawText(QPainter& p, const ReportElement& e) {
    if (e.text.isEmpty())
        return;
    p.setFont(Form48Fonts::font(e.family, e.pointSize, e.bold, e.stretch));
    p.setPen(e.color);
    if (e.rotation == 0) {
        p.drawText(QRectF(e.box), int(e.alignment | Qt::AlignTop | Qt::TextDontClip | Qt::TextSingleLine),
                   e.text);
        return;
    }
    p.save();
    p.translate(e.box.x() + e.origin.x(), e.box.y() + e.origin.y());
    p.rotate(-e.rotation);
    p.drawText(QPointF(0, 0), e.text);
    p.restore();
}

} // namespace

void Form48Painter::mapToMicrons(QPainter& painter, const QPaintDevice& device) {
    painter.resetTransform();
    painter.scale(device.logicalDpiX() / 25400.0, device.logicalDpiY() / 25400.0);
}

void Form48Painter::paint(QPainter& p, const std::vector<ReportElement>& elements) {
    p.setRenderHint(QPainter::Antialiasing, false);
    for (const ReportElement& e : elements) {
        switch (e.kind) {
        case ReportElement::Kind::Text:
            drawText(p, e);
            break;
        case ReportElement::Kind::Line:
            p.fillRect(strokeOf(e), e.color);
            break;
        case ReportElement::Kind::DottedLine: {
            QPen pen(e.color, Form48Layout::LineWidth, Qt::DotLine, Qt::FlatCap);
            p.setPen(pen);
            const double x = QRectF(e.box).center().x();
            p.drawLine(QPointF(x, e.box.top()), QPointF(x, e.box.top() + e.box.height()));
            break;
        }
        }
    }
}

} // namespace orv
