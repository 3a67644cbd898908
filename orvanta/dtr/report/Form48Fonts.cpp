#include "Form48Fonts.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>

#include <cmath>
#include <stdexcept>

namespace orv {

namespace {

QString installed(const QStringList& wanted) {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        throw std::logic_error("The Form 48 fonts need a QGuiApplication.");
    const QStringList families = QFontDatabase::families();
    for (const QString& w : wanted) {
        for (const QString& f : families) {
            if (f.compare(w, Qt::CaseInsensitive) == 0)
                return f;
        }
    }
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

} // namespace

QString Form48Fonts::textFamily() {
    static const QString family = installed({QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans")});
    return family;
}

QString Form48Fonts::stampFamily() {
    static const QString family = installed({QStringLiteral("RUBBER STAMP"), QStringLiteral("DejaVu Sans")});
    return family;
}

QFont Form48Fonts::font(const QString& family, double pointSize, bool bold, int stretch) {
    QFont f(family);
    f.setPixelSize(static_cast<int>(std::lround(pointSize * MicronsPerPoint)));
    f.setBold(bold);
    if (stretch != 100)
        f.setStretch(stretch);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(
        QFont::StyleStrategy(QFont::PreferOutline | QFont::ForceOutline | QFont::PreferNoShaping));
    f.setKerning(false); // no ligatures or kerning: the texts copy out of a PDF as typed
    return f;
}

int Form48Fonts::textWidth(const QString& text, const QString& family, double pointSize, bool bold,
                           int stretch) {
    if (text.isEmpty())
        return 0;
    const QFontMetricsF metrics(font(family, pointSize, bold, stretch));
    return static_cast<int>(std::ceil(metrics.horizontalAdvance(text)));
}

} // namespace orv
