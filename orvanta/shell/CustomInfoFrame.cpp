#include "CustomInfoFrame.h"

namespace orv {

TCustomInfoFrame::TCustomInfoFrame(FrameContext& context, QWidget* parent)
    : QFrame(parent), m_context(context) {}

} // namespace orv
