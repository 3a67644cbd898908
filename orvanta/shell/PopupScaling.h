#pragma once

#include <QFrame>

class QSlider;
class QToolButton;

namespace orv {

// The "Change DPI" drop-down: follow the system's scaling, or a custom
// pixels-per-inch value chosen on a track bar (72 to 288) that snaps to the
// marks 96, 120, 144 and 192 when dragged within 2 of them.
class TPopupScalings : public QFrame {
    Q_OBJECT
public:
    explicit TPopupScalings(QWidget* parent);

    static int snapToMark(int position);
    int systemPixelsPerInch() const;
    int currentPixelsPerInch() const { return m_custom ? m_ppi : systemPixelsPerInch(); }
    bool custom() const { return m_custom; }
    void popupBelow(QWidget* anchor);

    void chooseAuto();
    void chooseCustom(int ppi);

Q_SIGNALS:
    // Caption for the "Change DPI" button.
    void captionChanged(const QString& caption);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void MakeSelected(QToolButton* entry, bool selected);
    void applyScale();

    QToolButton* m_auto;
    QToolButton* m_customEntry;
    QSlider* m_track;
    bool m_custom = false;
    int m_ppi = 96;
    double m_basePointSize = 0;
};

} // namespace orv
