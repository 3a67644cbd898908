// report: writes the Form 48 DTR of one employee, or of every employee of an
// office (or of all offices), as a PDF file.
#include "CliContext.h"
#include "Commands.h"

#include "data/Errors.h"
#include "dtr/report/DtrBatch.h"
#include "dtr/report/DtrReportLoader.h"
#include "dtr/report/Form48PdfFile.h"

#include <QDir>
#include <QFileInfo>

namespace orv::cli {

namespace {

QDate monthOption(const CliContext& c) {
    const QString text = c.required(QStringLiteral("month"));
    const QDate month = parseReportMonth(text);
    if (!month.isValid())
        throw UserError(
            QStringLiteral("--month must be a month written yyyy-mm (for example 2024-03), not \"%1\".")
                .arg(text));
    return month;
}

DtrReportMode modeOption(const CliContext& c) {
    const auto text = c.option(QStringLiteral("mode"));
    if (!text)
        return DtrReportMode::Monthly;
    const auto mode = parseDtrReportMode(*text);
    if (!mode)
        throw UserError(QStringLiteral("--mode must be monthly, first or second, not \"%1\".").arg(*text));
    return *mode;
}

QString pages(int n) {
    return n == 1 ? QStringLiteral("1 page") : QStringLiteral("%1 pages").arg(n);
}

} // namespace

int runReport(CliContext& c) {
    c.allowOnly({QStringLiteral("settings"), QStringLiteral("employee"), QStringLiteral("month"),
                 QStringLiteral("mode"), QStringLiteral("office"), QStringLiteral("all"),
                 QStringLiteral("pdf")});
    const auto employee = c.option(QStringLiteral("employee"));
    const auto office = c.option(QStringLiteral("office"));
    const bool all = c.flag(QStringLiteral("all"));
    if (int(bool(employee)) + int(bool(office)) + int(all) != 1)
        throw UserError(QStringLiteral("Give one of --employee ID, --office NAME or --all."));
    const QDate month = monthOption(c);
    const DtrReportMode mode = modeOption(c);
    const QString path = QFileInfo(c.required(QStringLiteral("pdf"))).absoluteFilePath();
    const QString shown = QDir::toNativeSeparators(path);

    DataCon& db = c.db();
    if (employee) {
        const DtrReport report = DtrReportLoader::load(db, *employee, month, mode);
        if (!report.generated)
            c.err() << "Note: the DTR of " << report.fullName << " for " << report.periodText
                    << " has not been generated; its rows are empty.\n";
        Form48PdfFile pdf(path);
        pdf.addPage(report);
        pdf.commit();
        c.out() << "Wrote the DTR of " << report.fullName << " (" << report.periodText << ") to " << shown
                << "\n";
        return 0;
    }

    const DtrBatch batch(db, month, mode, all ? std::nullopt : office);
    for (const auto& e : batch.notGenerated())
        c.err() << "No DTR for " << batch.period().text() << ", no page: " << e.sortName << " (employee "
                << e.employeeId << ")\n";
    const int total = batch.pageCount();
    const int step = std::max(1, total / 20);
    c.err() << "Printing " << pages(total) << " for " << batch.period().text() << "\n";
    Form48PdfFile pdf(path);
    batch.print(pdf.document(), [&](int done, int count) {
        if (done % step == 0 || done == count) {
            c.err() << "  " << done << "/" << count << "\n";
            c.err().flush();
        }
        return true;
    });
    pdf.commit();
    const QString what = all ? QStringLiteral("all offices") : batch.officeName();
    c.out() << "Wrote " << pages(total) << " (" << what << ", " << batch.period().text() << ") to " << shown
            << "\n";
    return 0;
}

} // namespace orv::cli
