#pragma once

#include "PasswordChange.h"

#include <QDialog>

class QLineEdit;
class QToolButton;

namespace orv {

struct FrameContext;

// Settings > Change Password: the old password first (Enter), then the new
// one twice.
class Tchangepass_forms : public QDialog {
    Q_OBJECT
public:
    explicit Tchangepass_forms(FrameContext& context, QWidget* parent = nullptr);

    static QString retypeText() { return QStringLiteral("Please enter your new password again!"); }

    QLineEdit* sEdit1 = nullptr;          // old password
    QLineEdit* sEdit2 = nullptr;          // new password
    QLineEdit* sEdit3 = nullptr;          // new password again
    QToolButton* sSpeedButton1 = nullptr; // "Save"

public Q_SLOTS:
    void verifyOld();
    void sSpeedButton1Click();

private:
    PasswordChange m_change;
};

} // namespace orv
