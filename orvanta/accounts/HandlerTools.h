#pragma once

#include "data/Background.h"
#include "data/Errors.h"

#include <QPointer>
#include <QWidget>

namespace orv {

// Runs an event handler; an error it does not handle goes to the
// application's error box instead of escaping into the event loop.
template <class Handler> void guarded(Handler&& handler) {
    try {
        handler();
    } catch (...) {
        reportUnhandledError(errorText(std::current_exception()));
    }
}

// Disables a control for the length of a handler and enables it again
// afterwards, also when the handler fails (if the control still exists).
class DisabledWhile {
public:
    explicit DisabledWhile(QWidget* w) : m_widget(w) {
        if (m_widget)
            m_widget->setEnabled(false);
    }
    ~DisabledWhile() {
        if (m_widget)
            m_widget->setEnabled(true);
    }
    DisabledWhile(const DisabledWhile&) = delete;
    DisabledWhile& operator=(const DisabledWhile&) = delete;

private:
    QPointer<QWidget> m_widget;
};

} // namespace orv
