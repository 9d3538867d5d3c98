#pragma once
#include <QAccessibleWidget>

// What a screen reader is told about a picture or a text that is clicked
// like a button: a button, pressed as Space presses it.
class ClickableAccessible : public QAccessibleWidget {
public:
    explicit ClickableAccessible(QWidget* widget);
    // The widget has just become clickable: the toolkit asks this class for
    // it from now on, also when it described the widget before.
    static void Register(QWidget* widget);

    // A clickable text is named by its text, as a button by its caption.
    QString text(QAccessible::Text t) const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

private:
    static QAccessibleInterface* create(const QString& className, QObject* object);
};
