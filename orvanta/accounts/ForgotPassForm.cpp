#include "ForgotPassForm.h"
#include "CurlMailer.h"
#include "HandlerTools.h"

#include "shell/Dialogs.h"
#include "shell/FrameContext.h"

#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace orv {

TForgotPass_forms::TForgotPass_forms(FrameContext& context, QWidget* parent)
    : QDialog(parent), m_context(context), m_recovery(context.db) {
    setObjectName(QStringLiteral("ForgotPass_forms"));
    setWindowTitle(QStringLiteral("Forgot Password"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);
    setFixedSize(262, 91);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 6);
    Label1 = new QLabel(QStringLiteral("Press enter to verify your username."), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    sEdit1 = new QLineEdit(this);
    sEdit1->setObjectName(QStringLiteral("sEdit1"));
    sEdit1->setPlaceholderText(QStringLiteral("Username"));
    sEdit1->setToolTip(QStringLiteral("Username"));
    sSpeedButton1 = new QToolButton(this);
    sSpeedButton1->setObjectName(QStringLiteral("sSpeedButton1"));
    sSpeedButton1->setText(QStringLiteral("Send to email"));
    sSpeedButton1->setEnabled(false);
    sSpeedButton1->setToolButtonStyle(Qt::ToolButtonTextOnly);
    layout->addWidget(Label1);
    layout->addWidget(sEdit1);
    layout->addWidget(sSpeedButton1, 0, Qt::AlignRight);

    connect(sEdit1, &QLineEdit::textChanged, this, &TForgotPass_forms::sEdit1Change);
    connect(sEdit1, &QLineEdit::returnPressed, this, &TForgotPass_forms::verifyUsername);
    connect(sSpeedButton1, &QToolButton::clicked, this, &TForgotPass_forms::sSpeedButton1Click);
}

void TForgotPass_forms::sEdit1Change() {
    sSpeedButton1->setEnabled(false);
}

void TForgotPass_forms::verifyUsername() {
    guarded([this] { sSpeedButton1->setEnabled(m_recovery.verifyUsername(sEdit1->text())); });
}

void TForgotPass_forms::sSpeedButton1Click() {
    sSpeedButton1->setEnabled(false);
    bool finished = false;
    guarded([&] {
        CurlMailer mailer(MailSettings::fromIni(m_context.ini));
        QString failure;
        try {
            m_recovery.reset(sEdit1->text(), mailer);
        } catch (const MailError& e) {
            failure = e.text(); // nothing was changed: the old password still works
        }
        finished = true;
        done(failure.isEmpty() ? QDialog::Accepted : QDialog::Rejected);
        if (!failure.isEmpty())
            Dialogs::current().message(nullptr, MsgIcon::None, QString(), failure);
    });
    if (!finished) // another failure leaves the dialog open for another try
        verifyUsername();
}

} // namespace orv
