#pragma once

#include "AccountActivation.h"

#include <QDialog>

class QLineEdit;
class QToolButton;

namespace orv {

class DataCon;

// Asks for the verification code that was mailed at sign-up.
class TActivation_forms : public QDialog {
    Q_OBJECT
public:
    TActivation_forms(DataCon& db, QString usernm, QString emails, QWidget* parent = nullptr);

    const QString& usernm() const { return m_usernm; }
    const QString& emails() const { return m_emails; }

    static QString invalidText() { return QStringLiteral("Invalid Activation code!"); }

    QLineEdit* sEdit1 = nullptr;          // the code: digits only
    QToolButton* sSpeedButton1 = nullptr; // "Activate"

public Q_SLOTS:
    void sSpeedButton1Click();

private:
    AccountActivation m_activation;
    QString m_usernm;
    QString m_emails;
};

} // namespace orv
