#pragma once

#include "CustomInfoFrame.h"

class QLabel;

namespace orv {

// The start picture, centred in the container whenever the frame is resized.
class TCenter_frames : public TCustomInfoFrame {
    Q_OBJECT
public:
    TCenter_frames(FrameContext& context, QWidget* parent);

    QLabel* picture() const { return m_picture; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QLabel* m_picture;
};

} // namespace orv
