#pragma once

#include <QFont>
#include <QString>

namespace orv {

// The fonts of the form. The form is laid out for Verdana and a "RUBBER
// STAMP" face; where they are not installed, DejaVu Sans (close to Verdana's
// metrics) and a bold DejaVu Sans take their places. Needs a QGuiApplication.
class Form48Fonts {
public:
    static QString textFamily();
    static QString stampFamily();
    // The font with its size in µm (pixel size in µm units), unhinted, so
    // texts measure and draw the same on every device.
    static QFont font(const QString& family, double pointSize, bool bold, int stretch = 100);
    // Width of text in µm.
    static int textWidth(const QString& text, const QString& family, double pointSize, bool bold,
                         int stretch = 100);
    // µm per point.
    static constexpr double MicronsPerPoint = 25400.0 / 72.0;
};

} // namespace orv
