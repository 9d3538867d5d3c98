#include "platform/ui/ClickableAccessible.h"
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>

namespace {
// Marks a widget that acts as a button.
constexpr const char* ClickableProperty = "calvenorClickable";
} // namespace

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
    widget->setProperty(ClickableProperty, true);
    if (QAccessibleInterface* old = QAccessible::queryAccessibleInterface(widget); old && old->role() != QAccessible::Button)
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(old));
}

QAccessibleInterface* ClickableAccessible::create(const QString&, QObject* object)
{
    if (!object->isWidgetType() || !object->property(ClickableProperty).toBool())
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
    // Pressed as a keyboard user presses it: whatever listens to its clicks hears it.
    QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier);
    QCoreApplication::sendEvent(object(), &space);
}
