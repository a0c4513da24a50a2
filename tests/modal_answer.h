// SPDX-License-Identifier: MIT
// Answers modal dialogs from a timer, as a user would, while the code under test waits in exec().
#pragma once

#include <QApplication>
#include <QTimer>
#include <functional>

namespace rizo {

// Once a modal widget of type T is active, hands it to `answer`; polls from the event loop.
template <typename T>
void AnswerNextModal(std::function<void(T*)> answer) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        if (auto* widget = qobject_cast<T*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            answer(widget);
        }
    });
    timer->start();
}

}  // namespace rizo
