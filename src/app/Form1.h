#pragma once

#include <array>

#include <QPointer>
#include <QString>
#include <QWidget>

#include "editors/Configuration.h"
#include "link/Transfer.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

class DisplayPicture;
class DotButton;
class MSComm;
class PortComboBox;
class Prompts;
class TickCounter;

// The program's one window. It owns the configuration and binds its widgets
// to it: the widgets paint the model and forward input, the rules live in
// the model.
class Form1 : public QWidget
{
    Q_OBJECT

public:
    Form1(MSComm &comm, TickCounter &ticks, Prompts &prompts, QWidget *parent = nullptr);

    // The configuration behind the widgets, for checks that look past them.
    Configuration &configuration() { return m_config; }
    const Configuration &configuration() const { return m_config; }
    // The path chosen in the last file dialog.
    QString currentFileName() const { return m_fileName; }

    // Fills the pages behind the first one. Runs by itself right after the
    // first paint or when another page is chosen; calling it again does
    // nothing.
    void completeWindow();
    bool isComplete() const { return m_complete; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private slots:
    void Form_Load();
    void Form_Unload();
    void InitLists();
    void SetAllDefault_Click();
    void Op_L1H_Click();
    void Op_L1A_Click();
    void Op_L2H_Click();
    void Op_L2A_Click();
    void CLR_MSG1_Click();
    void CLR_MSG2_Click();
    void map1_Click(int row);
    void map2_Click(int row);
    void map3_Click(int row);
    void map4_Click(int row);
    void map5_Click(int row);
    void MAP_Clear_Click();
    void UDC_NEXT_Click();
    void UDC_UP_Click();
    void Download_Click();
    void GetSetting_Click();
    void Save_Click();
    void Load_Click();

private:
    // One message line's widgets: both rows of cells and both rulers.
    struct LineWidgets
    {
        MessageLine *model = nullptr;
        QRadioButton *hexOption = nullptr;
        QRadioButton *asciiOption = nullptr;
        QList<QLineEdit *> hexCells;
        QList<QLineEdit *> asciiCells;
        QList<QLabel *> hexRulers;
        QList<QLabel *> asciiRulers;
    };

    void createTopBand();
    void createCommandPage(QWidget *page);
    void createMessagePage(QWidget *page);
    void createCharacterPage(QWidget *page);
    void createBottomBand();
    QGroupBox *createMessageFrame(QWidget *page, int lineNumber, LineWidgets &line);
    QRect onPage(int left, int top, int width, int height) const;

    void bindDisplayList(QComboBox *box, Configuration::DisplayList list);
    void showList(Configuration::DisplayList list);
    void bindLine(LineWidgets &line);
    void showCell(LineWidgets &line, MessageLine::View view, int cell);
    void showView(LineWidgets &line);
    void showCharacter();
    void showConfiguration();
    void toggleDot(int column, int row);
    void reportStep(CharacterEditor::Step step);
    void LoadFile();
    Transfer::Target currentTarget() const;
    // While a transfer runs, its closing pause included, nothing else can
    // start one, load, save or reset; a close request waits for its end.
    void beginTransfer();
    // False when the window closed meanwhile and nothing more is to be shown.
    bool endTransfer();

    MSComm &m_MSComm1;
    TickCounter &m_ticks;
    Prompts &m_prompts;
    Configuration m_config;
    QString m_fileName;
    QPoint m_pageOrigin;
    QWidget *m_messagePage = nullptr;
    QWidget *m_characterPage = nullptr;
    bool m_complete = false;
    bool m_completionQueued = false;
    bool m_transferRunning = false;
    bool m_closeRequested = false;
    // The controls that start a transfer, a load, a save or the defaults.
    QList<QPushButton *> m_startButtons;
    // Disabling the pressed button moves the keyboard focus; it comes back.
    QPointer<QWidget> m_focusBeforeTransfer;

    PortComboBox *m_Comm = nullptr;
    QComboBox *m_Baud = nullptr;
    QComboBox *m_Char = nullptr;
    QComboBox *m_Command = nullptr;
    QComboBox *m_BaudRate = nullptr;
    QComboBox *m_Passthru = nullptr;
    // Indexed by Configuration::DisplayList.
    std::array<QComboBox *, 4> m_lists{};
    QTabWidget *m_SSTab1 = nullptr;
    DisplayPicture *m_Image1 = nullptr;

    LineWidgets m_line1;
    LineWidgets m_line2;

    QLabel *m_UDC_label = nullptr;
    QLineEdit *m_UDC_TEXT = nullptr;
    std::array<std::array<DotButton *, CharacterEditor::Rows>, CharacterEditor::Columns> m_map{};
};
