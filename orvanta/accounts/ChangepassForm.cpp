#include "ChangepassForm.h"
#include "HandlerTools.h"

#include "shell/Dialogs.h"
#include "shell/FrameContext.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace orv {

Tchangepass_forms::Tchangepass_forms(FrameContext& context, QWidget* parent)
    : QDialog(parent), m_change(context.db, context.session) {
    setObjectName(QStringLiteral("changepass_forms"));
    setWindowTitle(QStringLiteral("Change Password"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);
    setFixedSize(333, 137);

    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    const auto field = [this](const QString& name) {
        auto* e = new QLineEdit(this);
        e->setObjectName(name);
        e->setEchoMode(QLineEdit::Password);
        return e;
    };
    sEdit1 = field(QStringLiteral("sEdit1"));
    sEdit2 = field(QStringLiteral("sEdit2"));
    sEdit3 = field(QStringLiteral("sEdit3"));
    sEdit2->setEnabled(false);
    sEdit3->setEnabled(false);
    form->addRow(QStringLiteral("Old Password : "), sEdit1);
    form->addRow(QStringLiteral("Change Password : "), sEdit2);
    form->addRow(QStringLiteral("Retype Password : "), sEdit3);
    layout->addLayout(form);
    sSpeedButton1 = new QToolButton(this);
    sSpeedButton1->setObjectName(QStringLiteral("sSpeedButton1"));
    sSpeedButton1->setText(QStringLiteral("Save"));
    sSpeedButton1->setMinimumWidth(90);
    layout->addWidget(sSpeedButton1, 0, Qt::AlignRight);

    connect(sEdit1, &QLineEdit::returnPressed, this, &Tchangepass_forms::verifyOld);
    connect(sSpeedButton1, &QToolButton::clicked, this, &Tchangepass_forms::sSpeedButton1Click);
}

void Tchangepass_forms::verifyOld() {
    guarded([this] {
        const bool ok = m_change.verifyOld(sEdit1->text());
        sEdit1->setEnabled(!ok);
        sEdit2->setEnabled(ok);
        sEdit3->setEnabled(ok);
        if (ok)
            sEdit2->setFocus();
    });
}

void Tchangepass_forms::sSpeedButton1Click() {
    DisabledWhile hold(sSpeedButton1);
    guarded([this] {
        switch (m_change.save(sEdit2->text(), sEdit3->text())) {
        case PasswordChange::SaveOutcome::NotVerified:
            return;
        case PasswordChange::SaveOutcome::Mismatch:
            showInformation(this, retypeText());
            return;
        case PasswordChange::SaveOutcome::Saved:
            accept();
            return;
        }
    });
}

} // namespace orv
