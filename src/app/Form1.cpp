#include "app/Form1.h"

#include <algorithm>

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

#include "app/Prompts.h"
#include "app/widgets/AsciiCellValidator.h"
#include "app/widgets/DisplayPicture.h"
#include "app/widgets/DotButton.h"
#include "app/widgets/PortComboBox.h"
#include "app/widgets/WrapButton.h"
#include "files/SettingsFile.h"
#include "link/MSComm.h"
#include "link/PortChoice.h"
#include "link/TickCounter.h"
#include "link/Transfer.h"
#include "model/OptionLists.h"

namespace {

const QString AppTitle = QStringLiteral("VFD");

// The layout is given in twips; 15 twips are one pixel at 96 dots per inch.
constexpr int TwipsPerPixel = 15;

constexpr int px(int twips)
{
    return (twips + TwipsPerPixel / 2) / TwipsPerPixel;
}

QRect twips(int left, int top, int width, int height)
{
    return QRect(px(left), px(top), px(width), px(height));
}

void identify(QWidget *widget, const QString &name, const QString &accessibleName)
{
    widget->setObjectName(name);
    widget->setAccessibleDescription(name);
    widget->setAccessibleName(accessibleName);
}

QString element(const char *array, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(array)).arg(index);
}

// Lets a caption that is a little wider than its table slot show whole.
void widenToFit(QWidget *widget)
{
    const int wanted = widget->sizeHint().width();
    if (wanted > widget->width())
        widget->resize(wanted, widget->height());
}

QLabel *label(QWidget *parent, const QString &name, const QString &caption, const QRect &geometry)
{
    auto *result = new QLabel(caption, parent);
    identify(result, name, caption.trimmed());
    result->setGeometry(geometry);
    widenToFit(result);
    return result;
}

QPushButton *button(QWidget *parent, const QString &name, const QString &caption,
                    const QString &accessibleName, const QRect &geometry)
{
    auto *result = new QPushButton(caption, parent);
    identify(result, name, accessibleName);
    result->setGeometry(geometry);
    return result;
}

QComboBox *displayList(QWidget *parent, const QString &name, const QString &accessibleName,
                       const QRect &geometry)
{
    auto *result = new QComboBox(parent);
    identify(result, name, accessibleName);
    result->setEditable(false);
    result->setGeometry(geometry);
    return result;
}

// Shows the wait cursor for as long as it lives.
class WaitCursor
{
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

// Ruler captions and the column each one stands over, per row of cells.
struct RulerMark
{
    const char *caption;
    int column; // 1..20
};
constexpr RulerMark FirstRowRuler[] = {{"0", 1}, {"5", 5}, {"10", 10}, {"15", 15}, {"20", 20}};
constexpr RulerMark SecondRowRuler[] = {{"21", 1}, {"25", 5}, {"30", 10}, {"35", 15}, {"40", 20}};

constexpr int CellsPerRow = 20;
constexpr int CellLeft = 1200;
constexpr int CellPitch = 360;
constexpr int CellWidth = 372;
constexpr int CellHeight = 384;
constexpr int RulerHeight = 14;

// The display lists start right of their captions, which in this font are
// wider than the slot the twip table leaves them.
constexpr int ListLeft = 2160;

} // namespace

