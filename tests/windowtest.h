#pragma once
// What the window tests share: letting a window settle, failing on slots that lost their widget,
// and answering the modal dialogs a click opens.

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

namespace windowtest {

// Lets posted events (layouts, queued replots, resizes they cause) run their course.
inline void settle()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

inline QtMessageHandler &previousHandler()
{
    static QtMessageHandler handler = nullptr;
    return handler;
}

inline void failOnUnboundSlotsHandler(QtMsgType type, const QMessageLogContext &context,
                                      const QString &msg)
{
    if (msg.contains(QLatin1String("No matching signal")))
        QFAIL(qPrintable(msg));
    if (previousHandler())
        previousHandler()(type, context, msg);
}

// A renamed widget silently disconnects its slot; this turns the warning into a failure.
inline void failOnUnboundSlots()
{
    previousHandler() = qInstallMessageHandler(failOnUnboundSlotsHandler);
}

// Handlers still waiting for a dialog; a test that expected a dialog that never came must not
// leave one behind to answer the next test's dialog (see dropPendingDialogHandlers).
inline QList<QPointer<QTimer>> &pendingHandlers()
{
    static QList<QPointer<QTimer>> handlers;
    return handlers;
}

inline QTimer *startDialogWatch(std::function<void(QDialog *)> act, bool *seen)
{
    if (seen)
        *seen = false;
    auto *timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, act, seen] {
        if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
            timer->stop();
            if (seen)
                *seen = true;
            act(dialog);
        }
    });
    timer->start();
    return timer;
}

// Runs `act` on the next modal dialog as soon as it is shown, then removes itself.
inline void onNextDialog(std::function<void(QDialog *)> act)
{
    QTimer *timer = startDialogWatch(std::move(act), nullptr);
    QObject::connect(timer, &QTimer::timeout, timer, [timer] {
        if (!timer->isActive())
            timer->deleteLater();
    });
    pendingHandlers() << timer;
}

// The same, but the watch lasts only as long as the returned guard; `seen` tells whether a
// dialog came.
inline std::unique_ptr<QTimer> watchNextDialog(std::function<void(QDialog *)> act,
                                               bool *seen = nullptr)
{
    return std::unique_ptr<QTimer>(startDialogWatch(std::move(act), seen));
}

inline void dropPendingDialogHandlers()
{
    for (const QPointer<QTimer> &timer : pendingHandlers())
        delete timer.data();
    pendingHandlers().clear();
}

} // namespace windowtest
