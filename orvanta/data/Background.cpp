#include "Background.h"
#include "Errors.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThreadPool>

#include <cstdio>
#include <mutex>

namespace orv {

namespace {

std::mutex handlerMutex;
ErrorHandler& handlerSlot() {
    static ErrorHandler handler;
    return handler;
}

// Queued on the application object, which outlives every receiver; the
// receiver is checked on the UI thread when the call is delivered.
void queue(QPointer<QObject> receiver, std::function<void()> fn) {
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [receiver, fn = std::move(fn)] {
            if (!receiver)
                return;
            try {
                fn();
            } catch (...) { // never let an error escape into the event loop
                reportUnhandledError(errorText(std::current_exception()));
            }
        },
        Qt::QueuedConnection);
}

} // namespace

void AsyncAwait(QObject* receiver, std::function<void()> body, std::function<void()> completion) {
    QPointer<QObject> guard(receiver);
    QThreadPool::globalInstance()->start([guard, body = std::move(body), completion = std::move(completion)] {
        try {
            body();
        } catch (...) {
            return;
        }
        queue(guard, completion);
    });
}

void runTask(QObject* receiver, std::function<void()> body, std::function<void()> completion) {
    QPointer<QObject> guard(receiver);
    QThreadPool::globalInstance()->start([guard, body = std::move(body), completion = std::move(completion)] {
        std::exception_ptr error;
        try {
            body();
        } catch (...) {
            error = std::current_exception();
        }
        queue(guard, [completion, error] {
            if (completion)
                completion();
            if (error)
                reportUnhandledError(errorText(error));
        });
    });
}

void postToUi(QObject* receiver, std::function<void()> fn) {
    queue(QPointer<QObject>(receiver), std::move(fn));
}

void setUnhandledErrorHandler(ErrorHandler handler) {
    std::lock_guard lock(handlerMutex);
    handlerSlot() = std::move(handler);
}

void reportUnhandledError(const QString& message) {
    ErrorHandler handler;
    {
        std::lock_guard lock(handlerMutex);
        handler = handlerSlot();
    }
    if (handler)
        handler(message);
    else
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

} // namespace orv
