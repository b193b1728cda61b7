#include "app/Form1.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>

#include "app/ChangeHistory.h"
#include "app/CharacterPage.h"
#include "app/CheckPage.h"
#include "app/CommandPage.h"
#include "app/Controls.h"
#include "app/HistoryKeys.h"
#include "app/ListenPanel.h"
#include "app/MessagePage.h"
#include "app/WelcomePreview.h"
#include "app/Prompts.h"
#include "app/widgets/DisplayPicture.h"
#include "app/widgets/PortComboBox.h"
#include "app/widgets/WrapButton.h"
#include "files/SettingsFile.h"
#include "link/MSComm.h"
#include "link/PortChoice.h"
#include "link/TickCounter.h"
#include "messages/Messages.h"
#include "messages/WindowMessages.h"
#include "messages/NextSteps.h"
#include "model/OptionLists.h"

namespace {

// The shell's table, in twips relative to the window (the link controls
// relative to their frame). The two boxes are wider than their slots, so
// that a typed device name shows whole.
constexpr int ClientSize = 9465;
// Room for the glass preview under the welcome messages' frames.
constexpr int PreviewBand = 1800;
constexpr Twips InterfaceFrameAt = {120, 120, 4332, 1932}; // Frame3
constexpr Twips PortLabelAt = {120, 480, 1932, 252};       // Label6
constexpr Twips PortBoxAt = {360, 720, 1800, 360};         // Comm
constexpr Twips LinkLabelAt = {120, 1200, 1452, 252};      // Label7
constexpr Twips LinkBoxAt = {360, 1440, 1800, 360};        // Baud
constexpr Twips GetSettingAt = {2280, 840, 1932, 732};     // GetSetting
constexpr Twips LoadAt = {5160, 960, 1452, 372};
constexpr Twips SaveAt = {5160, 1560, 1452, 372};
constexpr Twips PictureAt = {7200, 120, 2052, 1932}; // Image1
constexpr Twips PagesAt = {120, 2160, 9252, 6492 + PreviewBand}; // SSTab1
constexpr Twips DefaultsAt = {240, 8760 + PreviewBand, 2532, 612}; // SetAllDefault
constexpr Twips DownloadAt = {6360, 8760 + PreviewBand, 2772, 612};

QString withShortcut(const QString &text, const QKeySequence &keys)
{
    return QStringLiteral("%1 (%2)").arg(text, keys.toString(QKeySequence::NativeText));
}

} // namespace

