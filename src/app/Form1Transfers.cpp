// Form1's handlers that use the port, in their order: a download, a
// reading, and the "VFD Check" page's search, comparison and test screen.

#include <QGuiApplication>
#include <QPushButton>

#include "app/ChangeHistory.h"
#include "app/CheckPage.h"
#include "app/Form1.h"
#include "app/Prompts.h"
#include "app/widgets/PortComboBox.h"
#include "link/PortChoice.h"
#include "messages/Messages.h"
#include "messages/NextSteps.h"
#include "model/OptionLists.h"

namespace {

// Shows the wait cursor for as long as it lives.
class WaitCursor
{
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

} // namespace

Transfer::Target Form1::currentTarget() const
{
    return Transfer::Target{
        PortChoice::fromComboText(OptionLists::commPorts(), m_portBox->currentText()),
        m_linkSettingsBox->currentText()};
}

QList<QPushButton *> Form1::startButtons() const
{
    return {m_getSettingButton, m_loadButton, m_saveButton, m_defaultsButton, m_downloadButton};
}

void Form1::beginTransfer()
{
    m_transferRunning = true;
    m_focusBeforeTransfer = focusWidget();
    for (QPushButton *button : startButtons())
        button->setEnabled(false);
    m_checkPage->setBusy(true);
}

bool Form1::endTransfer()
{
    m_transferRunning = false;
    for (QPushButton *button : startButtons())
        button->setEnabled(true);
    m_checkPage->setBusy(false);
    if (m_focusBeforeTransfer)
        m_focusBeforeTransfer->setFocus();
    if (!m_closeRequested)
        return true;
    close();
    return false;
}

void Form1::Download_Click()
{
    const Transfer::Target target = currentTarget();
    const QString omitted = omittedDrawing(true);
    m_config.AssembleImage();
    beginTransfer();
    const Result<Transfer::DownloadCheck> result = [&] {
        const WaitCursor wait;
        // The display is asked what it holds before the port closes; then
        // it takes its new settings while the window keeps handling events.
        return Transfer::downloadCheckThenPause(m_comm, m_ticks, target, m_config.image(),
                                                Transfer::ReadBack::Ask,
                                                [] { QCoreApplication::processEvents(); });
    }();
    if (result)
        m_check.noteDownload(target.settings);
    if (!endTransfer())
        return;
    m_prompts.message(result ? NextSteps::downloadReport(*result, target.settings, omitted)
                             : Messages::sentence(result.error()),
                      appTitle());
}

QString Form1::omittedDrawing(bool isDownload)
{
    const CharacterEditor &editor = m_config.characters();
    return editor.matchesRecord() ? QString()
                                  : NextSteps::omittedDrawing(editor.number(), isDownload);
}

void Form1::GetSetting_Click()
{
    const Transfer::Target target = currentTarget();
    beginTransfer();
    const Result<SettingsImage> result = [&] {
        const WaitCursor wait;
        return Transfer::upload(m_comm, m_ticks, target);
    }();
    if (!endTransfer())
        return;
    if (!result) {
        m_prompts.message(Messages::sentence(result.error()), appTitle());
        return;
    }
    // The user acknowledges the reply before the window shows it.
    m_prompts.message(Messages::uploadOk(), appTitle());
    m_history->record(m_getSettingButton->text(), [&] { m_config.applyUpload(*result); });
    m_check.noteRead(*result, target.settings);
}

// A search runs on worker threads while the window stays responsive; it
// counts as a transfer, so that nothing else opens a port meanwhile.
void Form1::FindVFD_Click()
{
    if (m_transferRunning)
        return;
    const QList<PortChoice> ports = DisplayCheck::portsToAsk(
        OptionLists::commPorts(), SystemPortEnumerator().ports(), m_portBox->currentText());
    beginTransfer();
    m_checkPage->setFinding(true);
    m_check.startFind(ports);
}

void Form1::FindFinished()
{
    m_checkPage->setFinding(false);
    if (!endTransfer())
        return;
    if (const std::optional<int> only = m_check.onlyAnswer()) {
        ChooseFound(*only);
        m_checkPage->chooseRow(*only);
    }
}

// An answered display's port and speed become the window's link, and the
// speed note speaks of it.
void Form1::ChooseFound(int row)
{
    const std::optional<Transfer::Target> chosen = m_check.choice(row);
    if (!chosen)
        return;
    for (QComboBox *box : {static_cast<QComboBox *>(m_portBox), m_linkSettingsBox}) {
        const QString text = box == m_linkSettingsBox ? chosen->settings : chosen->port.shownText;
        const int entry = box->findText(text);
        if (entry >= 0)
            box->setCurrentIndex(entry);
        else
            box->setEditText(text);
    }
    m_check.noteRead(m_check.found().at(row).image, chosen->settings);
}

// The page's uses of the port run as the window's own transfers do, so
// that none nests in another; their outcome shows on the page.
void Form1::Compare_Click()
{
    if (m_transferRunning)
        return;
    beginTransfer();
    {
        const WaitCursor wait;
        (void)m_check.compare(currentTarget());
    }
    endTransfer();
}

void Form1::SendTest_Click()
{
    if (m_transferRunning)
        return;
    const Transfer::Target target = currentTarget();
    beginTransfer();
    const QString failure = [&] {
        const WaitCursor wait;
        return m_check.sendTest(target);
    }();
    if (!endTransfer())
        return;
    m_checkPage->showTestOutcome(
        failure.isEmpty() ? tr("Test screen sent to %1.").arg(target.port.shownText) : failure);
}
