#include "DtrPreviewDialog.h"

#include "Form48Document.h"
#include "Form48Layout.h"
#include "Form48PdfFile.h"

#include "data/Errors.h"
#include "shell/Dialogs.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QStandardPaths>
#include <QToolBar>
#include <QVBoxLayout>

namespace orv {

namespace {

std::unique_ptr<QPrinter> formPrinter() {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setPageLayout(Form48Layout::pageLayout()); // without a print system Qt would default to A4
    printer->setDocName(QStringLiteral("Daily Time Record"));
    return printer;
}

} // namespace

DtrPreviewDialog::DtrPreviewDialog(std::vector<DtrReport> pages, QWidget* parent)
    : QDialog(parent), m_pages(std::move(pages)), m_previewPrinter(formPrinter()) {
    setObjectName(QStringLiteral("DtrPreview"));
    const QString who =
        m_pages.size() == 1 ? m_pages.front().fullName : QStringLiteral("%1 employees").arg(m_pages.size());
    const QString period = m_pages.empty() ? QString() : m_pages.front().periodText;
    setWindowTitle(QStringLiteral("DTR Preview - %1, %2").arg(who, period));
    resize(980, 900);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("previewToolBar"));
    layout->addWidget(bar);
    m_preview = new QPrintPreviewWidget(m_previewPrinter.get(), this);
    m_preview->setObjectName(QStringLiteral("preview"));
    layout->addWidget(m_preview, 1);

    const auto add = [&](const QString& name, const QString& text, const QKeySequence& key, auto slot) {
        QAction* a = bar->addAction(text);
        a->setObjectName(name);
        if (!key.isEmpty())
            a->setShortcut(key);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    add(QStringLiteral("printAction"), QStringLiteral("Print..."), QKeySequence::Print,
        &DtrPreviewDialog::printPages);
    add(QStringLiteral("exportAction"), QStringLiteral("Export PDF..."), QKeySequence::Save,
        &DtrPreviewDialog::exportPdf);
    bar->addSeparator();
    add(QStringLiteral("fitWidthAction"), QStringLiteral("Fit width"), {},
        [this] { m_preview->fitToWidth(); });
    add(QStringLiteral("fitPageAction"), QStringLiteral("Whole page"), {},
        [this] { m_preview->fitInView(); });
    add(QStringLiteral("zoomInAction"), QStringLiteral("Zoom in"), QKeySequence::ZoomIn,
        [this] { m_preview->zoomIn(); });
    add(QStringLiteral("zoomOutAction"), QStringLiteral("Zoom out"), QKeySequence::ZoomOut,
        [this] { m_preview->zoomOut(); });
    if (m_pages.size() > 1) {
        bar->addSeparator();
        add(QStringLiteral("firstPageAction"), QStringLiteral("First"), {},
            [this] { m_preview->setCurrentPage(1); });
        add(QStringLiteral("previousPageAction"), QStringLiteral("Previous"),
            QKeySequence::MoveToPreviousPage,
            [this] { m_preview->setCurrentPage(m_preview->currentPage() - 1); });
        add(QStringLiteral("nextPageAction"), QStringLiteral("Next"), QKeySequence::MoveToNextPage,
            [this] { m_preview->setCurrentPage(m_preview->currentPage() + 1); });
        add(QStringLiteral("lastPageAction"), QStringLiteral("Last"), {},
            [this] { m_preview->setCurrentPage(m_preview->pageCount()); });
    }
    m_pageLabel = new QLabel(bar);
    m_pageLabel->setObjectName(QStringLiteral("pageLabel"));
    m_pageLabel->setContentsMargins(12, 0, 12, 0);
    bar->addWidget(m_pageLabel);

    connect(m_preview, &QPrintPreviewWidget::paintRequested, this, &DtrPreviewDialog::paintPages);
    connect(m_preview, &QPrintPreviewWidget::previewChanged, this, &DtrPreviewDialog::updatePageLabel);
    m_preview->fitToWidth();
    m_preview->updatePreview();
}

DtrPreviewDialog::~DtrPreviewDialog() = default;

QString DtrPreviewDialog::suggestedFileName() const {
    if (m_pages.empty())
        return QStringLiteral("DTR.pdf");
    const DtrReport& r = m_pages.front();
    QString who = m_pages.size() == 1 ? r.fullName : QStringLiteral("%1 employees").arg(m_pages.size());
    who.replace(QLatin1Char('/'), QLatin1Char('-'));
    return QStringLiteral("DTR %1 - %2.pdf").arg(who, r.period.monthText());
}

void DtrPreviewDialog::paintPages(QPrinter* printer) {
    try {
        Form48Document document(*printer);
        for (const DtrReport& page : m_pages)
            document.addPage(page);
    } catch (...) {
        showError(this, errorText(std::current_exception()));
    }
}

void DtrPreviewDialog::updatePageLabel() {
    m_pageLabel->setText(
        QStringLiteral("Page %1 of %2").arg(m_preview->currentPage()).arg(m_preview->pageCount()));
}

void DtrPreviewDialog::printPages() {
    auto printer = formPrinter();
    QPrintDialog dialog(printer.get(), this);
    dialog.setWindowTitle(QStringLiteral("Print the DTR"));
    dialog.setMinMax(1, pageCount());
    if (Dialogs::current().showModal(dialog) != QDialog::Accepted)
        return;
    try {
        Form48Document document(*printer);
        int from = 1, to = pageCount();
        if (printer->printRange() == QPrinter::PageRange && printer->fromPage() > 0) {
            from = printer->fromPage();
            to = std::min(printer->toPage(), pageCount());
        }
        for (int i = from; i <= to; ++i)
            document.addPage(m_pages[static_cast<size_t>(i - 1)]);
        document.finish();
    } catch (...) {
        showError(this, errorText(std::current_exception()));
    }
}

void DtrPreviewDialog::exportPdf() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QString path = Dialogs::current().saveFileName(this, QStringLiteral("Export the DTR as PDF"),
                                                   QDir(folder).filePath(suggestedFileName()),
                                                   QStringLiteral("PDF files (*.pdf)"));
    if (path.isEmpty())
        return;
    if (!path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        path += QStringLiteral(".pdf");
    try {
        Form48PdfFile pdf(path);
        for (const DtrReport& page : m_pages)
            pdf.addPage(page);
        pdf.commit();
        showInformation(this, QStringLiteral("The DTR was saved to %1.").arg(QDir::toNativeSeparators(path)));
    } catch (...) {
        showError(this, errorText(std::current_exception()));
    }
}

} // namespace orv