Form1::Form1(MSComm &comm, TickCounter &ticks, Prompts &prompts, QWidget *parent)
    : QWidget(parent), m_comm(comm), m_ticks(ticks), m_prompts(prompts),
      m_history(new ChangeHistory(m_config, this))
{
    setWindowTitle(QStringLiteral("TQ-540_setup_V2.5"));
    // Where Arial is missing, its metric twin is asked for by name, which
    // spares a search through every installed family.
    QFont windowFont(QStringLiteral("Arial"));
    windowFont.setFamilies(
        {QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")});
    windowFont.setPointSizeF(10.5);
    windowFont.setBold(true);
    setFont(windowFont);
    setFixedSize(Controls::px(ClientSize), Controls::px(ClientSize + PreviewBand));

    createInterfaceBand();
    createPages();
    createBottomBand();
    createShortcuts();
    chainTabOrder();
    Form_Load();
}

void Form1::createInterfaceBand()
{
    using Controls::place;
    auto *frame = new QGroupBox(QStringLiteral("Interface Setting"), this);
    Controls::identify(frame, QStringLiteral("Frame3"));
    frame->setGeometry(place(InterfaceFrameAt));

    QLabel *portLabel = Controls::label(frame, QStringLiteral("Label6"),
                                        QStringLiteral("Com Port Select :"), place(PortLabelAt));
    m_portBox = new PortComboBox(frame);
    Controls::identify(m_portBox, QStringLiteral("Comm"));
    m_portBox->setGeometry(place(PortBoxAt));
    portLabel->setBuddy(m_portBox);

    QLabel *linkLabel = Controls::label(frame, QStringLiteral("Label7"),
                                        QStringLiteral("Buad Rate :"), place(LinkLabelAt));
    m_linkSettingsBox = new QComboBox(frame);
    Controls::identify(m_linkSettingsBox, QStringLiteral("Baud"));
    m_linkSettingsBox->setEditable(true);
    // A typed settings text is used as it stands; it never joins the list.
    m_linkSettingsBox->setInsertPolicy(QComboBox::NoInsert);
    m_linkSettingsBox->setGeometry(place(LinkBoxAt));
    linkLabel->setBuddy(m_linkSettingsBox);
    connect(m_linkSettingsBox, &QComboBox::currentTextChanged, &m_check,
            &DisplayCheck::setLinkSettings);
    const auto tellSpeeds = [this](const QString &speedNote) {
        m_linkSettingsBox->setToolTip(WindowMessages::linkSpeedTip(speedNote));
    };
    tellSpeeds(m_check.speedNote());
    connect(&m_check, &DisplayCheck::speedNoteChanged, this, tellSpeeds);

    m_getSettingButton = new WrapButton(QStringLiteral("Get Setting From VFD"), frame);
    Controls::identify(m_getSettingButton, QStringLiteral("GetSetting"));
    m_getSettingButton->setGeometry(place(GetSettingAt));
    connect(m_getSettingButton, &QPushButton::clicked, this, &Form1::GetSetting_Click);

    m_loadButton =
        Controls::button(this, QStringLiteral("Load"), QStringLiteral("Load"), place(LoadAt));
    connect(m_loadButton, &QPushButton::clicked, this, &Form1::Load_Click);
    m_saveButton =
        Controls::button(this, QStringLiteral("Save"), QStringLiteral("Save"), place(SaveAt));
    connect(m_saveButton, &QPushButton::clicked, this, &Form1::Save_Click);

    auto *picture = new DisplayPicture(this);
    Controls::identify(picture, QStringLiteral("Image1"), tr("Picture of the pole display"));
    picture->setGeometry(place(PictureAt));
}

void Form1::createPages()
{
    m_pages = new QTabWidget(this);
    Controls::identify(m_pages, QStringLiteral("SSTab1"), tr("Settings pages"));
    m_pages->setGeometry(Controls::place(PagesAt));
    auto *commandPage = new QWidget;
    auto *messagePage = new QWidget;
    auto *characterPage = new QWidget;
    auto *checkPage = new QWidget;
    m_pages->addTab(commandPage, QStringLiteral("Command Setting"));
    m_pages->addTab(messagePage, QStringLiteral("Welcome Msg"));
    m_pages->addTab(characterPage, QStringLiteral("User Defined Character"));
    m_pages->addTab(checkPage, QStringLiteral("VFD Check"));
    // Page controls are placed relative to the tab control; a page starts
    // below the tab bar, inside the pane's frame.
    const int frame = m_pages->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    const QPoint pageOrigin(frame, m_pages->tabBar()->sizeHint().height() + frame);
    m_commandPage = new CommandPage(m_config, commandPage, pageOrigin);
    m_messagePage =
        new MessagePage(m_config.line1(), m_config.line2(), *m_history, messagePage, pageOrigin);
    new WelcomePreview(m_config, messagePage, pageOrigin);
    m_characterPage =
        new CharacterPage(m_config.characters(), m_prompts, characterPage, pageOrigin);
    connect(m_messagePage, &DeferredPage::built, this, &Form1::chainTabOrder);
    connect(m_characterPage, &DeferredPage::built, this, &Form1::chainTabOrder);

    m_checkPage = new CheckPage(m_check, checkPage, pageOrigin);
    connect(m_checkPage, &DeferredPage::built, this, &Form1::chainTabOrder);
    connect(m_checkPage, &CheckPage::findClicked, this, &Form1::FindVFD_Click);
    connect(m_checkPage, &CheckPage::stopClicked, &m_check, &DisplayCheck::stopFind);
    connect(&m_check, &DisplayCheck::findFinished, this, &Form1::FindFinished);
    connect(m_checkPage, &CheckPage::resultChosen, this, &Form1::ChooseFound);
    connect(m_checkPage, &CheckPage::compareClicked, this, &Form1::Compare_Click);
    connect(m_checkPage, &CheckPage::sendTestClicked, this, &Form1::SendTest_Click);

    m_listenPanel = new ListenPanel(m_comm, m_ticks, m_config, *m_history, checkPage, pageOrigin);
    m_checkPage->attachListenPanel(*m_listenPanel);
    connect(m_listenPanel, &ListenPanel::listenClicked, this, [this] {
        if (m_transferRunning)
            return;
        beginTransfer();
        m_listenPanel->start(currentTarget());
    });
    connect(m_listenPanel, &ListenPanel::finished, this, &Form1::endTransfer);
}

void Form1::createBottomBand()
{
    m_defaultsButton =
        Controls::button(this, QStringLiteral("SetAllDefault"), QStringLiteral("Set All Default"),
                         Controls::place(DefaultsAt));
    connect(m_defaultsButton, &QPushButton::clicked, this, &Form1::SetAllDefault_Click);

    m_downloadButton = new WrapButton(QStringLiteral("Download Setting To VFD"), this);
    Controls::identify(m_downloadButton, QStringLiteral("Download"));
    m_downloadButton->setGeometry(Controls::place(DownloadAt));
    connect(m_downloadButton, &QPushButton::clicked, this, &Form1::Download_Click);
}

void Form1::createShortcuts()
{
    const auto add = [this](const QKeySequence &keys, auto action) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, action);
    };
    const QKeySequence load(Qt::CTRL | Qt::Key_O);
    const QKeySequence save(Qt::CTRL | Qt::Key_S);
    // A click does nothing while the button rests during a transfer.
    add(load, [this] { m_loadButton->click(); });
    add(save, [this] { m_saveButton->click(); });
    add(QKeySequence(Qt::CTRL | Qt::Key_Q), &QWidget::close);
    const QKeySequence previousPage(Qt::CTRL | Qt::Key_PageUp);
    const QKeySequence nextPage(Qt::CTRL | Qt::Key_PageDown);
    const auto turn = [this](int by) {
        m_pages->setCurrentIndex((m_pages->currentIndex() + by + m_pages->count()) %
                                 m_pages->count());
    };
    add(previousPage, [turn] { turn(-1); });
    add(nextPage, [turn] { turn(+1); });
    // Nothing is taken back while a transfer runs, as nothing else starts.
    add(ChangeHistory::undoKeys(), [this] {
        if (!m_transferRunning)
            m_history->undo();
    });
    auto *redo = new QShortcut(this);
    redo->setKeys(ChangeHistory::redoKeys());
    connect(redo, &QShortcut::activated, this, [this] {
        if (!m_transferRunning)
            m_history->redo();
    });
    new HistoryKeys(this);

    m_loadButton->setToolTip(ChangeHistory::tip(withShortcut(m_loadButton->text(), load)));
    m_defaultsButton->setToolTip(ChangeHistory::tip(m_defaultsButton->text()));
    m_getSettingButton->setToolTip(ChangeHistory::tip(m_getSettingButton->text()));
    m_saveButton->setToolTip(withShortcut(m_saveButton->text(), save));
    const QString pageTip = tr("Previous page %1, next page %2")
                                .arg(previousPage.toString(QKeySequence::NativeText),
                                     nextPage.toString(QKeySequence::NativeText));
    for (int page = 0; page < m_pages->count(); ++page)
        m_pages->setTabToolTip(page, pageTip);
}

