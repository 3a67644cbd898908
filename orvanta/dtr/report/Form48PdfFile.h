#pragma once

#include "DtrReport.h"

#include <QString>

#include <memory>

class QPdfWriter;
class QSaveFile;

namespace orv {

class Form48Document;

// A PDF file of Form 48 pages. It is written beside its final name and put in
// place by commit(), so a failed or cancelled run leaves no half file (and an
// older file of that name stays as it was).
class Form48PdfFile {
public:
    // Throws UserError when the file cannot be created.
    explicit Form48PdfFile(const QString& path);
    ~Form48PdfFile();
    Form48PdfFile(const Form48PdfFile&) = delete;
    Form48PdfFile& operator=(const Form48PdfFile&) = delete;

    Form48Document& document() { return *m_document; }
    void addPage(const DtrReport& report);
    int pageCount() const;
    // Finishes the PDF and replaces the file; throws UserError on failure.
    void commit();

private:
    QString m_path;
    std::unique_ptr<QSaveFile> m_file;
    std::unique_ptr<QPdfWriter> m_writer;
    std::unique_ptr<Form48Document> m_document;
};

} // namespace orv