Form1::Form1(MSComm &comm, TickCounter &ticks, Prompts &prompts, QWidget *parent)
    : QWidget(parent), m_MSComm1(comm), m_ticks(ticks), m_prompts(prompts)
{
    m_line1.model = &m_config.line1();
    m_line2.model = &m_config.line2();
    setWindowTitle(QStringLiteral("TQ-540_setup_V2.5"));
    // Where Arial is missing, its metric twin is asked for by name, which
    // spares a search through every installed family.
    QFont windowFont(QStringLiteral("Arial"));
    windowFont.setFamilies(
        {QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")});
    windowFont.setPointSizeF(10.5);
    windowFont.setBold(true);
    setFont(windowFont);
    setFixedSize(px(9465), px(9465));

    createTopBand();

    m_SSTab1 = new QTabWidget(this);
    identify(m_SSTab1, QStringLiteral("SSTab1"), tr("Settings pages"));
    m_SSTab1->setGeometry(twips(120, 2160, 9252, 6492));
    auto *commandPage = new QWidget;
    auto *messagePage = new QWidget;
    auto *characterPage = new QWidget;
    m_SSTab1->addTab(commandPage, QStringLiteral("Command Setting"));
    m_SSTab1->addTab(messagePage, QStringLiteral("Welcome Msg"));
    m_SSTab1->addTab(characterPage, QStringLiteral("User Defined Character"));
    // Page controls are placed relative to the tab control; a page starts
    // below the tab bar, inside the pane's frame.
    const int frame = m_SSTab1->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    m_pageOrigin = QPoint(frame, m_SSTab1->tabBar()->sizeHint().height() + frame);
    createCommandPage(commandPage);
    m_messagePage = messagePage;
    m_characterPage = characterPage;
    // The two pages behind the first one are filled once the window has
    // been painted, or as soon as one of them is chosen: start-up shows the
    // window first.
    connect(m_SSTab1, &QTabWidget::currentChanged, this, &Form1::completeWindow);

    createBottomBand();

    Form_Load();
}

void Form1::completeWindow()
{
    if (m_complete)
        return;
    m_complete = true;
    createMessagePage(m_messagePage);
    createCharacterPage(m_characterPage);
    // Children added to a window that is already on screen must be shown
    // by hand; the hidden view of each line is hidden again right after.
    for (QWidget *page : {m_messagePage, m_characterPage}) {
        const QList<QWidget *> widgets = page->findChildren<QWidget *>();
        for (QWidget *widget : widgets)
            widget->show();
    }
    showConfiguration();
}

void Form1::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    if (!m_complete && !m_completionQueued) {
        m_completionQueued = true;
        QTimer::singleShot(0, this, &Form1::completeWindow);
    }
}

QRect Form1::onPage(int left, int top, int width, int height) const
{
    return twips(left, top, width, height).translated(-m_pageOrigin);
}

void Form1::createTopBand()
{
    auto *frame3 = new QGroupBox(QStringLiteral("Interface Setting"), this);
    identify(frame3, QStringLiteral("Frame3"), tr("Interface setting"));
    frame3->setGeometry(twips(120, 120, 4332, 1932));

    label(frame3, QStringLiteral("Label6"), QStringLiteral("Com Port Select :"),
          twips(120, 480, 1932, 252));
    m_Comm = new PortComboBox(frame3);
    identify(m_Comm, QStringLiteral("Comm"), tr("Com port"));
    m_Comm->setGeometry(twips(360, 720, 1800, 360));

    label(frame3, QStringLiteral("Label7"), QStringLiteral("Buad Rate :"),
          twips(120, 1200, 1452, 252));
    m_Baud = new QComboBox(frame3);
    identify(m_Baud, QStringLiteral("Baud"), tr("Link baud rate"));
    m_Baud->setEditable(true);
    // A typed settings text is used as it stands; it never joins the list.
    m_Baud->setInsertPolicy(QComboBox::NoInsert);
    m_Baud->setGeometry(twips(360, 1440, 1800, 360));

    auto *getSetting = new WrapButton(QStringLiteral("Get Setting From VFD"), frame3);
    identify(getSetting, QStringLiteral("GetSetting"), tr("Get setting from display"));
    getSetting->setGeometry(twips(2280, 840, 1932, 732));
    connect(getSetting, &QPushButton::clicked, this, &Form1::GetSetting_Click);
    m_startButtons << getSetting;

    auto *load = button(this, QStringLiteral("Load"), QStringLiteral("Load"), tr("Load file"),
                        twips(5160, 960, 1452, 372));
    connect(load, &QPushButton::clicked, this, &Form1::Load_Click);
    auto *save = button(this, QStringLiteral("Save"), QStringLiteral("Save"), tr("Save file"),
                        twips(5160, 1560, 1452, 372));
    connect(save, &QPushButton::clicked, this, &Form1::Save_Click);
    m_startButtons << load << save;

    m_Image1 = new DisplayPicture(this);
    identify(m_Image1, QStringLiteral("Image1"), tr("Picture of the pole display"));
    m_Image1->setGeometry(twips(7200, 120, 2052, 1932));
}

void Form1::createCommandPage(QWidget *page)
{
    label(page, QStringLiteral("Label1"), QStringLiteral(" Character Type :"),
          onPage(240, 1080, 1812, 372));
    m_Char = displayList(page, QStringLiteral("Char"), tr("Character type"),
                         onPage(ListLeft, 1080, 2412, 360));
    label(page, QStringLiteral("Label2"), QStringLiteral("Command Mode :"),
          onPage(240, 2040, 1812, 372));
    m_Command = displayList(page, QStringLiteral("Command"), tr("Command mode"),
                            onPage(ListLeft, 2040, 2412, 360));
    label(page, QStringLiteral("Label3"), QStringLiteral("BaudRate Select :"),
          onPage(240, 3000, 1812, 372));
    m_BaudRate = displayList(page, QStringLiteral("BaudRate"), tr("Display baud rate"),
                             onPage(ListLeft, 3000, 2412, 360));
    label(page, QStringLiteral("Label4"), QStringLiteral(" Passthru Mode :"),
          onPage(240, 3960, 1452, 252));
    m_Passthru = displayList(page, QStringLiteral("Passthru"), tr("Passthru mode"),
                             onPage(ListLeft, 3960, 2412, 360));

    m_lists = {m_BaudRate, m_Char, m_Command, m_Passthru};
    bindDisplayList(m_BaudRate, Configuration::DisplayList::BaudRate);
    bindDisplayList(m_Char, Configuration::DisplayList::Char);
    bindDisplayList(m_Command, Configuration::DisplayList::Command);
    bindDisplayList(m_Passthru, Configuration::DisplayList::Passthru);
    connect(&m_config, &Configuration::listPositionChanged, this,
            [this](Configuration::DisplayList list, int) { showList(list); });
}

void Form1::createMessagePage(QWidget *page)
{
    QGroupBox *frame1 = createMessageFrame(page, 1, m_line1);
    frame1->setGeometry(onPage(240, 480, 8772, 2292));
    auto *clear1 = button(frame1, QStringLiteral("CLR_MSG1"), QStringLiteral("Clear"),
                          tr("Clear welcome message 1"), twips(7320, 360, 1092, 372));
    connect(clear1, &QPushButton::clicked, this, &Form1::CLR_MSG1_Click);

    QGroupBox *frame2 = createMessageFrame(page, 2, m_line2);
    frame2->setGeometry(onPage(240, 2760, 8772, 3492));
    auto *clear2 = button(frame2, QStringLiteral("CLR_MSG2"), QStringLiteral("Clear"),
                          tr("Clear welcome message 2"), twips(7320, 360, 1092, 372));
    connect(clear2, &QPushButton::clicked, this, &Form1::CLR_MSG2_Click);

    connect(m_line1.hexOption, &QRadioButton::clicked, this, &Form1::Op_L1H_Click);
    connect(m_line1.asciiOption, &QRadioButton::clicked, this, &Form1::Op_L1A_Click);
    connect(m_line2.hexOption, &QRadioButton::clicked, this, &Form1::Op_L2H_Click);
    connect(m_line2.asciiOption, &QRadioButton::clicked, this, &Form1::Op_L2A_Click);
    bindLine(m_line1);
    bindLine(m_line2);
}

QGroupBox *Form1::createMessageFrame(QWidget *page, int lineNumber, LineWidgets &line)
{
    // Line 1 has one row of cells per view, line 2 two rows of twenty.
    const bool twoRows = lineNumber == 2;
    const QString frameCaption =
        twoRows ? QStringLiteral("Welcome Msg 2 ") : QStringLiteral("Welcome Msg 1");
    const QString lineName = tr("Welcome message %1").arg(lineNumber);
    const QByteArray prefix = "L" + QByteArray::number(lineNumber);

    auto *frame = new QGroupBox(frameCaption, page);
    identify(frame, QStringLiteral("Frame%1").arg(lineNumber), lineName);

    line.asciiOption = new QRadioButton(QStringLiteral("ASCII"), frame);
    identify(line.asciiOption, QStringLiteral("Op_%1A").arg(QLatin1String(prefix)),
             tr("%1, ASCII view").arg(lineName));
    line.asciiOption->setGeometry(twips(120, 600, 972, 264));
    widenToFit(line.asciiOption);

    line.hexOption = new QRadioButton(QStringLiteral("Hex"), frame);
    identify(line.hexOption, QStringLiteral("Op_%1H").arg(QLatin1String(prefix)),
             tr("%1, hex view").arg(lineName));
    line.hexOption->setGeometry(twips(120, twoRows ? 2160 : 1320, 852, 264));
    widenToFit(line.hexOption);

    // Row tops of each view, in twips; line 2 continues its second row at
    // cell 21.
    const QList<int> asciiRows = twoRows ? QList<int>{1080, 1680} : QList<int>{1080};
    const QList<int> hexRows = twoRows ? QList<int>{2400, 3000} : QList<int>{1800};

    const auto addView = [&](MessageLine::View view, const QList<int> &rowTops,
                             QList<QLineEdit *> &cells, QList<QLabel *> &rulers) {
        const bool hex = view == MessageLine::View::Hex;
        const QByteArray cellArray = prefix + (hex ? "H" : "A");
        const QByteArray rulerArray = "Label_" + cellArray + "1";
        const QString viewName = hex ? tr("hex cell") : tr("ASCII cell");
        int rulerIndex = 0;
        for (int row = 0; row < rowTops.size(); ++row) {
            const int top = rowTops[row];
            const auto &marks = row == 0 ? FirstRowRuler : SecondRowRuler;
            for (const RulerMark &mark : marks) {
                auto *ruler = new QLabel(QString::fromLatin1(mark.caption), frame);
                identify(ruler, element(rulerArray.constData(), rulerIndex),
                         tr("%1, column ruler %2").arg(lineName, ruler->text()));
                ruler->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
                const int left = px(CellLeft + CellPitch * (mark.column - 1));
                ruler->setGeometry(left - 4, px(top) - RulerHeight, px(CellWidth) + 8, RulerHeight);
                rulers << ruler;
                ++rulerIndex;
            }
            for (int column = 1; column <= CellsPerRow; ++column) {
                const int cell = row * CellsPerRow + column;
                auto *edit = new QLineEdit(frame);
                identify(edit, element(cellArray.constData(), cell),
                         tr("%1, %2 %3").arg(lineName, viewName).arg(cell));
                edit->setAlignment(Qt::AlignCenter);
                edit->setMaxLength(hex ? MessageLine::HexCellLength : MessageLine::AsciiCellLength);
                edit->setTextMargins(0, 0, 0, 0);
                edit->setGeometry(
                    twips(CellLeft + CellPitch * (column - 1), top, CellWidth, CellHeight));
                if (!hex)
                    edit->setValidator(new AsciiCellValidator(edit));
                cells << edit;
            }
        }
    };
    addView(MessageLine::View::Ascii, asciiRows, line.asciiCells, line.asciiRulers);
    addView(MessageLine::View::Hex, hexRows, line.hexCells, line.hexRulers);
    return frame;
}

void Form1::createCharacterPage(QWidget *page)
{
    m_UDC_label = label(page, QStringLiteral("UDC_label"), QString(), onPage(960, 960, 3732, 372));
    m_UDC_label->setAccessibleName(tr("Character number"));

    auto *up = button(page, QStringLiteral("UDC_UP"), QStringLiteral("<<"),
                      tr("Previous character"), onPage(960, 1680, 732, 372));
    connect(up, &QPushButton::clicked, this, &Form1::UDC_UP_Click);
    label(page, QStringLiteral("Label5"), QStringLiteral("0x"), onPage(2250, 1800, 252, 252));

    m_UDC_TEXT = new QLineEdit(page);
    identify(m_UDC_TEXT, QStringLiteral("UDC_TEXT"), tr("Character code"));
    m_UDC_TEXT->setMaxLength(CharacterEditor::CodeTextLength);
    m_UDC_TEXT->setGeometry(onPage(2520, 1680, 612, 384));
    connect(m_UDC_TEXT, &QLineEdit::textEdited, this,
            [this](const QString &text) { m_config.characters().setCodeText(text); });

    label(page, QStringLiteral("Label8"), QStringLiteral("(Hex)"), onPage(3240, 1800, 492, 252));
    auto *next = button(page, QStringLiteral("UDC_NEXT"), QStringLiteral(">>"),
                        tr("Next character"), onPage(3960, 1680, 732, 372));
    connect(next, &QPushButton::clicked, this, &Form1::UDC_NEXT_Click);

    using Handler = void (Form1::*)(int);
    const std::array<Handler, CharacterEditor::Columns> handlers = {
        &Form1::map1_Click, &Form1::map2_Click, &Form1::map3_Click, &Form1::map4_Click,
        &Form1::map5_Click};
    for (int column = 1; column <= CharacterEditor::Columns; ++column) {
        const QByteArray array = "map" + QByteArray::number(column);
        for (int row = 0; row < CharacterEditor::Rows; ++row) {
            auto *dot = new DotButton(page);
            identify(dot, element(array.constData(), row),
                     tr("Dot column %1, row %2").arg(column).arg(row));
            dot->setGeometry(onPage(1680 + 480 * (column - 1), 2280 + 480 * row, 372, 372));
            const Handler handler = handlers[static_cast<std::size_t>(column - 1)];
            connect(dot, &QPushButton::clicked, this,
                    [this, handler, row] { (this->*handler)(row); });
            m_map[static_cast<std::size_t>(column - 1)][static_cast<std::size_t>(row)] = dot;
        }
    }

    label(page, QStringLiteral("Label9"), QStringLiteral("Range : 0x20~0x7E"),
          onPage(4920, 4800, 1692, 252));
    label(page, QStringLiteral("Label10"), QStringLiteral("Max Characters = 9"),
          onPage(4920, 5160, 1692, 252));
    auto *clear = button(page, QStringLiteral("MAP_Clear"), QStringLiteral("Clear"),
                         tr("Clear dot grid"), onPage(480, 5160, 972, 372));
    connect(clear, &QPushButton::clicked, this, &Form1::MAP_Clear_Click);

    connect(&m_config.characters(), &CharacterEditor::changed, this, &Form1::showCharacter);
}

void Form1::createBottomBand()
{
    auto *defaults =
        button(this, QStringLiteral("SetAllDefault"), QStringLiteral("Set All Default"),
               tr("Set all default"), twips(240, 8760, 2532, 612));
    connect(defaults, &QPushButton::clicked, this, &Form1::SetAllDefault_Click);

    auto *download = new WrapButton(QStringLiteral("Download Setting To VFD"), this);
    identify(download, QStringLiteral("Download"), tr("Download setting to display"));
    download->setGeometry(twips(6360, 8760, 2772, 612));
    connect(download, &QPushButton::clicked, this, &Form1::Download_Click);
    m_startButtons << defaults << download;
}

// --- bindings ---------------------------------------------------------------

void Form1::bindDisplayList(QComboBox *box, Configuration::DisplayList list)
{
    connect(box, &QComboBox::currentIndexChanged, this, [this, list](int index) {
        if (index >= 0 && !m_config.setListPosition(list, index))
            showList(list);
    });
}

void Form1::showList(Configuration::DisplayList list)
{
    QComboBox *box = m_lists[static_cast<std::size_t>(list)];
    const int position = m_config.listPosition(list);
    if (box->currentIndex() == position)
        return;
    const QSignalBlocker blocker(box);
    box->setCurrentIndex(position);
}

void Form1::bindLine(LineWidgets &line)
{
    MessageLine *model = line.model;
    for (int cell = 1; cell <= model->cellCount(); ++cell) {
        QLineEdit *hex = line.hexCells[cell - 1];
        connect(hex, &QLineEdit::textEdited, this,
                [model, cell](const QString &text) { model->setHexText(cell, text); });
        QLineEdit *ascii = line.asciiCells[cell - 1];
        connect(ascii, &QLineEdit::textEdited, this, [this, &line, cell](const QString &text) {
            // The validator already keeps out what has no code; should the
            // model still refuse, the cell goes back to what it holds.
            if (!line.model->setAsciiText(cell, text))
                showCell(line, MessageLine::View::Ascii, cell);
        });
    }
    connect(model, &MessageLine::cellTextChanged, this,
            [this, &line](MessageLine::View view, int cell) { showCell(line, view, cell); });
    connect(model, &MessageLine::viewChanged, this, [this, &line] { showView(line); });
}

void Form1::showCell(LineWidgets &line, MessageLine::View view, int cell)
{
    if (!m_complete)
        return;
    const QList<QLineEdit *> &cells =
        view == MessageLine::View::Hex ? line.hexCells : line.asciiCells;
    if (cell < 1 || cell > cells.size())
        return;
    QLineEdit *edit = cells[cell - 1];
    const QString text = line.model->text(view, cell);
    if (edit->text() != text)
        edit->setText(text);
}

void Form1::showView(LineWidgets &line)
{
    if (!m_complete)
        return;
    const bool hex = line.model->view() == MessageLine::View::Hex;
    line.hexOption->setChecked(hex);
    line.asciiOption->setChecked(!hex);
    // Hide first, then show, so that the frame never holds both rows at once.
    const auto setShown = [](const auto &widgets, bool shown) {
        for (QWidget *widget : widgets)
            widget->setVisible(shown);
    };
    setShown(hex ? line.asciiRulers : line.hexRulers, false);
    setShown(hex ? line.asciiCells : line.hexCells, false);
    setShown(hex ? line.hexRulers : line.asciiRulers, true);
    setShown(hex ? line.hexCells : line.asciiCells, true);
}

void Form1::showCharacter()
{
    if (!m_complete)
        return;
    const CharacterEditor &editor = m_config.characters();
    m_UDC_label->setText(editor.caption());
    if (m_UDC_TEXT->text() != editor.codeText())
        m_UDC_TEXT->setText(editor.codeText());
    for (int column = 1; column <= CharacterEditor::Columns; ++column) {
        for (int row = 0; row < CharacterEditor::Rows; ++row) {
            m_map[static_cast<std::size_t>(column - 1)][static_cast<std::size_t>(row)]->setChecked(
                editor.isLit(column, row));
        }
    }
}

void Form1::showConfiguration()
{
    for (int list = 0; list < static_cast<int>(m_lists.size()); ++list)
        showList(static_cast<Configuration::DisplayList>(list));
    for (LineWidgets *line : {&m_line1, &m_line2}) {
        for (int cell = 1; cell <= line->model->cellCount(); ++cell) {
            showCell(*line, MessageLine::View::Hex, cell);
            showCell(*line, MessageLine::View::Ascii, cell);
        }
        showView(*line);
    }
    showCharacter();
}

// --- handlers ---------------------------------------------------------------

void Form1::Form_Load()
{
    InitLists();
    m_config.startUp();
    showConfiguration();
}

void Form1::closeEvent(QCloseEvent *event)
{
    if (m_transferRunning) {
        m_closeRequested = true;
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

void Form1::Form_Unload()
{
    if (m_MSComm1.isPortOpen())
        m_MSComm1.setPortOpen(false);
}

void Form1::InitLists()
{
    const auto fill = [](QComboBox *box, const QStringList &items, int selected) {
        const QSignalBlocker blocker(box);
        box->clear();
        box->addItems(items);
        box->setCurrentIndex(selected);
    };
    fill(m_Char, OptionLists::charSets(), OptionLists::DefaultCharSet);
    fill(m_Command, OptionLists::commandSets(), OptionLists::DefaultCommandSet);
    fill(m_BaudRate, OptionLists::displayBaudRates(), OptionLists::DefaultDisplayBaud);
    fill(m_Baud, OptionLists::linkSettings(), OptionLists::DefaultLinkSettings);
    fill(m_Comm, OptionLists::commPorts(), OptionLists::DefaultCommPort);
    fill(m_Passthru, OptionLists::passthruModes(), OptionLists::DefaultPassthru);
    // The display lists show their longest entry whole, and share one width.
    int width = 0;
    for (QComboBox *box : m_lists)
        width = std::max({width, box->width(), box->sizeHint().width()});
    for (QComboBox *box : m_lists)
        box->resize(width, box->height());
}

void Form1::SetAllDefault_Click()
{
    m_config.SetAllDefault();
}

void Form1::Op_L1H_Click()
{
    m_config.line1().selectView(MessageLine::View::Hex);
}

void Form1::Op_L1A_Click()
{
    m_config.line1().selectView(MessageLine::View::Ascii);
}

void Form1::Op_L2H_Click()
{
    m_config.line2().selectView(MessageLine::View::Hex);
}

void Form1::Op_L2A_Click()
{
    m_config.line2().selectView(MessageLine::View::Ascii);
}

void Form1::CLR_MSG1_Click()
{
    m_config.line1().clear();
}

void Form1::CLR_MSG2_Click()
{
    m_config.line2().clear();
}

void Form1::map1_Click(int row)
{
    toggleDot(1, row);
}

void Form1::map2_Click(int row)
{
    toggleDot(2, row);
}

void Form1::map3_Click(int row)
{
    toggleDot(3, row);
}

void Form1::map4_Click(int row)
{
    toggleDot(4, row);
}

void Form1::map5_Click(int row)
{
    toggleDot(5, row);
}

void Form1::toggleDot(int column, int row)
{
    m_config.characters().toggleDot(column, row);
    // The button toggled itself on the click; the model has the last word.
    showCharacter();
}

void Form1::MAP_Clear_Click()
{
    m_config.characters().clearGrid();
}

void Form1::UDC_NEXT_Click()
{
    reportStep(m_config.characters().stepNext());
}

void Form1::UDC_UP_Click()
{
    reportStep(m_config.characters().stepPrevious());
}

void Form1::reportStep(CharacterEditor::Step step)
{
    showCharacter();
    const QString text = CharacterEditor::messageFor(step);
    if (!text.isEmpty())
        m_prompts.message(text, AppTitle);
}

Transfer::Target Form1::currentTarget() const
{
    return Transfer::Target{
        PortChoice::fromComboText(OptionLists::commPorts(), m_Comm->currentText()),
        m_Baud->currentText()};
}

void Form1::beginTransfer()
{
    m_transferRunning = true;
    m_focusBeforeTransfer = focusWidget();
    for (QPushButton *button : std::as_const(m_startButtons))
        button->setEnabled(false);
}

bool Form1::endTransfer()
{
    m_transferRunning = false;
    for (QPushButton *button : std::as_const(m_startButtons))
        button->setEnabled(true);
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
    m_config.AssembleImage();
    Transfer::DownloadResult result;
    beginTransfer();
    {
        const WaitCursor wait;
        result = Transfer::download(m_MSComm1, m_ticks, target, m_config.image());
        // The display takes its new settings while the window keeps
        // handling events.
        if (result.ok)
            Transfer::Delay(m_ticks, Transfer::ClosingPauseMs,
                            [] { QCoreApplication::processEvents(); });
    }
    if (!endTransfer())
        return;
    if (!result.ok) {
        m_prompts.message(result.message, AppTitle);
        return;
    }
    m_prompts.message(Transfer::downloadOkMessage(), AppTitle);
}

void Form1::GetSetting_Click()
{
    Transfer::UploadResult result;
    beginTransfer();
    {
        const WaitCursor wait;
        result = Transfer::upload(m_MSComm1, m_ticks, currentTarget());
    }
    if (!endTransfer())
        return;
    if (result.status != Transfer::UploadResult::Status::Ok) {
        m_prompts.message(result.message, AppTitle);
        return;
    }
    // The user acknowledges the reply before the window shows it.
    m_prompts.message(Transfer::uploadOkMessage(), AppTitle);
    m_config.applyUpload(result.reply);
}

void Form1::Save_Click()
{
    const QString path = m_prompts.saveFileName(SettingsFile::saveFilter());
    m_fileName = path;
    if (SettingsFile::isRefusedName(QFileInfo(path).fileName())) {
        m_prompts.message(SettingsFile::refusedNameMessage(), AppTitle);
        return;
    }
    if (path.isEmpty())
        return;
    m_config.AssembleImage();
    const SettingsFile::WriteResult result =
        SettingsFile::write(path, m_config.image().configBytes());
    if (!result.ok)
        m_prompts.message(result.error, AppTitle);
}

void Form1::Load_Click()
{
    const QString path = m_prompts.openFileName(SettingsFile::loadFilter());
    m_fileName = path;
    if (path.isEmpty())
        return;
    if (!m_prompts.confirm(SettingsFile::loadQuestion(), SettingsFile::loadQuestionTitle()))
        return;
    LoadFile();
}

void Form1::LoadFile()
{
    const SettingsFile::ReadResult file = SettingsFile::read(m_fileName);
    // The widgets follow the configuration's signals; a failure changes nothing.
    if (!file.ok || !m_config.applyFile(file.bytes))
        m_prompts.message(SettingsFile::loadErrorMessage(), AppTitle);
}
