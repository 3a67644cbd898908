#include "ActivationForm.h"
#include "HandlerTools.h"

#include "shell/Dialogs.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QToolButton>

namespace orv {

TActivation_forms::TActivation_forms(DataCon& db, QString usernm, QString emails, QWidget* parent)
    : QDialog(parent), m_activation(db), m_usernm(std::move(usernm)), m_emails(std::move(emails)) {
    setObjectName(QStringLiteral("Activation_forms"));
    setWindowTitle(QStringLiteral("Activation"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);
    setFixedSize(326, 39);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 4);
    auto* caption = new QLabel(QStringLiteral("Activation Code :"), this);
    QFont bold = caption->font();
    bold.setBold(true);
    caption->setFont(bold);
    sEdit1 = new QLineEdit(this);
    sEdit1->setObjectName(QStringLiteral("sEdit1"));
    // Digits only, also when pasted.
    sEdit1->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), sEdit1));
    sSpeedButton1 = new QToolButton(this);
    sSpeedButton1->setObjectName(QStringLiteral("sSpeedButton1"));
    sSpeedButton1->setText(QStringLiteral("Activate"));
    layout->addWidget(caption);
    layout->addWidget(sEdit1, 1);
    layout->addWidget(sSpeedButton1);

    connect(sSpeedButton1, &QToolButton::clicked, this, &TActivation_forms::sSpeedButton1Click);
    connect(sEdit1, &QLineEdit::returnPressed, this, &TActivation_forms::sSpeedButton1Click);
}

void TActivation_forms::sSpeedButton1Click() {
    DisabledWhile hold(sSpeedButton1);
    guarded([this] {
        if (!m_activation.activate(m_usernm, m_emails, sEdit1->text())) {
            showWarning(this, invalidText());
            return;
        }
        accept();
    });
}

} // namespace orv