// Reading order: the link and file controls, the tab bar, the controls of
// each page (Tab passes over those of the hidden pages), the bottom buttons.
// Runs again whenever a page has built its controls.
void Form1::chainTabOrder()
{
    QList<QWidget *> order{m_portBox,    m_linkSettingsBox, m_getSettingButton,
                           m_loadButton, m_saveButton,      m_pages};
    order += m_commandPage->tabOrder();
    order += m_messagePage->tabOrder();
    order += m_characterPage->tabOrder();
    order += m_checkPage->tabOrder();
    order << m_defaultsButton << m_downloadButton;
    for (qsizetype k = 1; k < order.size(); ++k)
        setTabOrder(order[k - 1], order[k]);
}

// --- handlers ---------------------------------------------------------------

void Form1::Form_Load()
{
    InitLists();
    m_config.startUp();
}

void Form1::closeEvent(QCloseEvent *event)
{
    if (m_transferRunning) {
        m_closeRequested = true;
        m_check.stopFind(); // a search ends within a second, then the window closes
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

void Form1::Form_Unload()
{
    if (m_comm.isPortOpen())
        m_comm.setPortOpen(false);
}

void Form1::InitLists()
{
    const auto fill = [](QComboBox *box, const QStringList &items, int selected) {
        const QSignalBlocker blocker(box);
        box->clear();
        box->addItems(items);
        box->setCurrentIndex(selected);
    };
    fill(m_linkSettingsBox, OptionLists::linkSettings(), OptionLists::DefaultLinkSettings);
    fill(m_portBox, OptionLists::commPorts(), OptionLists::DefaultCommPort);
    m_commandPage->fillLists();
}

void Form1::SetAllDefault_Click()
{
    m_history->record(m_defaultsButton->text(), [this] { m_config.SetAllDefault(); });
}

// The handlers that use the port come here in their order: Form1Transfers.cpp.

void Form1::Save_Click()
{
    const QString path = m_prompts.saveFileName(SettingsFile::saveFilter());
    m_currentFileName = path;
    // A refused name is told before the image is assembled.
    if (const Result<void> named = SettingsFile::checkName(path); !named) {
        m_prompts.message(Messages::sentence(named.error()), appTitle());
        return;
    }
    if (path.isEmpty())
        return;
    m_config.AssembleImage();
    const Result<void> written = SettingsFile::write(path, m_config.image().configBytes());
    if (!written)
        m_prompts.message(Messages::sentence(written.error()), appTitle());
    else if (const QString omitted = omittedDrawing(false); !omitted.isEmpty())
        m_prompts.message(omitted, appTitle());
}

void Form1::Load_Click()
{
    const QString path = m_prompts.openFileName(SettingsFile::loadFilter());
    m_currentFileName = path;
    if (path.isEmpty())
        return;
    confirmAndLoad();
}

void Form1::openFileFromCommandLine(const QByteArray &systemName)
{
    m_currentFileName = SettingsFile::shownName(systemName);
    if (!m_prompts.confirm(Messages::loadQuestion(), Messages::loadQuestionTitle()))
        return;
    // Nobody chose this file in a dialog: where Load says "Error", the
    // message says what is wrong with the file.
    const Result<QByteArray> file = SettingsFile::readNamed(systemName);
    if (!file)
        m_prompts.message(Messages::sentence(file.error()), appTitle());
    else if (!applyFile(*file))
        m_prompts.message(WindowMessages::notSettingsFile(m_currentFileName, *file), appTitle());
}

void Form1::confirmAndLoad()
{
    if (!m_prompts.confirm(Messages::loadQuestion(), Messages::loadQuestionTitle()))
        return;
    LoadFile();
}

void Form1::LoadFile()
{
    const Result<QByteArray> file = SettingsFile::read(m_currentFileName);
    if (!file || !applyFile(*file))
        m_prompts.message(Messages::loadError(), appTitle());
}

bool Form1::applyFile(const QByteArray &configBytes)
{
    // The pages follow the configuration's signals; a failure changes nothing.
    bool loaded = false;
    m_history->record(m_loadButton->text(), [&] { loaded = m_config.applyFile(configBytes); });
    return loaded;
}
