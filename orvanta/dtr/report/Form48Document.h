#pragma once

#include "DtrReport.h"

#include <QPainter>

class QPagedPaintDevice;

namespace orv {

// Paints Form 48 pages one after the other onto a paged device (a PDF writer
// or a printer), so a long run never holds more than the page at hand.
class Form48Document {
public:
    // Gives device the form's page layout (Letter, 6.35 mm margins) and starts
    // painting; throws UserError when the device cannot be opened.
    explicit Form48Document(QPagedPaintDevice& device);
    ~Form48Document();
    Form48Document(const Form48Document&) = delete;
    Form48Document& operator=(const Form48Document&) = delete;

    void addPage(const DtrReport& report);
    int pageCount() const { return m_pages; }
    // Ends painting (also done by the destructor).
    void finish();

private:
    QPagedPaintDevice& m_device;
    QPainter m_painter;
    int m_pages = 0;
};

} // namespace orv
