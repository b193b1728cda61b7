#pragma once

#include <array>

#include <QList>
#include <QObject>
#include <QPoint>

#include "editors/Configuration.h"

class QComboBox;
class QWidget;

// The "Command Setting" page: a list for each display setting, labelled by
// its caption, bound to the configuration.
class CommandPage : public QObject
{
    Q_OBJECT

public:
    CommandPage(Configuration &config, QWidget *page, QPoint pageOrigin);

    // The lists' part of InitLists: entries, the default positions, and one
    // width for all the lists that shows the longest entry whole.
    void fillLists();

    // The page's controls that Tab reaches, in reading order.
    QList<QWidget *> tabOrder() const;

private:
    QComboBox *box(DisplaySetting setting) const { return m_lists[DisplaySettings::slot(setting)]; }
    void showList(DisplaySetting setting);

    Configuration &m_config;
    std::array<QComboBox *, DisplaySettings::Count> m_lists{}; // by DisplaySettings::slot
};
