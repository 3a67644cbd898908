#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <exception>
#include <functional>

namespace orv {

// Start-up pattern: body runs on a worker of the process thread pool; only
// when it returns normally is completion queued to the UI thread (and only if
// receiver still exists). A failing body leaves no trace here: its own code
// reports what it must.
void AsyncAwait(QObject* receiver, std::function<void()> body, std::function<void()> completion);

// Task pattern: body runs on a worker; completion always runs on the UI
// thread afterwards (if receiver still exists), and if the body failed its
// error goes, right after the completion, to the application's error handler.
void runTask(QObject* receiver, std::function<void()> body, std::function<void()> completion);

// Runs fn on the UI thread (queued), if receiver still exists then. For
// progress and log lines sent from a body.
void postToUi(QObject* receiver, std::function<void()> fn);

// The application's error box: where an error that nobody caught is shown.
// The GUI installs a message box; the default writes to standard error.
using ErrorHandler = std::function<void(const QString& message)>;
void setUnhandledErrorHandler(ErrorHandler handler);
void reportUnhandledError(const QString& message);

} // namespace orv
