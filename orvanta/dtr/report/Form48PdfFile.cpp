#include "Form48PdfFile.h"

#include "Form48Document.h"

#include "data/Errors.h"

#include <QDir>
#include <QPdfWriter>
#include <QSaveFile>

namespace orv {

Form48PdfFile::Form48PdfFile(const QString& path) : m_path(path), m_file(std::make_unique<QSaveFile>(path)) {
    if (!m_file->open(QIODevice::WriteOnly))
        throw UserError(
            QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(path), m_file->errorString()));
    m_writer = std::make_unique<QPdfWriter>(m_file.get());
    m_writer->setResolution(1200);
    m_writer->setCreator(QStringLiteral("Orvanta"));
    m_writer->setTitle(QStringLiteral("Daily Time Record (Civil Service Form No. 48)"));
    m_document = std::make_unique<Form48Document>(*m_writer);
}

Form48PdfFile::~Form48PdfFile() {
    m_document.reset();
    m_writer.reset();
    if (m_file)
        m_file->cancelWriting();
}

void Form48PdfFile::addPage(const DtrReport& report) {
    m_document->addPage(report);
}

int Form48PdfFile::pageCount() const {
    return m_document->pageCount();
}

void Form48PdfFile::commit() {
    m_document->finish();
    m_document.reset();
    m_writer.reset();
    if (!m_file->commit())
        throw UserError(QStringLiteral("Cannot write %1: %2")
                            .arg(QDir::toNativeSeparators(m_path), m_file->errorString()));
    m_file.reset();
}

} // namespace orv
