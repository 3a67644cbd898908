#include "PdfText.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>
#include <QSizeF>

namespace orv::test {

namespace {

QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        ADD_FAILURE() << program.toStdString() << " " << args.join(' ').toStdString()
                      << " failed: " << p.readAllStandardError().toStdString();
        return {};
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString unescape(QString s) {
    s.replace(QLatin1String("&lt;"), QLatin1String("<"));
    s.replace(QLatin1String("&gt;"), QLatin1String(">"));
    s.replace(QLatin1String("&quot;"), QLatin1String("\""));
    s.replace(QLatin1String("&#39;"), QLatin1String("'"));
    s.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return s;
}

} // namespace

int pdfPageCount(const QString& pdf) {
    static const QRegularExpression pages(QStringLiteral("^Pages:\\s+(\\d+)"),
                                          QRegularExpression::MultilineOption);
    const auto m = pages.match(run(QStringLiteral("pdfinfo"), {pdf}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

QSizeF pdfPageSize(const QString& pdf, int page) {
    static const QRegularExpression size(QStringLiteral("size:\\s+([\\d.]+) x ([\\d.]+) pts"));
    const auto m = size.match(
        run(QStringLiteral("pdfinfo"), {"-f", QString::number(page), "-l", QString::number(page), pdf}));
    return m.hasMatch() ? QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()) : QSizeF();
}

QString pdfText(const QString& pdf, int page, const QRectF& crop) {
    QStringList args = {"-layout", "-f", QString::number(page), "-l", QString::number(page)};
    if (!crop.isNull()) {
        args << "-x" << QString::number(qRound(crop.x())) << "-y" << QString::number(qRound(crop.y())) << "-W"
             << QString::number(qRound(crop.width())) << "-H" << QString::number(qRound(crop.height()));
    }
    args << pdf << "-";
    return run(QStringLiteral("pdftotext"), args);
}

QStringList pdfLines(const QString& pdf, int page, const QRectF& crop) {
    QStringList lines;
    for (const QString& l : pdfText(pdf, page, crop).split('\n')) {
        const QString t = l.trimmed();
        if (!t.isEmpty() && t != QLatin1String("\f"))
            lines << t;
    }
    return lines;
}

std::vector<PdfWord> pdfWords(const QString& pdf, int page) {
    static const QRegularExpression word(QStringLiteral(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    const QString html = run(QStringLiteral("pdftotext"),
                             {"-bbox", "-f", QString::number(page), "-l", QString::number(page), pdf, "-"});
    std::vector<PdfWord> out;
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        const double x0 = m.captured(1).toDouble(), y0 = m.captured(2).toDouble();
        out.push_back({unescape(m.captured(5)),
                       QRectF(x0, y0, m.captured(3).toDouble() - x0, m.captured(4).toDouble() - y0)});
    }
    return out;
}

double pointsFromMicrons(int microns, bool withMargin) {
    return (microns + (withMargin ? 6350 : 0)) * 72.0 / 25400.0;
}

// The cutting line lies at 101.865 mm + 0.129 mm inside the margin.
QRectF leftCopy() {
    const double cut = pointsFromMicrons(101865 + 129);
    return QRectF(0, 0, cut, 792);
}

QRectF rightCopy() {
    const double cut = pointsFromMicrons(101865 + 129);
    return QRectF(cut, 0, 612 - cut, 792);
}

} // namespace orv::test
