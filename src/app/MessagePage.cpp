#include "app/MessagePage.h"

#include <QPushButton>
#include <QRadioButton>

#include "app/ChangeHistory.h"
#include "app/MessageFrame.h"

using View = MessageLine::View;

MessagePage::MessagePage(MessageLine &line1, MessageLine &line2, ChangeHistory &history,
                         QWidget *page, QPoint pageOrigin)
    : DeferredPage(page, pageOrigin), m_line1(line1), m_line2(line2), m_history(history)
{
}

void MessagePage::buildControls(QWidget *page, QPoint pageOrigin)
{
    m_frame1 = new MessageFrame(1, m_line1, page, pageOrigin);
    m_frame2 = new MessageFrame(2, m_line2, page, pageOrigin);
    bindOption(m_frame1->option(View::Hex), &MessagePage::Op_L1H_Click);
    bindOption(m_frame1->option(View::Ascii), &MessagePage::Op_L1A_Click);
    bindOption(m_frame2->option(View::Hex), &MessagePage::Op_L2H_Click);
    bindOption(m_frame2->option(View::Ascii), &MessagePage::Op_L2A_Click);
    connect(m_frame1->clearButton(), &QPushButton::clicked, this, &MessagePage::CLR_MSG1_Click);
    connect(m_frame2->clearButton(), &QPushButton::clicked, this, &MessagePage::CLR_MSG2_Click);
    for (const MessageFrame *frame : {m_frame1, m_frame2})
        frame->clearButton()->setToolTip(
            ChangeHistory::tip(frame->clearButton()->accessibleName()));
}

QList<QWidget *> MessagePage::tabOrder() const
{
    if (!isBuilt())
        return {};
    return m_frame1->tabOrder() + m_frame2->tabOrder();
}

void MessagePage::bindOption(QRadioButton *option, void (MessagePage::*handler)())
{
    connect(option, &QRadioButton::toggled, this, [this, handler](bool selected) {
        if (selected)
            (this->*handler)();
    });
}

void MessagePage::Op_L1H_Click()
{
    m_line1.selectView(View::Hex);
}

void MessagePage::Op_L1A_Click()
{
    m_line1.selectView(View::Ascii);
}

void MessagePage::Op_L2H_Click()
{
    m_line2.selectView(View::Hex);
}

void MessagePage::Op_L2A_Click()
{
    m_line2.selectView(View::Ascii);
}

void MessagePage::CLR_MSG1_Click()
{
    m_history.record(m_frame1->clearButton()->accessibleName(), [this] { m_line1.clear(); });
}

void MessagePage::CLR_MSG2_Click()
{
    m_history.record(m_frame2->clearButton()->accessibleName(), [this] { m_line2.clear(); });
}
