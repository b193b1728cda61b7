#pragma once

#include <QObject>
#include <QPoint>

class QWidget;

// A page whose controls are built the first time it is shown, or sooner
// when build() is called: start-up pays only for the page in front. The
// page object itself exists from the window's start, and nothing reaches
// its controls before they are built (they are bound to the model only
// then, and read its state as they are made).
class DeferredPage : public QObject
{
    Q_OBJECT

public:
    // Builds the controls now, unless they exist already.
    void build();
    bool isBuilt() const { return m_built; }

signals:
    // The controls exist now: the window takes them into its Tab order.
    void built();

protected:
    DeferredPage(QWidget *page, QPoint pageOrigin);

    // Creates the controls on `page`, placed relative to the tab control.
    virtual void buildControls(QWidget *page, QPoint pageOrigin) = 0;

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_page;
    QPoint m_pageOrigin;
    bool m_built = false;
};
