#pragma once

#include "shell/FrameContext.h"

#include <QWidget>

#include <functional>

class QToolButton;

namespace orv {

// The small popup that re-labels a punch as a check-in or a check-out. The
// review frame fills its fields and shows it at the mouse pointer.
class Tcheckinout_forms : public QWidget {
    Q_OBJECT
public:
    Tcheckinout_forms(FrameContext& context, QWidget* parent);

    QString ids;              // att_readid of the punch
    QString empid;            // employee id
    QString dates;            // the day, yyyy-MM-dd
    std::function<void()> jj; // the month's generation, run after a change

    QToolButton* sSpeedButton1; // "check-in"
    QToolButton* sSpeedButton2; // "check-out"

    // Shows the popup at a screen position.
    void popupAt(const QPoint& globalPos);

public Q_SLOTS:
    void sSpeedButton1Click();
    void sSpeedButton2Click();

Q_SIGNALS:
    // The punch was re-labelled and the day's times cleared: the lists are stale.
    void relabelled();

private:
    void relabel(const QString& checkMode);

    FrameContext& m_context;
};

} // namespace orv
