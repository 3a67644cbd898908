#pragma once

#include <QRectF>
#include <QString>
#include <QStringList>

#include <vector>

namespace orv::test {

// What poppler's pdftotext reads from a PDF: the text a user would copy out
// of it, and each word with its place on the page (in points, from the top
// left corner of the page).
struct PdfWord {
    QString text;
    QRectF box;
};

int pdfPageCount(const QString& pdf);
// The page's text with its layout kept; crop (points) limits it to a region.
QString pdfText(const QString& pdf, int page = 1, const QRectF& crop = {});
QStringList pdfLines(const QString& pdf, int page = 1, const QRectF& crop = {});
std::vector<PdfWord> pdfWords(const QString& pdf, int page = 1);
// The page size in points.
QSizeF pdfPageSize(const QString& pdf, int page = 1);

// Regions of the two copies on a Form 48 page, in points.
QRectF leftCopy();
QRectF rightCopy();
// µm inside the margins to points on the page.
double pointsFromMicrons(int microns, bool withMargin = true);

} // namespace orv::test
