#include "Dialogs.h"

#include <QDialog>
#include <QFileDialog>

namespace orv {

namespace {

QMessageBox::Icon boxIcon(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::Warning:
        return QMessageBox::Warning;
    case MsgIcon::Error:
        return QMessageBox::Critical;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

class RealDialogs final : public Dialogs {
public:
    QMessageBox::StandardButton message(QWidget* parent, MsgIcon icon, const QString& caption,
                                        const QString& text, QMessageBox::StandardButtons buttons,
                                        const QString& details) override {
        QMessageBox box(boxIcon(icon), caption, text, buttons, parent);
        if (!details.isEmpty())
            box.setDetailedText(details);
        if (!parent)
            box.setWindowFlag(Qt::WindowStaysOnTopHint);
        return static_cast<QMessageBox::StandardButton>(box.exec());
    }
    QString openFileName(QWidget* parent, const QString& caption, const QString& folder,
                         const QString& filter) override {
        return QFileDialog::getOpenFileName(parent, caption, folder, filter);
    }
    QString saveFileName(QWidget* parent, const QString& caption, const QString& suggested,
                         const QString& filter) override {
        return QFileDialog::getSaveFileName(parent, caption, suggested, filter);
    }
    int showModal(QDialog& dialog) override {
        const int result = dialog.exec();
        afterModal();
        return result;
    }
};

RealDialogs& realDialogs() {
    static RealDialogs d;
    return d;
}

Dialogs* installed = nullptr;
std::function<void()>& afterModalHook() {
    static std::function<void()> hook;
    return hook;
}

} // namespace

Dialogs& Dialogs::current() {
    return installed ? *installed : realDialogs();
}
void Dialogs::install(Dialogs* d) {
    installed = d;
}
void Dialogs::setAfterModal(std::function<void()> hook) {
    afterModalHook() = std::move(hook);
}
void Dialogs::afterModal() {
    if (afterModalHook())
        afterModalHook()();
}

void showInformation(QWidget* parent, const QString& text, const QString& caption) {
    Dialogs::current().message(parent, MsgIcon::Information, caption, text);
}
void showWarning(QWidget* parent, const QString& text, const QString& caption) {
    Dialogs::current().message(parent, MsgIcon::Warning, caption, text);
}
void showError(QWidget* parent, const QString& text, const QString& caption, const QString& details) {
    Dialogs::current().message(parent, MsgIcon::Error, caption, text, QMessageBox::Ok, details);
}
bool askYesNo(QWidget* parent, const QString& text, const QString& caption) {
    return Dialogs::current().message(parent, MsgIcon::Question, caption, text,
                                      QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

} // namespace orv
