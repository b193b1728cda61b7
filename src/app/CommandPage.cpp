#include "app/CommandPage.h"

#include <algorithm>

#include <QComboBox>
#include <QLabel>
#include <QSignalBlocker>

#include "app/Controls.h"
#include "model/OptionLists.h"

namespace {

using List = Configuration::DisplayList;

// The page's table, top to bottom. The lists start right of their captions,
// which in this font are wider than the slot the twips leave them.
struct ListRow
{
    const char *labelName;
    const char *caption;
    Twips labelAt;
    const char *listName;
    List list;
    Twips listAt;
};
constexpr ListRow Rows[] = {
    {"Label1",
     " Character Type :",
     {240, 1080, 1812, 372},
     "Char",
     List::Char,
     {2160, 1080, 2412, 360}},
    {"Label2",
     "Command Mode :",
     {240, 2040, 1812, 372},
     "Command",
     List::Command,
     {2160, 2040, 2412, 360}},
    {"Label3",
     "BaudRate Select :",
     {240, 3000, 1812, 372},
     "BaudRate",
     List::BaudRate,
     {2160, 3000, 2412, 360}},
    {"Label4",
     " Passthru Mode :",
     {240, 3960, 1452, 252},
     "Passthru",
     List::Passthru,
     {2160, 3960, 2412, 360}},
};

std::size_t slot(List list)
{
    return static_cast<std::size_t>(list);
}

} // namespace

CommandPage::CommandPage(Configuration &config, QWidget *page, QPoint pageOrigin)
    : QObject(page), m_config(config)
{
    for (const ListRow &row : Rows) {
        QLabel *caption =
            Controls::label(page, QLatin1String(row.labelName), QLatin1String(row.caption),
                            Controls::place(row.labelAt, pageOrigin));
        auto *box = new QComboBox(page);
        Controls::identify(box, QLatin1String(row.listName));
        box->setEditable(false);
        box->setGeometry(Controls::place(row.listAt, pageOrigin));
        caption->setBuddy(box);
        m_lists[slot(row.list)] = box;

        const List list = row.list;
        connect(box, &QComboBox::currentIndexChanged, this, [this, list](int index) {
            if (index >= 0 && !m_config.setListPosition(list, index))
                showList(list);
        });
    }
    connect(&m_config, &Configuration::listPositionChanged, this,
            [this](List list, int) { showList(list); });
}

void CommandPage::fillLists()
{
    const auto fill = [this](List list, const QStringList &items) {
        QComboBox *box = m_lists[slot(list)];
        const QSignalBlocker blocker(box);
        box->clear();
        box->addItems(items);
        box->setCurrentIndex(m_config.listPosition(list));
    };
    fill(List::Char, OptionLists::charSets());
    fill(List::Command, OptionLists::commandSets());
    fill(List::BaudRate, OptionLists::displayBaudRates());
    fill(List::Passthru, OptionLists::passthruModes());

    int width = 0;
    for (QComboBox *box : m_lists)
        width = std::max({width, box->width(), box->sizeHint().width()});
    for (QComboBox *box : m_lists)
        box->resize(width, box->height());
}

QComboBox *CommandPage::list(List list) const
{
    return m_lists[slot(list)];
}

QList<QWidget *> CommandPage::tabOrder() const
{
    QList<QWidget *> order;
    for (const ListRow &row : Rows)
        order << m_lists[slot(row.list)];
    return order;
}

void CommandPage::showList(List list)
{
    QComboBox *box = m_lists[slot(list)];
    const int position = m_config.listPosition(list);
    if (box->currentIndex() == position)
        return;
    const QSignalBlocker blocker(box);
    box->setCurrentIndex(position);
}
