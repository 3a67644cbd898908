#pragma once

#include "DtrReport.h"

#include <QDialog>

#include <vector>

class QAction;
class QLabel;
class QPrinter;
class QPrintPreviewWidget;

namespace orv {

// The preview window of the Form 48: the pages as they will print, with
// zoom and page buttons, printing through the print dialog and export to a
// PDF file.
class DtrPreviewDialog : public QDialog {
    Q_OBJECT
public:
    DtrPreviewDialog(std::vector<DtrReport> pages, QWidget* parent = nullptr);
    ~DtrPreviewDialog() override;

    QPrintPreviewWidget* previewWidget() const { return m_preview; }
    int pageCount() const { return static_cast<int>(m_pages.size()); }
    // The file name offered by the export: "DTR Last, First - March 2024.pdf".
    QString suggestedFileName() const;

public slots:
    // Shows the print dialog and prints on the chosen printer.
    void printPages();
    // Asks for a file name and writes the pages as PDF there.
    void exportPdf();

private:
    void paintPages(QPrinter* printer);
    void updatePageLabel();

    std::vector<DtrReport> m_pages;
    std::unique_ptr<QPrinter> m_previewPrinter;
    QPrintPreviewWidget* m_preview = nullptr;
    QLabel* m_pageLabel = nullptr;
};

} // namespace orv
