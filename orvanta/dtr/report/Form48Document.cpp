#include "Form48Document.h"

#include "Form48Layout.h"
#include "Form48Painter.h"

#include "data/Errors.h"

#include <QPagedPaintDevice>

namespace orv {

Form48Document::Form48Document(QPagedPaintDevice& device) : m_device(device) {
    m_device.setPageLayout(Form48Layout::pageLayout());
    if (!m_painter.begin(&m_device))
        throw UserError(QStringLiteral("The DTR cannot be written: the output could not be opened."));
}

Form48Document::~Form48Document() {
    if (m_painter.isActive())
        m_painter.end();
}

void Form48Document::addPage(const DtrReport& report) {
    if (m_pages > 0 && !m_device.newPage())
        throw UserError(QStringLiteral("The DTR cannot be written: a new page could not be started."));
    Form48Painter::mapToMicrons(m_painter, m_device);
    Form48Painter::paint(m_painter, Form48Layout::build(report));
    ++m_pages;
}

void Form48Document::finish() {
    if (m_painter.isActive())
        m_painter.end();
}

} // namespace orv
