#pragma once

#include <QObject>
#include <QThread>

namespace orv {

// The status bar clock: a timed task on a thread of its own that, once a
// second (and once at the start), sends "Time Check : " + the time in the
// system's long time format + " ". It only sends; the window shows.
class ClockTask : public QObject {
    Q_OBJECT
public:
    explicit ClockTask(QObject* parent = nullptr);
    ~ClockTask() override;

    void start();
    void stop();
    bool isRunning() const { return m_thread.isRunning(); }

    static QString timeCheckText();

Q_SIGNALS:
    // Delivered to receivers on their own thread.
    void MSGNewData(const QString& date);

private:
    QThread m_thread;
};

} // namespace orv
