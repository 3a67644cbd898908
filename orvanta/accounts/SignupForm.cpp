#include "SignupForm.h"
#include "ActivationForm.h"
#include "CurlMailer.h"
#include "HandlerTools.h"

#include "shell/Dialogs.h"
#include "shell/FrameContext.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace orv {

namespace {

QLineEdit* field(QWidget* parent, QLayout* layout, const QString& name, const QString& hint) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setPlaceholderText(hint);
    e->setToolTip(hint);
    layout->addWidget(e);
    return e;
}

} // namespace

TSignup_forms::TSignup_forms(FrameContext& context, QWidget* parent)
    : QDialog(parent), m_context(context), m_service(context.db) {
    setObjectName(QStringLiteral("Signup_forms"));
    setWindowTitle(QStringLiteral("Sign Up"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);
    setFixedSize(375, 333);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 12);
    auto* title = new QLabel(QStringLiteral("Sign Up"), this);
    QFont big = title->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() + 4);
    title->setFont(big);
    layout->addWidget(title);
    sEdit1 = field(this, layout, QStringLiteral("sEdit1"), QStringLiteral("First name"));
    sEdit2 = field(this, layout, QStringLiteral("sEdit2"), QStringLiteral("Last name"));
    sEdit3 = field(this, layout, QStringLiteral("sEdit3"), QStringLiteral("Username"));
    sEdit4 = field(this, layout, QStringLiteral("sEdit4"), QStringLiteral("New password"));
    sEdit4->setEchoMode(QLineEdit::Password);
    sEdit5 = field(this, layout, QStringLiteral("sEdit5"), QStringLiteral("Position"));
    sComboBox1 = new QComboBox(this);
    sComboBox1->setObjectName(QStringLiteral("sComboBox1"));
    sComboBox1->setPlaceholderText(QStringLiteral("Office"));
    sComboBox1->installEventFilter(this); // pick only
    layout->addWidget(sComboBox1);
    sEdit6 = field(this, layout, QStringLiteral("sEdit6"), QStringLiteral("Valid Email address"));
    sLabel1 = new QLabel(QStringLiteral("Sending activation code to your email."), this);
    sLabel1->setObjectName(QStringLiteral("sLabel1"));
    sLabel1->setVisible(false);
    layout->addWidget(sLabel1);
    layout->addStretch();
    sButton1 = new QPushButton(QStringLiteral("Sign Up"), this);
    sButton1->setObjectName(QStringLiteral("sButton1"));
    sButton1->setAutoDefault(false);
    layout->addWidget(sButton1);

    connect(sEdit3, &QLineEdit::textChanged, this, &TSignup_forms::sEdit3Change);
    connect(sButton1, &QPushButton::clicked, this, &TSignup_forms::sButton1Click);
}

void TSignup_forms::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    sButton1->setFocus();
    FormActivate();
}

bool TSignup_forms::eventFilter(QObject* watched, QEvent* event) {
    if (watched == sComboBox1 && event->type() == QEvent::KeyPress)
        return true;
    return QDialog::eventFilter(watched, event);
}

void TSignup_forms::FormActivate() {
    guarded([this] {
        const QVariant chosen = sComboBox1->currentData();
        sComboBox1->clear();
        for (const SignupService::Office& o : m_service.offices())
            sComboBox1->addItem(o.name, o.id);
        sComboBox1->setCurrentIndex(chosen.isValid() ? sComboBox1->findData(chosen) : -1);
    });
}

void TSignup_forms::sEdit3Change() {
    guarded([this] { sButton1->setEnabled(!m_service.usernameTaken(sEdit3->text())); });
}

void TSignup_forms::sButton1Click() {
    DisabledWhile hold(sButton1);
    guarded([this] {
        SignupService::Request request;
        request.firstName = sEdit1->text();
        request.lastName = sEdit2->text();
        request.username = sEdit3->text();
        request.password = sEdit4->text();
        request.position = sEdit5->text();
        request.email = sEdit6->text();
        if (sComboBox1->currentIndex() >= 0)
            request.officeId = sComboBox1->currentData().toInt();
        if (!request.complete())
            return;
        sLabel1->setVisible(true);
        sLabel1->repaint();
        CurlMailer mailer(MailSettings::fromIni(m_context.ini));
        const SignupService::Result result = m_service.signUp(request, mailer);
        sLabel1->setVisible(false);
        hide();
        TActivation_forms activation(m_context.db, request.username, request.email);
        Dialogs::current().showModal(activation);
        if (!result.mailError.isEmpty())
            Dialogs::current().message(nullptr, MsgIcon::None, QString(), result.mailError);
        accept();
    });
}

} // namespace orv
