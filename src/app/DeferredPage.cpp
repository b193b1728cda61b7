#include "app/DeferredPage.h"

#include <QEvent>
#include <QWidget>

DeferredPage::DeferredPage(QWidget *page, QPoint pageOrigin)
    : QObject(page), m_page(page), m_pageOrigin(pageOrigin)
{
    page->installEventFilter(this);
}

void DeferredPage::build()
{
    if (m_built)
        return;
    m_built = true;
    m_page->removeEventFilter(this);
    buildControls(m_page, m_pageOrigin);
    // Controls added to a page that is already on screen are shown by hand;
    // those a view has hidden stay hidden.
    const QList<QWidget *> controls = m_page->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (QWidget *control : controls) {
        if (!control->testAttribute(Qt::WA_WState_ExplicitShowHide))
            control->show();
    }
    emit built();
}

bool DeferredPage::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_page && event->type() == QEvent::Show)
        build();
    return QObject::eventFilter(watched, event);
}
