#pragma once

#include <QList>
#include <QPoint>

#include "app/DeferredPage.h"

class DisplayCheck;
class GlassView;
class ListenPanel;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QWidget;

// The "VFD Check" page, a view of the display check: finding the display,
// comparing it with the window's settings, and a test screen with its
// preview. The window runs what reaches the port; the page asks for it by
// its signals. Its controls are made when the page is first shown.
class CheckPage : public DeferredPage
{
    Q_OBJECT

public:
    CheckPage(DisplayCheck &check, QWidget *page, QPoint pageOrigin);

    // The page's controls that Tab reaches, in reading order; none before
    // the page is built.
    QList<QWidget *> tabOrder() const;

    // While anything uses a port, nothing here starts another use.
    void setBusy(bool busy);
    // While a search runs: its progress, and Stop.
    void setFinding(bool finding);
    void showProgress(int done, int total);
    // The outcome of the last "Send Test".
    void showTestOutcome(const QString &text);
    // Marks the row of the display taken for the link.
    void chooseRow(int row);
    // "Listen To Till" on this page: its rows heard go to the preview, its
    // note to the speed note.
    void attachListenPanel(ListenPanel &panel);

signals:
    void findClicked();
    void stopClicked();
    void compareClicked();
    void sendTestClicked();
    // A row of the list of displays found was chosen.
    void resultChosen(int row);

private:
    void buildControls(QWidget *page, QPoint pageOrigin) override;
    void showComparison();
    void showTest();
    void showFound();
    void showSpeedNote();
    void enableButtons();

    DisplayCheck &m_check;
    ListenPanel *m_listenPanel = nullptr;
    bool m_busy = false;
    bool m_finding = false;
    QString m_testOutcome;
    int m_progressDone = 0;
    int m_progressTotal = 0;
    // Made by buildControls().
    QPushButton *m_find = nullptr;       // FindVFD
    QPushButton *m_stop = nullptr;       // FindStop
    QProgressBar *m_progress = nullptr;  // FindProgress
    QListWidget *m_found = nullptr;      // FindList
    QPushButton *m_compare = nullptr;    // CompareVFD
    QListWidget *m_differences = nullptr; // CompareList
    QLabel *m_set = nullptr;             // TestSet
    QLineEdit *m_line1 = nullptr;        // TestLine1
    QLineEdit *m_line2 = nullptr;        // TestLine2
    QPushButton *m_send = nullptr;       // SendTest
    GlassView *m_preview = nullptr;      // TestPreview
    QLabel *m_testNote = nullptr;        // TestNote
    QLabel *m_speedNote = nullptr;       // SpeedNote
};
