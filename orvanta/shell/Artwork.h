#pragma once

#include <QPixmap>

namespace orv {

// The start picture and the corner logo, drawn by the program itself.
QPixmap startPicture();
QPixmap cornerLogo();

} // namespace orv
