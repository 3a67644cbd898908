#pragma once

#include "ReportElement.h"

#include <vector>

class QPainter;
class QPaintDevice;

namespace orv {

// Draws a list of positioned elements (see Form48Layout). The painter works
// in µm from the top-left corner of the printable area.
class Form48Painter {
public:
    // Sets painter's transform so that one unit is one µm on device, from the
    // origin the device paints at (the printable area of a paged device).
    static void mapToMicrons(QPainter& painter, const QPaintDevice& device);
    static void paint(QPainter& painter, const std::vector<ReportElement>& elements);
};

} // namespace orv
