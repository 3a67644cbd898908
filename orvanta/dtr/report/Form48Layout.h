#pragma once

#include "DtrReport.h"
#include "ReportElement.h"

#include <QPageLayout>

#include <vector>

namespace orv {

// The Civil Service Form No. 48 page: two identical copies side by side on a
// Letter sheet, parted by a dotted cutting line. build() places every element
// of the form for one DTR; the painter only draws what it is given, so the
// list is what a page shows.
class Form48Layout {
public:
    // µm, inside the margins.
    static constexpr int HeaderTop = 0;
    static constexpr int HeaderHeight = 15347;
    static constexpr int DetailTop = HeaderTop + HeaderHeight;
    static constexpr int DetailHeight = 206905;
    static constexpr int FooterTop = DetailTop + DetailHeight;
    static constexpr int FooterHeight = 44450;
    static constexpr int RowsTop = 40213; // in the detail band
    static constexpr int RowHeight = 5207;
    static constexpr int ClosingHeight = 2381;
    static constexpr int ColumnWidth = 203200;
    static constexpr int LineWidth = 265; // 0.75 pt
    static constexpr double MarginMm = 6.35;

    // Letter, portrait, 6.35 mm margins.
    static QPageLayout pageLayout();

    static std::vector<ReportElement> build(const DtrReport& report);

    static constexpr const char* ClosingText =
        "x - x - x - x - x - x - x - x - x - x - x - x - x - x - x - x - x - x - x - x - x - x - x - x";
};

} // namespace orv
