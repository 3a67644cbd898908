#include "PopupScaling.h"

#include <QApplication>
#include <QScreen>
#include <QSlider>
#include <QStyle>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>

#include <cmath>

namespace orv {

namespace {
constexpr int Marks[] = {96, 120, 144, 192};
}

TPopupScalings::TPopupScalings(QWidget* parent)
    : QFrame(parent, Qt::Popup), m_auto(new QToolButton(this)), m_customEntry(new QToolButton(this)),
      m_track(new QSlider(Qt::Horizontal, this)), m_basePointSize(QApplication::font().pointSizeF()) {
    setObjectName(QStringLiteral("PopupScalings"));
    setFrameShape(QFrame::StyledPanel);
    auto* layout = new QVBoxLayout(this);
    m_auto->setText(QStringLiteral("Auto scaling"));
    m_auto->setObjectName(QStringLiteral("AutoScaling"));
    m_customEntry->setObjectName(QStringLiteral("CustomScaling"));
    for (QToolButton* b : {m_auto, m_customEntry}) {
        b->setAutoRaise(true);
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    m_track->setObjectName(QStringLiteral("sTrackBar1"));
    m_track->setRange(72, 288);
    m_track->setPageStep(24);
    m_track->setValue(96);
    m_track->setTickPosition(QSlider::TicksBelow);
    m_track->setTickInterval(24);
    layout->addWidget(m_auto);
    layout->addWidget(line);
    layout->addWidget(m_customEntry);
    layout->addWidget(m_track);

    connect(m_auto, &QToolButton::clicked, this, &TPopupScalings::chooseAuto);
    connect(m_customEntry, &QToolButton::clicked, this, [this] { chooseCustom(m_track->value()); });
    connect(m_track, &QSlider::valueChanged, this, [this](int v) {
        const int snapped = snapToMark(v);
        if (snapped != v)
            m_track->setValue(snapped);
        QToolTip::showText(m_track->mapToGlobal(QPoint(m_track->width() / 2, -20)), QString::number(snapped),
                           m_track);
    });
    connect(m_track, &QSlider::sliderReleased, this, [this] {
        hide();
        chooseCustom(m_track->value());
    });
    MakeSelected(m_auto, true);
    MakeSelected(m_customEntry, false);
}

int TPopupScalings::snapToMark(int position) {
    for (const int mark : Marks)
        if (position != mark && std::abs(position - mark) <= 2)
            return mark;
    return position;
}

int TPopupScalings::systemPixelsPerInch() const {
    const QScreen* screen = QApplication::primaryScreen();
    return screen ? static_cast<int>(std::lround(screen->logicalDotsPerInch())) : 96;
}

void TPopupScalings::popupBelow(QWidget* anchor) {
    adjustSize();
    move(anchor->mapToGlobal(QPoint(0, anchor->height())));
    show();
}

void TPopupScalings::showEvent(QShowEvent* event) {
    QFrame::showEvent(event);
    m_track->blockSignals(true);
    m_track->setValue(currentPixelsPerInch());
    m_track->blockSignals(false);
    m_customEntry->setText(QStringLiteral("Custom PixelsPerInch value: %1").arg(currentPixelsPerInch()));
}

void TPopupScalings::chooseAuto() {
    hide();
    m_custom = false;
    applyScale();
    MakeSelected(m_auto, true);
    MakeSelected(m_customEntry, false);
    Q_EMIT captionChanged(QStringLiteral("Auto PPI: %1").arg(currentPixelsPerInch()));
}

void TPopupScalings::chooseCustom(int ppi) {
    m_custom = true;
    m_ppi = ppi;
    applyScale();
    MakeSelected(m_auto, false);
    MakeSelected(m_customEntry, true);
    m_customEntry->setText(QStringLiteral("Custom PixelsPerInch value: %1").arg(ppi));
    Q_EMIT captionChanged(QStringLiteral("Custom PPI: %1").arg(ppi));
}

void TPopupScalings::MakeSelected(QToolButton* entry, bool selected) {
    QFont f = entry->font();
    f.setBold(selected);
    entry->setFont(f);
    entry->setIcon(style()->standardIcon(selected ? QStyle::SP_DialogApplyButton : QStyle::SP_ArrowRight));
}

void TPopupScalings::applyScale() {
    // The whole program follows the chosen density through its font size.
    QFont f = QApplication::font();
    const double factor = m_custom ? static_cast<double>(m_ppi) / systemPixelsPerInch() : 1.0;
    f.setPointSizeF(m_basePointSize * factor);
    QApplication::setFont(f);
}

} // namespace orv
