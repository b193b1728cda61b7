#pragma once

#include <QList>
#include <QPoint>

#include "app/DeferredPage.h"

class ChangeHistory;
class MessageFrame;
class MessageLine;
class QRadioButton;
class QWidget;

// The "Welcome Msg" page: one frame per message line, and the handlers of
// their view options and "Clear" buttons. Its controls, 120 cells among
// them, are made when the page is first shown.
class MessagePage : public DeferredPage
{
    Q_OBJECT

public:
    MessagePage(MessageLine &line1, MessageLine &line2, ChangeHistory &history, QWidget *page,
                QPoint pageOrigin);

    // The page's controls that Tab reaches, in reading order; none before
    // the page is built.
    QList<QWidget *> tabOrder() const;

private slots:
    // A line moves to a view whenever its option becomes selected: by a
    // click, a key, code or an assistive tool.
    void Op_L1H_Click();
    void Op_L1A_Click();
    void Op_L2H_Click();
    void Op_L2A_Click();
    void CLR_MSG1_Click();
    void CLR_MSG2_Click();

private:
    void buildControls(QWidget *page, QPoint pageOrigin) override;
    void bindOption(QRadioButton *option, void (MessagePage::*handler)());

    MessageLine &m_line1;
    MessageLine &m_line2;
    ChangeHistory &m_history; // takes each "Clear"
    // Made by buildControls().
    MessageFrame *m_frame1 = nullptr;
    MessageFrame *m_frame2 = nullptr;
};
