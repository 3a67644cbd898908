#include "WelcomeForm.h"
#include "Dialogs.h"
#include "FrameContext.h"
#include "MainForm.h"

#include "accounts/LoginForm.h"
#include "data/Background.h"
#include "data/Session.h"
#include "platform/Platform.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QTimer>

#include <memory>

namespace orv {

TWelcome_forms::TWelcome_forms(FrameContext& context, TMainForm& mainForm, QString installFolder,
                               QWidget* parent)
    : QDialog(parent ? parent : &mainForm), m_context(context), m_mainForm(mainForm),
      m_installFolder(installFolder.isEmpty() ? QCoreApplication::applicationDirPath()
                                              : std::move(installFolder)) {
    setObjectName(QStringLiteral("Welcome_forms"));
    setWindowTitle(QStringLiteral("Orvanta"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(333, 44);
    setCursor(Qt::WaitCursor);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(8, 8, 317, 17);
    ProgressBar1->setRange(0, 0); // a running bar
    ProgressBar1->setTextVisible(false);
    sLabel1 = new QLabel(this);
    sLabel1->setObjectName(QStringLiteral("sLabel1"));
    sLabel1->setGeometry(8, 26, 317, 16);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(9);
    font.setItalic(true);
    sLabel1->setFont(font);
}

void TWelcome_forms::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    move(m_mainForm.geometry().center() - rect().center());
    platform::trimMemory();
    // The work starts once the window is on screen, and only once.
    if (!m_started) {
        m_started = true;
        QMetaObject::invokeMethod(this, &TWelcome_forms::UMMyMessage, Qt::QueuedConnection);
    }
}

void TWelcome_forms::UMMyMessage() {
    if (m_context.session.con_stat != QLatin1String("ok"))
        return;
    auto outcome = std::make_shared<VersionCheck::Outcome>();
    const QString version = m_context.session.currentversion;
    const QString apps = m_context.session.apps;
    const QString folder = m_installFolder;
    FrameContext& context = m_context; // outlives the splash
    QPointer<TWelcome_forms> self(this);
    AsyncAwait(
        this,
        [self, &context, outcome, version, apps, folder] {
            VersionCheck check(context.db, context.ini, folder);
            try {
                check.warmUp([self](const QString& text) {
                    postToUi(self, [self, text] { self->sLabel1->setText(text); });
                });
            } catch (...) { // the warm-up only saves time later
            }
            *outcome = check.check(version, apps);
        },
        [this, outcome] {
            m_outcome = *outcome;
            Q_EMIT checkFinished();
            if (m_outcome.notice.isEmpty()) {
                openLogin();
                return;
            }
            // The notice may be longer than the splash's one line: it grows to show it.
            sLabel1->setWordWrap(true);
            sLabel1->setText(m_outcome.notice.simplified());
            sLabel1->setToolTip(m_outcome.notice);
            const int textHeight = sLabel1->heightForWidth(sLabel1->width());
            sLabel1->resize(sLabel1->width(), textHeight);
            setFixedSize(width(), sLabel1->y() + textHeight + 6);
            QTimer::singleShot(m_noticeMs, this, &TWelcome_forms::openLogin);
        });
}

void TWelcome_forms::openLogin() {
    hide();
    TLogin_forms login(m_context, m_mainForm);
    Dialogs::current().showModal(login);
    done(QDialog::Accepted);
}

} // namespace orv
