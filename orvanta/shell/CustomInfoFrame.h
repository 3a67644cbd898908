#pragma once

#include "FrameContext.h"

#include <QFrame>

namespace orv {

// Base of every work frame shown in the main window's container. The main
// window calls AfterCreation once the frame is placed and BeforeDestruct just
// before it frees the frame; the skin hooks run around a skin change.
class TCustomInfoFrame : public QFrame {
    Q_OBJECT
public:
    TCustomInfoFrame(FrameContext& context, QWidget* parent);

    virtual void AfterCreation() {}
    virtual void BeforeDestruct() {}
    virtual void AfterSkinChange() {}
    virtual void BeforeSkinChange() {}
    virtual void SkinActiveChanged() {}

protected:
    FrameContext& m_context;
};

} // namespace orv
