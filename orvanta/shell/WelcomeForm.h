#pragma once

#include "VersionCheck.h"

#include <QDialog>

class QLabel;
class QProgressBar;

namespace orv {

struct FrameContext;
class TMainForm;

// The start-up splash: a running bar while, in the background, the named
// queries are opened once and a newer published version is looked for
// (VersionCheck); then it makes way for the login. A failed check is told in
// the splash's label for a moment and does not stop the login.
class TWelcome_forms : public QDialog {
    Q_OBJECT
public:
    static constexpr int DefaultNoticeMs = 3000;

    // installFolder: where the updater lies and announces itself (the
    // program's own folder unless given).
    TWelcome_forms(FrameContext& context, TMainForm& mainForm, QString installFolder = {},
                   QWidget* parent = nullptr);

    // How long a notice stays in the label before the login opens.
    void setNoticeDelay(int ms) { m_noticeMs = ms; }
    const VersionCheck::Outcome& outcome() const { return m_outcome; }

    QProgressBar* ProgressBar1 = nullptr;
    QLabel* sLabel1 = nullptr;

Q_SIGNALS:
    void checkFinished();

public Q_SLOTS:
    void UMMyMessage();

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override {} // no way around the login

private:
    void openLogin();

    FrameContext& m_context;
    TMainForm& m_mainForm;
    QString m_installFolder;
    VersionCheck::Outcome m_outcome;
    int m_noticeMs = DefaultNoticeMs;
    bool m_started = false;
};

} // namespace orv
