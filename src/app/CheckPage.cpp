#include "app/CheckPage.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>

#include "app/Controls.h"
#include "app/DisplayCheck.h"
#include "app/ListenPanel.h"
#include "app/widgets/GlassView.h"
#include "commandsets/TestScreen.h"

namespace {

// The page's table, in twips relative to the tab control: finding on the
// left, comparing on the right, the test screen below both.
constexpr Twips FindAt = {240, 600, 1692, 372};          // FindVFD
constexpr Twips StopAt = {2040, 600, 972, 372};          // FindStop
constexpr Twips ProgressAt = {3120, 660, 1332, 252};     // FindProgress
constexpr Twips FoundLabelAt = {240, 1080, 1812, 252};   // Label11
constexpr Twips FoundAt = {240, 1320, 4212, 1212};       // FindList
constexpr Twips CompareAt = {4680, 600, 2292, 372};      // CompareVFD
constexpr Twips DiffLabelAt = {4680, 1080, 1812, 252};   // Label12
constexpr Twips DifferencesAt = {4680, 1320, 4332, 1212}; // CompareList
constexpr Twips SetLabelAt = {240, 2760, 1812, 252};     // Label13
constexpr Twips SetAt = {2160, 2760, 3132, 252};         // TestSet
constexpr Twips Line1LabelAt = {240, 3240, 1452, 252};   // Label14
constexpr Twips Line1At = {2160, 3180, 3132, 360};       // TestLine1
constexpr Twips Line2LabelAt = {240, 3720, 1452, 252};   // Label15
constexpr Twips Line2At = {2160, 3660, 3132, 360};       // TestLine2
constexpr Twips SendAt = {5520, 3180, 1692, 372};        // SendTest
constexpr Twips PreviewAt = {2160, 4110, 5580, 960};     // TestPreview
constexpr Twips TestNoteAt = {240, 5160, 8772, 372};     // TestNote
constexpr Twips SpeedNoteAt = {240, 5580, 8772, 600};    // SpeedNote

} // namespace

CheckPage::CheckPage(DisplayCheck &check, QWidget *page, QPoint pageOrigin)
    : DeferredPage(page, pageOrigin), m_check(check)
{
}

void CheckPage::buildControls(QWidget *page, QPoint pageOrigin)
{
    const auto place = [pageOrigin](const Twips &at) { return Controls::place(at, pageOrigin); };

    m_find = Controls::button(page, QStringLiteral("FindVFD"), QStringLiteral("Find VFD"),
                              place(FindAt));
    m_stop = Controls::button(page, QStringLiteral("FindStop"), QStringLiteral("Stop"),
                              place(StopAt), tr("Stop finding"));
    m_progress = new QProgressBar(page);
    Controls::identify(m_progress, QStringLiteral("FindProgress"), tr("Ports asked"));
    m_progress->setGeometry(place(ProgressAt));
    m_progress->setTextVisible(false);
    QLabel *foundLabel = Controls::label(page, QStringLiteral("Label11"),
                                         QStringLiteral("Displays found :"), place(FoundLabelAt));
    m_found = new QListWidget(page);
    Controls::identify(m_found, QStringLiteral("FindList"), QStringLiteral("Displays found :"));
    m_found->setGeometry(place(FoundAt));
    m_found->setWordWrap(true);
    m_found->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    foundLabel->setBuddy(m_found);

    m_compare = Controls::button(page, QStringLiteral("CompareVFD"),
                                 QStringLiteral("Compare With VFD"), place(CompareAt));
    QLabel *diffLabel = Controls::label(page, QStringLiteral("Label12"),
                                        QStringLiteral("Differences :"), place(DiffLabelAt));
    m_differences = new QListWidget(page);
    Controls::identify(m_differences, QStringLiteral("CompareList"),
                       QStringLiteral("Differences :"));
    m_differences->setGeometry(place(DifferencesAt));
    // A field's line is read whole, without scrolling sideways.
    m_differences->setWordWrap(true);
    m_differences->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    diffLabel->setBuddy(m_differences);

    QLabel *setLabel = Controls::label(page, QStringLiteral("Label13"),
                                       QStringLiteral("Command Mode :"), place(SetLabelAt));
    m_set = Controls::label(page, QStringLiteral("TestSet"), QString(), place(SetAt));
    setLabel->setBuddy(m_set);
    QLabel *line1Label =
        Controls::label(page, QStringLiteral("Label14"), QStringLiteral("Line 1 :"), place(Line1LabelAt));
    m_line1 = new QLineEdit(page);
    Controls::identify(m_line1, QStringLiteral("TestLine1"));
    // No length limit: the field would cut a paste, counting UTF-16 units;
    // the check refuses too long a text by its characters and says so.
    m_line1->setGeometry(place(Line1At));
    line1Label->setBuddy(m_line1);
    QLabel *line2Label =
        Controls::label(page, QStringLiteral("Label15"), QStringLiteral("Line 2 :"), place(Line2LabelAt));
    m_line2 = new QLineEdit(page);
    Controls::identify(m_line2, QStringLiteral("TestLine2"));
    m_line2->setGeometry(place(Line2At));
    line2Label->setBuddy(m_line2);
    m_send = Controls::button(page, QStringLiteral("SendTest"), QStringLiteral("Send Test"),
                              place(SendAt));
    m_preview = new GlassView(page);
    Controls::identify(m_preview, QStringLiteral("TestPreview"), tr("Test screen preview"));
    m_preview->setGeometry(place(PreviewAt));
    m_testNote = Controls::label(page, QStringLiteral("TestNote"), QString(), place(TestNoteAt));
    m_speedNote = Controls::label(page, QStringLiteral("SpeedNote"), QString(), place(SpeedNoteAt));
    m_speedNote->setWordWrap(true);
    m_speedNote->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    connect(m_find, &QPushButton::clicked, this, &CheckPage::findClicked);
    connect(m_stop, &QPushButton::clicked, this, &CheckPage::stopClicked);
    connect(m_compare, &QPushButton::clicked, this, &CheckPage::compareClicked);
    connect(m_send, &QPushButton::clicked, this, &CheckPage::sendTestClicked);
    connect(m_found, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            emit resultChosen(row);
    });
    const auto typed = [this] { m_check.setLines(m_line1->text(), m_line2->text()); };
    connect(m_line1, &QLineEdit::textEdited, this, typed);
    connect(m_line2, &QLineEdit::textEdited, this, typed);
    connect(&m_check, &DisplayCheck::comparisonChanged, this, &CheckPage::showComparison);
    connect(&m_check, &DisplayCheck::testChanged, this, &CheckPage::showTest);
    connect(&m_check, &DisplayCheck::speedNoteChanged, this, &CheckPage::showSpeedNote);
    connect(&m_check, &DisplayCheck::foundChanged, this, &CheckPage::showFound);
    connect(&m_check, &DisplayCheck::findProgress, this, &CheckPage::showProgress);

    showFound();
    showComparison();
    showTest();
    showSpeedNote();
    showProgress(m_progressDone, m_progressTotal);
    enableButtons();
}

