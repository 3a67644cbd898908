#include "CheckinoutForm.h"

#include "DtrReview.h"

#include "data/Background.h"
#include "data/Errors.h"
#include "data/Session.h"

#include <QToolButton>

namespace orv {

Tcheckinout_forms::Tcheckinout_forms(FrameContext& context, QWidget* parent)
    : QWidget(parent, Qt::Popup | Qt::FramelessWindowHint), m_context(context) {
    setObjectName(QStringLiteral("checkinout_forms"));
    setWindowTitle(QStringLiteral("checkinout_forms"));
    setFixedSize(125, 26);
    const auto button = [this](const QString& name, const QString& caption, int left) {
        auto* b = new QToolButton(this);
        b->setObjectName(name);
        b->setText(caption);
        b->setGeometry(left, 2, 57, 22);
        return b;
    };
    sSpeedButton1 = button(QStringLiteral("sSpeedButton1"), QStringLiteral("check-in"), 1);
    sSpeedButton2 = button(QStringLiteral("sSpeedButton2"), QStringLiteral("check-out"), 64);
    connect(sSpeedButton1, &QToolButton::clicked, this, &Tcheckinout_forms::sSpeedButton1Click);
    connect(sSpeedButton2, &QToolButton::clicked, this, &Tcheckinout_forms::sSpeedButton2Click);
}

void Tcheckinout_forms::popupAt(const QPoint& globalPos) {
    move(globalPos);
    show();
    raise();
}

void Tcheckinout_forms::sSpeedButton1Click() {
    relabel(QStringLiteral("check-in"));
}

void Tcheckinout_forms::sSpeedButton2Click() {
    relabel(QStringLiteral("check-out"));
}

void Tcheckinout_forms::relabel(const QString& checkMode) {
    bool changed = false;
    try {
        const QDate day = QDate::fromString(dates, QStringLiteral("yyyy-MM-dd"));
        bool idOk = false, empOk = false;
        const qint64 punch = ids.toLongLong(&idOk);
        const int employee = empid.toInt(&empOk);
        if (idOk && empOk && day.isValid())
            changed = DtrReview(m_context.db, m_context.session.userid)
                          .relabelPunch(employee, day, punch, checkMode);
    } catch (...) {
        close();
        reportUnhandledError(errorText(std::current_exception()));
        return;
    }
    Q_EMIT relabelled();
    if (changed && jj)
        jj();
    close();
}

} // namespace orv
