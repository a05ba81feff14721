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
    m_notification = new QWidget(this);
    m_notification->setObjectName(QLatin1String(kNotificationName));
    m_words = new QLabel(m_notification);
    m_words->setTextFormat(Qt::PlainText);
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
    return m_words->text();
}

void Announcer::showPending() {
    if (m_pending.isEmpty()) {
        return;
    }
    m_words->setText(m_pending.join(u' '));
    m_pending.clear();
    // The notification itself stays hidden; the event alone makes a screen reader read it.
    QAccessibleEvent shown(m_notification, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

}  // namespace brightsum
