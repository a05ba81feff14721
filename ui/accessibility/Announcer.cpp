// SPDX-License-Identifier: GPL-3.0-or-later
#include "Announcer.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>
#include <QTimer>

namespace brightsum {

namespace {

constexpr const char* kNotificationName = "notification";

// The announcer is a status bar to assistive technology, and the widget inside it a
// notification; both stay plain hidden widgets to everyone else.
QAccessibleInterface* announcerAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String("brightsum::Announcer")) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::StatusBar);
    }
    if (className == QLatin1String("QWidget") &&
        object->objectName() == QLatin1String(kNotificationName) &&
        qobject_cast<Announcer*>(object->parent()) != nullptr) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Notification);
    }
    return nullptr;
}

}  // namespace

Announcer::Announcer(QWidget* parent) : QWidget(parent) {
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(announcerAccessible);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setObjectName(QStringLiteral("announcer"));
    for (Notice& notice : m_notices) {
        notice.notification = new QWidget(this);
        notice.notification->setObjectName(QLatin1String(kNotificationName));
        notice.words = new QLabel(notice.notification);
        notice.words->setTextFormat(Qt::PlainText);
    }
    hide();
}

void Announcer::say(const QString& message) {
    if (message.isEmpty()) {
        return;
    }
    if (m_pending.isEmpty()) {
        QTimer::singleShot(0, this, &Announcer::showPending);
    }
    m_pending.append(message);
}

QString Announcer::shown() const {
    return m_notices[m_last].words->text();
}

QWidget* Announcer::notification() const {
    return m_notices[m_last].notification;
}

void Announcer::showPending() {
    if (m_pending.isEmpty()) {
        return;
    }
    m_last = (m_last + 1) % m_notices.size();
    const Notice& notice = m_notices[m_last];
    notice.words->setText(m_pending.join(u' '));
    m_pending.clear();
    // The notification itself stays hidden; the event alone makes a screen reader read it.
    QAccessibleEvent shown(notice.notification, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

}  // namespace brightsum
