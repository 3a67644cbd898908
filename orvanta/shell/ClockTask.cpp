#include "ClockTask.h"

#include <QLocale>
#include <QTime>
#include <QTimer>

namespace orv {

ClockTask::ClockTask(QObject* parent) : QObject(parent) {}

ClockTask::~ClockTask() {
    stop();
}

QString ClockTask::timeCheckText() {
    // The long time format without the time zone name.
    QString pattern = QLocale::system().timeFormat(QLocale::LongFormat);
    pattern.remove(QLatin1Char('t'));
    pattern = pattern.trimmed();
    return QStringLiteral("Time Check : ") + QLocale::system().toString(QTime::currentTime(), pattern) +
           QStringLiteral(" ");
}

void ClockTask::start() {
    if (m_thread.isRunning())
        return;
    auto* timer = new QTimer; // lives on the clock thread, deleted when it ends
    timer->setInterval(1000);
    timer->moveToThread(&m_thread);
    connect(timer, &QTimer::timeout, timer, [this] { Q_EMIT MSGNewData(timeCheckText()); });
    connect(&m_thread, &QThread::started, timer, [this, timer] {
        timer->start();
        Q_EMIT MSGNewData(timeCheckText());
    });
    connect(&m_thread, &QThread::finished, timer, &QObject::deleteLater);
    m_thread.start();
}

void ClockTask::stop() {
    if (!m_thread.isRunning())
        return;
    m_thread.quit();
    m_thread.wait();
}

} // namespace orv
