#include "platform/ui/ClickableAccessible.h"
#include "platform/ui/EventWatcher.h"
#include <QLabel>

ClickableAccessible::ClickableAccessible(QWidget* widget) : QAccessibleWidget(widget, QAccessible::Button)
{
}

void ClickableAccessible::Register(QWidget* widget)
{
    static const bool installed = [] {
        QAccessible::installFactory(&ClickableAccessible::create);
        return true;
    }();
    (void)installed;
    if (QAccessibleInterface* old = QAccessible::queryAccessibleInterface(widget); old && old->role() != QAccessible::Button)
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(old));
}

QAccessibleInterface* ClickableAccessible::create(const QString&, QObject* object)
{
    if (!object->isWidgetType() || !EventWatcher::ClickableOf(object))
        return nullptr;
    return new ClickableAccessible(static_cast<QWidget*>(object));
}

QString ClickableAccessible::text(QAccessible::Text t) const
{
    QString text = QAccessibleWidget::text(t);
    if (t == QAccessible::Name && text.isEmpty())
        if (const auto* label = qobject_cast<const QLabel*>(object()))
            text = label->text();
    return text;
}

QStringList ClickableAccessible::actionNames() const
{
    return {pressAction()};
}

void ClickableAccessible::doAction(const QString& actionName)
{
    if (actionName != pressAction())
        return;
    if (EventWatcher* watcher = EventWatcher::ClickableOf(object()))
        watcher->click();
}
