#include "app/widgets/PortComboBox.h"

#include <QAbstractItemView>
#include <QStringList>
#include <QStyledItemDelegate>

namespace {

// A detected entry's text is its device, so that choosing it (or completing
// a typed name to it) leaves the device in the box; the list shows the
// description beside it.
class DetectedPortDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const QString description = index.data(PortComboBox::DescriptionRole).toString();
        if (!description.isEmpty())
            option->text += QStringLiteral("  ") + description;
    }
};

// Wide enough for a /dev/serial/by-id/... name with its description.
constexpr int WidestNameChars = 64;

} // namespace

PortComboBox::PortComboBox(QWidget *parent)
    : QComboBox(parent), m_enumerator(std::make_unique<SystemPortEnumerator>())
{
    setEditable(true);
    // A typed device name is used as it stands; it never joins the list.
    setInsertPolicy(QComboBox::NoInsert);
    view()->setItemDelegate(new DetectedPortDelegate(view()));
}

PortComboBox::~PortComboBox() = default;

void PortComboBox::setPortEnumerator(std::unique_ptr<PortEnumerator> enumerator)
{
    m_enumerator = std::move(enumerator);
}

void PortComboBox::showPopup()
{
    const QList<DetectedPort> ports = m_enumerator->ports();
    refreshDetected(ports);
    const QString text = portsText(ports);
    setToolTip(text);
    view()->setToolTip(text);
    view()->setMinimumWidth(qMax(view()->sizeHintForColumn(0),
                                 fontMetrics().averageCharWidth() * WidestNameChars));
    QComboBox::showPopup();
}

void PortComboBox::refreshDetected(const QList<DetectedPort> &ports)
{
    // The box's text stays what it was, whichever entries come and go.
    const QString shown = currentText();
    const QSignalBlocker blocker(this);
    for (int row = count() - 1; row >= 0; --row) {
        if (itemData(row, DescriptionRole).isValid())
            removeItem(row);
    }
    for (const DetectedPort &port : ports) {
        // A port already in the list is not listed twice.
        if (findText(port.device, Qt::MatchFixedString | Qt::MatchCaseSensitive) >= 0)
            continue;
        addItem(port.device);
        setItemData(count() - 1, port.description, DescriptionRole);
        setItemData(count() - 1,
                    port.description.isEmpty() ? port.device
                                               : port.device + QStringLiteral("  ") +
                                                     port.description,
                    Qt::AccessibleTextRole);
    }
    const int row = findText(shown, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (row >= 0)
        setCurrentIndex(row);
    setEditText(shown);
}

QString PortComboBox::availablePortsText() const
{
    return portsText(m_enumerator->ports());
}

QString PortComboBox::portsText(const QList<DetectedPort> &ports)
{
    QStringList lines;
    for (const DetectedPort &port : ports)
        lines << (port.description.isEmpty() ? port.device
                                             : port.device + QStringLiteral(" - ") +
                                                   port.description);
    if (lines.isEmpty())
        return tr("No serial port found");
    return tr("Serial ports found:") + QLatin1Char('\n') + lines.join(QLatin1Char('\n'));
}
