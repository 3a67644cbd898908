#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QString>

namespace orv {

// One thing the Form 48 painter draws: a text or a line in its box. Boxes are
// in thousandths of a millimetre (µm) from the top-left corner of the
// printable area (inside the page margins).
struct ReportElement {
    enum class Kind { Text, Line, DottedLine };
    // Where a line lies in its box; its stroke is the line width thick.
    enum class Edge { Top, Bottom, Left, Right, CentreVertical };

    QString role;  // a stable name: "title", "row.3.days", "cutting-line", ...
    int copy = -1; // 0 left copy, 1 right copy, -1 the page (shared by both)
    Kind kind = Kind::Text;
    QRect box; // µm: left, top, width, height

    // Lines
    Edge edge = Edge::Top;

    // Texts
    QString text;
    QString family;
    double pointSize = 8;
    bool bold = false;
    int stretch = 100; // per cent of the face's width
    Qt::Alignment alignment = Qt::AlignLeft;
    QColor color = Qt::black;
    double rotation = 0; // degrees, counter-clockwise
    QPoint origin;       // µm inside the box: the rotated text's baseline start

    int left() const { return box.x(); }
    int top() const { return box.y(); }
    int right() const { return box.x() + box.width(); }
    int bottom() const { return box.y() + box.height(); }
};

} // namespace orv
