#include "DtrReportActions.h"

#include "DtrBatch.h"
#include "DtrPreviewDialog.h"
#include "DtrReportLoader.h"
#include "Form48Document.h"
#include "Form48Layout.h"

#include "data/Background.h"
#include "shell/Dialogs.h"

#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QWidget>

#include <atomic>
#include <memory>
#include <optional>

namespace orv {

const QString DtrReportActions::NoEmployeeText = QStringLiteral("Please select an employee first.");

namespace {

struct Picked {
    QString employeeId;
    QDate month;
    DtrReportMode mode;
};

// The request's values, or nullopt (after telling the user) when the frame
// has no employee or month yet.
std::optional<Picked> picked(QWidget* frame, const DtrReportRequest& r) {
    const QDate month = QDate::fromString(r.month.trimmed(), Qt::ISODate);
    if (r.employeeId.trimmed().isEmpty() || !month.isValid()) {
        showInformation(frame, DtrReportActions::NoEmployeeText);
        return std::nullopt;
    }
    return Picked{r.employeeId.trimmed(), month,
                  dtrReportModeAt(r.modeIndex).value_or(DtrReportMode::Monthly)};
}

QString notGeneratedText(const DtrBatch& batch) {
    const auto& missing = batch.notGenerated();
    if (missing.empty())
        return {};
    QStringList names;
    for (size_t i = 0; i < missing.size() && i < 10; ++i)
        names << missing[i].sortName;
    QString list = names.join(QStringLiteral("; "));
    if (missing.size() > 10)
        list += QStringLiteral("; and %1 more").arg(missing.size() - 10);
    if (!list.endsWith(QLatin1Char('.')))
        list += QLatin1Char('.');
    return QStringLiteral("\n\nNo DTR has been generated for %1, so there is no page for: %2")
        .arg(batch.period().text(), list);
}

} // namespace

void DtrReportActions::preview(QWidget* frame, DataCon& db, QWidget* button,
                               const DtrReportRequest& request) {
    const auto p = picked(frame, request);
    if (!p)
        return;
    QPointer<QWidget> guard(button);
    if (button)
        button->setEnabled(false);
    auto report = std::make_shared<std::optional<DtrReport>>();
    runTask(
        frame,
        [&db, p = *p, report] { report->emplace(DtrReportLoader::load(db, p.employeeId, p.month, p.mode)); },
        [frame, guard, report] {
            if (guard)
                guard->setEnabled(true);
            if (!report->has_value())
                return; // the error box follows
            DtrPreviewDialog dialog({std::move(**report)}, frame);
            Dialogs::current().showModal(dialog);
        });
}

void DtrReportActions::printAll(QWidget* frame, DataCon& db, QWidget* button,
                                const DtrReportRequest& request) {
    const auto p = picked(frame, request);
    if (!p)
        return;
    QPointer<QWidget> guard(button);
    if (button)
        button->setEnabled(false);
    const auto enable = [guard] {
        if (guard)
            guard->setEnabled(true);
    };
    auto batch = std::make_shared<std::unique_ptr<DtrBatch>>();
    runTask(
        frame,
        [&db, p = *p, batch] {
            const QString office = DtrBatch::officeOf(db, p.employeeId);
            *batch = std::make_unique<DtrBatch>(db, p.month, p.mode, office);
        },
        [frame, enable, batch] {
            if (!*batch) {
                enable();
                return;
            }
            std::shared_ptr<const DtrBatch> pages(std::move(*batch));
            auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
            printer->setPageLayout(Form48Layout::pageLayout());
            printer->setDocName(QStringLiteral("Daily Time Records - %1").arg(pages->officeName()));
            QPrintDialog dialog(printer.get(), frame);
            dialog.setWindowTitle(QStringLiteral("Print the DTRs of %1 (%2 pages)")
                                      .arg(pages->officeName())
                                      .arg(pages->pageCount()));
            if (Dialogs::current().showModal(dialog) != QDialog::Accepted) {
                enable();
                return;
            }

            auto* progress = new QProgressDialog(QStringLiteral("Printing the DTRs of %1, %2...")
                                                     .arg(pages->officeName(), pages->period().text()),
                                                 QStringLiteral("Cancel"), 0, pages->pageCount(), frame);
            progress->setObjectName(QStringLiteral("printAllProgress"));
            progress->setWindowTitle(QStringLiteral("Print all"));
            progress->setWindowModality(Qt::WindowModal);
            progress->setMinimumDuration(0);
            progress->setAutoClose(false);
            progress->setAutoReset(false);
            progress->setValue(0);
            progress->show();
            auto cancelled = std::make_shared<std::atomic_bool>(false);
            QObject::connect(progress, &QProgressDialog::canceled, progress,
                             [cancelled] { *cancelled = true; });
            QPointer<QProgressDialog> bar(progress);
            auto printed = std::make_shared<std::atomic_int>(0);

            runTask(
                frame,
                [pages, printer, cancelled, printed, bar] {
                    Form48Document document(*printer);
                    pages->print(document, [&](int done, int) {
                        *printed = done;
                        postToUi(bar, [bar, done] { bar->setValue(done); });
                        return !*cancelled;
                    });
                    if (*cancelled)
                        printer->abort();
                    document.finish();
                },
                [frame, enable, pages, cancelled, printed, bar] {
                    if (bar)
                        bar->deleteLater();
                    enable();
                    const int total = pages->pageCount();
                    if (*cancelled && *printed < total) {
                        showInformation(frame, QStringLiteral("Printing was cancelled after %1 of %2 pages.")
                                                   .arg(printed->load())
                                                   .arg(total));
                    } else if (*printed == total) {
                        showInformation(frame, QStringLiteral("%1 DTR pages of %2 (%3) were printed.")
                                                       .arg(total)
                                                       .arg(pages->officeName(), pages->period().text()) +
                                                   notGeneratedText(*pages));
                    }
                });
        });
}

} // namespace orv
