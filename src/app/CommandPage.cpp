#include "app/CommandPage.h"

#include <algorithm>
#include <iterator>

#include <QComboBox>
#include <QLabel>
#include <QSignalBlocker>

#include "app/Controls.h"
#include "messages/WindowMessages.h"

namespace {

// The page's table, top to bottom, one row a setting. The lists start
// right of their captions, which in this font are wider than the slot the
// twips leave them.
struct ListRow
{
    const char *labelName;
    Twips labelAt;
    const char *listName;
    DisplaySetting setting;
    Twips listAt;
};
constexpr ListRow Rows[] = {
    {"Label1",
     {240, 1080, 1812, 372},
     "Char",
     DisplaySetting::CharacterSet,
     {2160, 1080, 2412, 360}},
    {"Label2",
     {240, 2040, 1812, 372},
     "Command",
     DisplaySetting::CommandSet,
     {2160, 2040, 2412, 360}},
    {"Label3",
     {240, 3000, 1812, 372},
     "BaudRate",
     DisplaySetting::DisplaySpeed,
     {2160, 3000, 2412, 360}},
    {"Label4",
     {240, 3960, 1452, 252},
     "Passthru",
     DisplaySetting::Passthru,
     {2160, 3960, 2412, 360}},
};
static_assert(std::size(Rows) == DisplaySettings::Count, "a row for every display setting");

} // namespace

CommandPage::CommandPage(Configuration &config, QWidget *page, QPoint pageOrigin)
    : QObject(page), m_config(config)
{
    for (const ListRow &row : Rows) {
        const DisplaySetting setting = row.setting;
        QLabel *caption = Controls::label(page, QLatin1String(row.labelName),
                                          QLatin1String(DisplaySettings::of(setting).windowCaption),
                                          Controls::place(row.labelAt, pageOrigin));
        auto *list = new QComboBox(page);
        Controls::identify(list, QLatin1String(row.listName));
        list->setEditable(false);
        list->setGeometry(Controls::place(row.listAt, pageOrigin));
        caption->setBuddy(list);
        m_lists[DisplaySettings::slot(setting)] = list;

        connect(list, &QComboBox::currentIndexChanged, this, [this, setting](int index) {
            if (index >= 0 && !m_config.setListPosition(setting, index))
                showList(setting);
        });
    }
    box(DisplaySetting::DisplaySpeed)->setToolTip(WindowMessages::displaySpeedTip());
    connect(&m_config, &Configuration::listPositionChanged, this,
            [this](DisplaySetting setting, int) { showList(setting); });
}

void CommandPage::fillLists()
{
    for (const ListRow &row : Rows) {
        QComboBox *list = box(row.setting);
        const QSignalBlocker blocker(list);
        list->clear();
        list->addItems(DisplaySettings::of(row.setting).entries());
        list->setCurrentIndex(m_config.listPosition(row.setting));
    }

    int width = 0;
    for (QComboBox *list : m_lists)
        width = std::max({width, list->width(), list->sizeHint().width()});
    for (QComboBox *list : m_lists)
        list->resize(width, list->height());
}

QList<QWidget *> CommandPage::tabOrder() const
{
    QList<QWidget *> order;
    for (const ListRow &row : Rows)
        order << box(row.setting);
    return order;
}

void CommandPage::showList(DisplaySetting setting)
{
    QComboBox *list = box(setting);
    const int position = m_config.listPosition(setting);
    if (list->currentIndex() == position)
        return;
    const QSignalBlocker blocker(list);
    list->setCurrentIndex(position);
}
