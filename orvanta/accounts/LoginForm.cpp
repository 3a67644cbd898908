#include "LoginForm.h"
#include "ActivationForm.h"
#include "ForgotPassForm.h"
#include "HandlerTools.h"
#include "SignupForm.h"

#include "data/DataCon.h"
#include "data/Session.h"
#include "shell/Dialogs.h"
#include "shell/FrameContext.h"
#include "shell/MainForm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace orv {

TLogin_forms::TLogin_forms(FrameContext& context, TMainForm& mainForm, QWidget* parent)
    : QDialog(parent ? parent : &mainForm), m_context(context), m_mainForm(mainForm),
      m_service(context.db, context.session) {
    setObjectName(QStringLiteral("Login_forms"));
    setWindowTitle(QStringLiteral("Login"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setFixedSize(337, 194);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(12, 4, 4, 12);

    auto* top = new QHBoxLayout;
    auto* title = new QLabel(QStringLiteral("Orvanta"), this);
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() + 3);
    title->setFont(titleFont);
    sSpeedButton1 = new QToolButton(this);
    sSpeedButton1->setObjectName(QStringLiteral("sSpeedButton1"));
    sSpeedButton1->setText(QStringLiteral("X"));
    sSpeedButton1->setAutoRaise(true);
    top->addWidget(title);
    top->addStretch();
    top->addWidget(sSpeedButton1);
    outer->addLayout(top);

    auto* grid = new QGridLayout;
    grid->setContentsMargins(0, 0, 8, 0);
    sEdit1 = new QLineEdit(this);
    sEdit1->setObjectName(QStringLiteral("sEdit1"));
    sEdit1->setPlaceholderText(QStringLiteral("Username"));
    sEdit1->setToolTip(QStringLiteral("Username"));
    sEdit2 = new QLineEdit(this);
    sEdit2->setObjectName(QStringLiteral("sEdit2"));
    sEdit2->setPlaceholderText(QStringLiteral("Password"));
    sEdit2->setToolTip(QStringLiteral("Password"));
    sEdit2->setEchoMode(QLineEdit::Password);
    sButton1 = new QPushButton(QStringLiteral("LOGIN"), this);
    sButton1->setObjectName(QStringLiteral("sButton1"));
    sButton1->setMinimumHeight(52);
    grid->addWidget(sEdit1, 0, 0);
    grid->addWidget(sEdit2, 1, 0);
    grid->addWidget(sButton1, 0, 1, 2, 1);
    outer->addLayout(grid);

    sWebLabel1 = new QLabel(QStringLiteral("<a href=\"#\">forgot password?</a>"), this);
    sWebLabel1->setObjectName(QStringLiteral("sWebLabel1"));
    sWebLabel1->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    outer->addWidget(sWebLabel1);
    outer->addStretch();

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    outer->addWidget(line);
    sButton2 = new QPushButton(QStringLiteral("Create new account"), this);
    sButton2->setObjectName(QStringLiteral("sButton2"));
    outer->addWidget(sButton2);

    // Enter in a field logs in once: no button takes Enter as its default.
    for (QPushButton* b : {sButton1, sButton2}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    connect(sButton1, &QPushButton::clicked, this, &TLogin_forms::sButton1Click);
    connect(sButton2, &QPushButton::clicked, this, &TLogin_forms::sButton2Click);
    connect(sSpeedButton1, &QToolButton::clicked, this, &TLogin_forms::sSpeedButton1Click);
    connect(sWebLabel1, &QLabel::linkActivated, this, &TLogin_forms::sWebLabel1Click);
    const auto enter = [this] { login(sEdit1->text(), sEdit2->text()); };
    connect(sEdit1, &QLineEdit::returnPressed, this, enter);
    connect(sEdit2, &QLineEdit::returnPressed, this, enter);
}

void TLogin_forms::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (isVisible())
        move(m_mainForm.geometry().center() - rect().center());
    FormActivate();
}

void TLogin_forms::FormActivate() {
    sButton1->setFocus();
    guarded([this] { m_service.readOwnConnection(); });
}

void TLogin_forms::login(const QString& username, const QString& password) {
    guarded([&] {
        const LoginService::Result r = m_service.login(username, password);
        switch (r.outcome) {
        case LoginService::Outcome::WrongCredentials:
            showWarning(this, wrongText());
            return;
        case LoginService::Outcome::Busy:
            showWarning(this, busyText());
            break;
        case LoginService::Outcome::OtherTerminated:
            showInformation(this, againText());
            break;
        case LoginService::Outcome::Granted:
            m_mainForm.revealRibbon();
            m_mainForm.setPanelText(1, r.welcome);
            if (r.verified)
                accept();
            break;
        }
        if (r.needsActivation()) {
            TActivation_forms activation(m_context.db, r.username, r.email);
            Dialogs::current().showModal(activation);
            FormActivate();
        }
    });
}

void TLogin_forms::sButton1Click() {
    DisabledWhile hold(sButton1);
    login(sEdit1->text(), sEdit2->text());
}

void TLogin_forms::sSpeedButton1Click() {
    m_closing = true;
    m_mainForm.close();
    done(QDialog::Rejected);
    QCoreApplication::quit();
}

void TLogin_forms::sWebLabel1Click() {
    DisabledWhile hold(sWebLabel1);
    TForgotPass_forms recovery(m_context);
    Dialogs::current().showModal(recovery);
    FormActivate();
}

void TLogin_forms::sButton2Click() {
    TSignup_forms signup(m_context);
    Dialogs::current().showModal(signup);
    FormActivate();
}

void TLogin_forms::closeEvent(QCloseEvent* event) {
    // The window manager's close does what "X" does.
    if (!m_closing && result() != QDialog::Accepted) {
        event->ignore();
        sSpeedButton1Click();
        return;
    }
    QDialog::closeEvent(event);
}

} // namespace orv
