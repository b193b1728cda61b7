#include "app/WidgetPrompts.h"

#include <QFileDialog>
#include <QMessageBox>

void WidgetPrompts::message(const QString &text, const QString &title)
{
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, m_parent);
    box.exec();
}

bool WidgetPrompts::confirm(const QString &text, const QString &title)
{
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok | QMessageBox::Cancel,
                    m_parent);
    return box.exec() == QMessageBox::Ok;
}

QString WidgetPrompts::openFileName(const QString &filter)
{
    return QFileDialog::getOpenFileName(m_parent, QString(), QString(), filter);
}

QString WidgetPrompts::saveFileName(const QString &filter)
{
    return QFileDialog::getSaveFileName(m_parent, QString(), QString(), filter);
}
