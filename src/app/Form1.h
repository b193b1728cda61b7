#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include "app/DisplayCheck.h"
#include "editors/Configuration.h"
#include "link/Transfer.h"

class QComboBox;
class QPushButton;
class QTabWidget;

class ChangeHistory;
class CharacterPage;
class CheckPage;
class CommandPage;
class ListenPanel;
class MessagePage;
class MSComm;
class PortComboBox;
class Prompts;
class TickCounter;

// The program's one window: the shell around the four pages. It holds the
// configuration, the link and file controls, the tab control and the two
// bottom buttons, and runs the handlers that reach across pages (transfers,
// files, defaults). Each page is a view of its own, bound to its part of
// the configuration.
class Form1 : public QWidget
{
    Q_OBJECT

public:
    Form1(MSComm &comm, TickCounter &ticks, Prompts &prompts, QWidget *parent = nullptr);

    // The configuration behind the pages, for checks that look past them.
    Configuration &configuration() { return m_config; }
    const Configuration &configuration() const { return m_config; }
    // The steps that Ctrl+Z and Ctrl+Shift+Z take back and do again.
    const ChangeHistory &history() const { return *m_history; }
    // The path chosen in the last file dialog.
    QString currentFileName() const { return m_currentFileName; }
    // A settings file named on the command line, by its name as the system
    // gives it (see SettingsFile::readNamed): loaded as after "Load"'s file
    // dialog, its question included.
    void openFileFromCommandLine(const QByteArray &systemName);

    // The pages behind the first one; each builds its controls when first
    // shown, or when told to.
    MessagePage &messagePage() const { return *m_messagePage; }
    CharacterPage &characterPage() const { return *m_characterPage; }
    CheckPage &checkPage() const { return *m_checkPage; }
    ListenPanel &listenPanel() const { return *m_listenPanel; }
    DisplayCheck &displayCheck() { return m_check; }

protected:
    void closeEvent(QCloseEvent *event) override;

private slots:
    void Form_Load();
    void Form_Unload();
    void InitLists();
    void SetAllDefault_Click();
    void Download_Click();
    void GetSetting_Click();
    void Save_Click();
    void Load_Click();
    void FindVFD_Click();
    void FindFinished();
    void ChooseFound(int row);
    void Compare_Click();
    void SendTest_Click();

private:
    void createInterfaceBand();
    void createPages();
    void createBottomBand();
    void createShortcuts();
    void chainTabOrder();
    void LoadFile();
    // Loads the bytes of a file as one step of the history; false, changing
    // nothing, when they are no settings file.
    bool applyFile(const QByteArray &configBytes);
    // Asks the load question for m_currentFileName, then loads it.
    void confirmAndLoad();
    Transfer::Target currentTarget() const;
    // A note when the character page shows a drawing that neither a download
    // nor a save takes; empty when it shows the stored record.
    QString omittedDrawing(bool isDownload);
    QList<QPushButton *> startButtons() const;
    // While a transfer runs, its closing pause included, nothing else can
    // start one, load, save or reset; a close request waits for its end.
    void beginTransfer();
    // False when the window closed meanwhile and nothing more is to be shown.
    bool endTransfer();

    MSComm &m_comm;
    TickCounter &m_ticks;
    Prompts &m_prompts;
    Configuration m_config;
    ChangeHistory *m_history = nullptr;
    DisplayCheck m_check{m_config, m_comm, m_ticks};
    QString m_currentFileName;

    PortComboBox *m_portBox = nullptr;      // Comm
    QComboBox *m_linkSettingsBox = nullptr; // Baud
    QPushButton *m_getSettingButton = nullptr;
    QPushButton *m_loadButton = nullptr;
    QPushButton *m_saveButton = nullptr;
    QTabWidget *m_pages = nullptr; // SSTab1
    QPushButton *m_defaultsButton = nullptr;
    QPushButton *m_downloadButton = nullptr;

    CommandPage *m_commandPage = nullptr;
    MessagePage *m_messagePage = nullptr;
    CharacterPage *m_characterPage = nullptr;
    CheckPage *m_checkPage = nullptr;
    ListenPanel *m_listenPanel = nullptr;

    bool m_transferRunning = false;
    bool m_closeRequested = false;
    // Disabling the pressed button moves the keyboard focus; it comes back.
    QPointer<QWidget> m_focusBeforeTransfer;
};
