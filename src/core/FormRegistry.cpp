#include "core/FormRegistry.h"

#include <QList>
#include <QObject>
#include <QPointer>

namespace {
struct Entry
{
    QPointer<QObject> form;
    QString name;
};

QList<Entry> &forms()
{
    static QList<Entry> list;
    return list;
}

void prune()
{
    forms().removeIf([](const Entry &e) { return e.form.isNull(); });
}
} // namespace

void RegisterForm(QObject *form, const QString &name)
{
    prune();
    forms().append({form, name});
}

QObject *FindForm(const QString &name)
{
    prune();
    for (const Entry &e : forms()) {
        if (e.name.compare(name, Qt::CaseInsensitive) == 0)
            return e.form;
    }
    return nullptr;
}

bool IsFormLoaded(const QString &name)
{
    return FindForm(name) != nullptr;
}
