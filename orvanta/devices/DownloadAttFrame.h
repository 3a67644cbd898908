#pragma once

#include "devices/AttendanceDownloader.h"
#include "shell/CustomInfoFrame.h"

#include <memory>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace orv {

class ZkTerminal;

// "Download Attendance": picks an office, connects to its terminal and
// copies the terminal's punches into attendance_read, one log line a punch.
class TDownloadAtt_Frames : public TCustomInfoFrame {
    Q_OBJECT
public:
    TDownloadAtt_Frames(FrameContext& context, QWidget* parent);
    ~TDownloadAtt_Frames() override;

    void AfterCreation() override;

    // Connected while the device list is disabled.
    bool connected() const;

public Q_SLOTS:
    void sButton1Click(); // connect
    void sButton2Click(); // Download attendance

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* sLabel1;
    QComboBox* sComboBox1;
    QPushButton* sButton1;
    QPushButton* sButton2;
    QLabel* sLabel2;
    QProgressBar* sProgressBar1;
    QPlainTextEdit* sMemo1;

    // The terminal outlives the frame while a background body still uses it.
    std::shared_ptr<ZkTerminal> m_terminal;
    TerminalAddress m_address; // kept by "connect" for the downloads
    bool m_connectResult = false;
    int m_processed = 0;
};

} // namespace orv
