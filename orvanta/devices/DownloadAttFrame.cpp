#include "DownloadAttFrame.h"

#include "ZkTerminal.h"
#include "data/Background.h"
#include "data/DataCon.h"
#include "shell/Dialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace orv {

TDownloadAtt_Frames::TDownloadAtt_Frames(FrameContext& context, QWidget* parent)
    : TCustomInfoFrame(context, parent), sLabel1(new QLabel(QStringLiteral("Device : "), this)),
      sComboBox1(new QComboBox(this)), sButton1(new QPushButton(QStringLiteral("connect"), this)),
      sButton2(new QPushButton(QStringLiteral("Download attendance"), this)), sLabel2(new QLabel(this)),
      sProgressBar1(new QProgressBar(this)), sMemo1(new QPlainTextEdit(this)),
      m_terminal(std::make_shared<ZkTerminal>()) {
    setObjectName(QStringLiteral("DownloadAtt_Frames"));
    sLabel1->setObjectName(QStringLiteral("sLabel1"));
    QFont bold = sLabel1->font();
    bold.setBold(true);
    sLabel1->setFont(bold);
    sComboBox1->setObjectName(QStringLiteral("sComboBox1"));
    sComboBox1->setEditable(false);
    sComboBox1->setMinimumWidth(260);
    sComboBox1->installEventFilter(this);
    sButton1->setObjectName(QStringLiteral("sButton1"));
    sButton2->setObjectName(QStringLiteral("sButton2"));
    sLabel2->setObjectName(QStringLiteral("sLabel2"));
    sProgressBar1->setObjectName(QStringLiteral("sProgressBar1"));
    sProgressBar1->setTextVisible(false);
    sProgressBar1->setMaximumHeight(6);
    sProgressBar1->setRange(0, 0);
    sProgressBar1->setValue(0);
    sProgressBar1->setVisible(false);
    sMemo1->setObjectName(QStringLiteral("sMemo1"));
    sMemo1->setReadOnly(true);
    sMemo1->setLineWrapMode(QPlainTextEdit::NoWrap);

    auto* top = new QHBoxLayout;
    top->addWidget(sLabel1);
    top->addWidget(sComboBox1);
    top->addWidget(sButton1);
    top->addWidget(sButton2);
    top->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(sLabel2);
    layout->addWidget(sProgressBar1);
    layout->addWidget(sMemo1, 1);

    connect(sButton1, &QPushButton::clicked, this, &TDownloadAtt_Frames::sButton1Click);
    connect(sButton2, &QPushButton::clicked, this, &TDownloadAtt_Frames::sButton2Click);
}

TDownloadAtt_Frames::~TDownloadAtt_Frames() = default;

void TDownloadAtt_Frames::AfterCreation() {
    sComboBox1->clear();
    sComboBox1->addItems(AttendanceDownloader::officeNames(m_context.db));
    sComboBox1->setCurrentIndex(-1);
}

bool TDownloadAtt_Frames::connected() const {
    return !sComboBox1->isEnabled();
}

bool TDownloadAtt_Frames::eventFilter(QObject* watched, QEvent* event) {
    // Keys typed into the device list are discarded: only a listed name can be chosen.
    if (watched == sComboBox1 && (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease))
        return true;
    return TCustomInfoFrame::eventFilter(watched, event);
}

void TDownloadAtt_Frames::sButton1Click() {
    const QString office = sComboBox1->currentText();
    if (office.isEmpty())
        return;
    QApplication::setOverrideCursor(Qt::BusyCursor);
    sButton1->setEnabled(false);
    sComboBox1->setEnabled(false);
    struct Outcome {
        std::optional<TerminalAddress> address;
        bool connected = false;
        QString reason;
    };
    auto outcome = std::make_shared<Outcome>();
    DataCon& db = m_context.db;
    std::shared_ptr<ZkTerminal> terminal = m_terminal;
    QPointer<TDownloadAtt_Frames> self(this);
    runTask(
        this,
        [=, &db] {
            outcome->address = AttendanceDownloader::findTerminal(db, office);
            if (!outcome->address) {
                outcome->reason = QStringLiteral("No terminal is registered for this office.");
                return;
            }
            outcome->connected = terminal->Connect_Net(outcome->address->address, outcome->address->port);
            outcome->reason = terminal->lastError();
        },
        [=] {
            QApplication::restoreOverrideCursor();
            if (!self)
                return;
            const QString name = outcome->address ? outcome->address->officeName : office;
            self->m_connectResult = outcome->connected;
            if (outcome->connected) {
                self->m_address = *outcome->address;
                showInformation(
                    self, QStringLiteral("You are now connected to ") + name + QStringLiteral(" device."),
                    QStringLiteral("Connect confirmed"));
            } else {
                Dialogs::current().message(self, MsgIcon::Warning, QStringLiteral("Connect error"),
                                           QStringLiteral("Unable to connect on ") + name +
                                               QStringLiteral(" device."),
                                           QMessageBox::Ok, outcome->reason);
                terminal->Disconnect();
                self->sComboBox1->setCurrentIndex(-1);
                self->sComboBox1->setEnabled(true);
                self->sButton1->setEnabled(true);
            }
        });
}

void TDownloadAtt_Frames::sButton2Click() {
    sProgressBar1->setVisible(true);
    if (!connected() || !sButton2->isEnabled())
        return;
    sButton2->setEnabled(false);
    m_processed = 0;

    QPointer<TDownloadAtt_Frames> self(this);
    DownloadProgress progress;
    progress.status = [self](const QString& text) {
        postToUi(self, [self, text] { self->sLabel2->setText(text); });
    };
    progress.started = [self](int total) {
        postToUi(self, [self, total] {
            self->sProgressBar1->setRange(0, total);
            self->sProgressBar1->setValue(0);
            self->sMemo1->clear();
        });
    };
    // Lines arrive a stored batch at a time and are appended as one block,
    // so a log of 100,000 punches does not hold up the screen.
    progress.lines = [self](const QStringList& lines, int processed) {
        postToUi(self, [self, lines, processed] {
            self->m_processed = processed;
            self->sMemo1->appendPlainText(lines.join(u'\n'));
            self->sProgressBar1->setValue(processed);
        });
    };
    auto done = std::make_shared<bool>(false);
    DataCon& db = m_context.db;
    std::shared_ptr<ZkTerminal> terminal = m_terminal;
    const TerminalAddress address = m_address;
    runTask(
        this,
        [=, &db] {
            terminal->Disconnect(); // the connection made by "connect"; the download opens its own
            AttendanceDownloader(db, *terminal).run(address, progress);
            *done = true;
        },
        [self, done] {
            if (!self)
                return;
            self->sProgressBar1->setVisible(false);
            self->sButton2->setEnabled(true);
            if (!*done)
                return; // the error box follows; the terminal's log was not cleared
            self->sMemo1->appendPlainText(QStringLiteral("End..."));
            self->sLabel2->setText(QStringLiteral("100% attendance downloaded"));
        });
}

} // namespace orv
