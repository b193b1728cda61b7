#pragma once

#include <array>

#include <QList>
#include <QObject>
#include <QPoint>

#include "editors/Configuration.h"

class QComboBox;
class QWidget;

// The "Command Setting" page: the four lists whose positions are display
// settings, each labelled by its caption, bound to the configuration.
class CommandPage : public QObject
{
    Q_OBJECT

public:
    CommandPage(Configuration &config, QWidget *page, QPoint pageOrigin);

    // The lists' part of InitLists: entries, the default positions, and one
    // width for all four that shows the longest entry whole.
    void fillLists();

    QComboBox *list(Configuration::DisplayList list) const;
    // The page's controls that Tab reaches, in reading order.
    QList<QWidget *> tabOrder() const;

private:
    void showList(Configuration::DisplayList list);

    Configuration &m_config;
    std::array<QComboBox *, 4> m_lists{}; // indexed by Configuration::DisplayList
};
