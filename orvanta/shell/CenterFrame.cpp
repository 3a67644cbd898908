#include "CenterFrame.h"
#include "Artwork.h"

#include <QLabel>

namespace orv {

TCenter_frames::TCenter_frames(FrameContext& context, QWidget* parent)
    : TCustomInfoFrame(context, parent), m_picture(new QLabel(this)) {
    setObjectName(QStringLiteral("Center_frames"));
    m_picture->setObjectName(QStringLiteral("Image1"));
    m_picture->setPixmap(startPicture());
    m_picture->setScaledContents(true);
    m_picture->resize(m_picture->pixmap().size());
}

void TCenter_frames::resizeEvent(QResizeEvent* event) {
    TCustomInfoFrame::resizeEvent(event);
    // Centre on the container (the frame fills it); integer division truncates toward zero.
    const QWidget* container = parentWidget() ? parentWidget() : this;
    m_picture->move(container->width() / 2 - m_picture->width() / 2,
                    container->height() / 2 - m_picture->height() / 2);
}

} // namespace orv