QList<QWidget *> CheckPage::tabOrder() const
{
    if (!isBuilt())
        return {};
    return QList<QWidget *>{m_find,  m_stop,  m_found, m_compare, m_differences,
                            m_line1, m_line2, m_send} +
           (m_listenPanel ? m_listenPanel->tabOrder() : QList<QWidget *>());
}

void CheckPage::attachListenPanel(ListenPanel &panel)
{
    m_listenPanel = &panel;
    connect(&panel, &ListenPanel::rowsHeard, this, [this](const QStringList &rows) {
        if (!isBuilt())
            return;
        m_preview->setRows(rows);
        m_preview->setAccessibleName(tr("What the till sent: %1 / %2")
                                         .arg(rows.value(0).trimmed(), rows.value(1).trimmed()));
    });
    connect(&panel, &ListenPanel::speedNote, this, [this](const QString &note) {
        if (isBuilt())
            m_speedNote->setText(note);
    });
}

void CheckPage::setBusy(bool busy)
{
    m_busy = busy;
    enableButtons();
}

void CheckPage::setFinding(bool finding)
{
    m_finding = finding;
    enableButtons();
}

void CheckPage::showProgress(int done, int total)
{
    m_progressDone = done;
    m_progressTotal = total;
    if (!isBuilt())
        return;
    m_progress->setRange(0, qMax(total, 1));
    m_progress->setValue(done);
}

void CheckPage::showTestOutcome(const QString &text)
{
    m_testOutcome = text;
    showTest();
}

void CheckPage::showFound()
{
    if (!isBuilt())
        return;
    const QSignalBlocker blocker(m_found);
    m_found->clear();
    m_found->addItems(m_check.foundRows());
}

void CheckPage::chooseRow(int row)
{
    if (!isBuilt() || row < 0 || row >= m_found->count())
        return;
    const QSignalBlocker blocker(m_found);
    m_found->setCurrentRow(row);
}

void CheckPage::showComparison()
{
    if (!isBuilt())
        return;
    m_differences->clear();
    m_differences->addItems(m_check.comparison());
}

void CheckPage::showTest()
{
    if (!isBuilt())
        return;
    m_set->setText(m_check.commandSetName());
    // Only a text the model changed is written back: the cursor stays put
    // while the user types.
    if (m_line1->text() != m_check.line1())
        m_line1->setText(m_check.line1());
    if (m_line2->text() != m_check.line2())
        m_line2->setText(m_check.line2());
    const QStringList rows = m_check.preview();
    m_preview->setRows(rows);
    // A screen reader says what the glass would show.
    m_preview->setAccessibleName(
        tr("Test screen preview: %1 / %2").arg(rows.value(0).trimmed(), rows.value(1).trimmed()));
    const QString refusal = m_check.refusal();
    m_testNote->setText(refusal.isEmpty() ? m_testOutcome
                                          : tr("Send Test is not possible: %1.").arg(refusal));
    enableButtons();
}

void CheckPage::showSpeedNote()
{
    if (isBuilt())
        m_speedNote->setText(m_check.speedNote());
}

void CheckPage::enableButtons()
{
    if (!isBuilt())
        return;
    m_find->setEnabled(!m_busy && !m_finding);
    m_stop->setEnabled(m_finding);
    m_compare->setEnabled(!m_busy && !m_finding);
    m_send->setEnabled(!m_busy && !m_finding && m_check.refusal().isEmpty());
}
