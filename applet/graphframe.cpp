#include "graphframe.h"

#include "comm.h"
#include "graphframeaccessible.h"
#include "pmapplet.h"
#include "schemeconfig.h"

#include <kiconloader.h>
#include <kpanelapplet.h>
#include <kpopupmenu.h>
#include <kprocess.h>
#include <ovraqtcompat.h>

#include <ShellCommand.h>

#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

#include <fcntl.h>
#include <libintl.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Status text of a battery without a reading: the status table has no row
// for it.
constexpr char strStatusUnknown[] = I18N_NOOP("no battery reading");

// Indices into m_ArrayBatState.
constexpr int labelACAttached = 0;
constexpr int labelRelativeStateOfCharge = 13;
constexpr int labelRemainingCapacity = 14;
constexpr int labelFullChargeCapacity = 15;
constexpr int labelAverageTimeToEmpty = 17;
constexpr int labelAverageTimeToFull = 18;
constexpr int labelFullyCharged = 27;

// Through the applet's own catalogue, not the process's default domain:
// another applet in the same panel may insert a catalogue after this one.
QString translated(const char* text)
{
    return QString::fromUtf8(dgettext(m_strIFace, text));
}

// The path of battery n's state file.
struct StateFilePath
{
    explicit StateFilePath(int index) { std::snprintf(path, sizeof path, m_fBatFileState, index); }
    char path[32];
};

bool stateFileExists(int index)
{
    return access(StateFilePath(index).path, F_OK) == 0;
}

// Owns a file descriptor and closes it.
class FileDescriptor
{
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

// Battery n's state file, read whole and afresh with one open; none when it
// cannot be opened. A read error ends the text where it happened.
std::optional<QByteArray> readStateFile(int index)
{
    const FileDescriptor fd(::open(StateFilePath(index).path, O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0)
        return std::nullopt;
    QByteArray text;
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        text.append(buf, int(n));
    }
    return text;
}

// Calls f for every line of text, without its line end ("\n" or "\r\n").
template <typename F> void forEachLine(const QByteArray& text, F f)
{
    std::string_view rest(text.constData(), size_t(text.size()));
    while (!rest.empty()) {
        const size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        if (end == std::string_view::npos) {
            rest = std::string_view();
        } else {
            rest.remove_prefix(end + 1);
            if (!line.empty() && line.back() == '\r')
                line.remove_suffix(1);
        }
        f(line);
    }
}

bool contains(std::string_view line, std::string_view word)
{
    return line.find(word) != std::string_view::npos;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// The value of a reading: the line less its label's length at the front and
// less the unit's length at the end (the whole rest when it is shorter than
// that), without surrounding blanks.
std::string_view cutReading(std::string_view line, size_t labelLength, size_t unitLength)
{
    std::string_view value = line.substr(labelLength);
    if (value.size() >= unitLength)
        value.remove_suffix(unitLength);
    while (!value.empty() && isBlank(value.front()))
        value.remove_prefix(1);
    while (!value.empty() && isBlank(value.back()))
        value.remove_suffix(1);
    return value;
}

QByteArray bytesOf(std::string_view text)
{
    return QByteArray::fromRawData(text.data(), int(text.size()));
}

// The status of a state file's text: the index of the word in its last
// "AC attached:" line (-1 without one) and whether a "FullyCharged:" line
// without a 0 says the battery is full.
std::pair<int, bool> readStatus(const std::optional<QByteArray>& text)
{
    int rIndex = -1;
    bool bFull = false;
    if (text) {
        forEachLine(*text, [&](std::string_view line) {
            if (contains(line, m_ArrayBatState[labelACAttached])) {
                for (int i = 0; i < 2; ++i) {
                    if (contains(line, m_strACstatus[i]))
                        rIndex = i;
                }
            } else if (contains(line, m_ArrayBatState[labelFullyCharged])) {
                if (!contains(line, "0"))
                    bFull = true;
            }
        });
    }
    return {rIndex, bFull};
}

// A scheme name that fits into the configuration's double-quoted value:
// control characters, quotes, backslashes, '$' and '`' would break the line
// or change what the daemon's shell reads.
bool isWritableSchemeName(const QString& name)
{
    for (const QChar c : name) {
        if (c.unicode() < 32 || c.unicode() == 127 || c == QLatin1Char('"') ||
            c == QLatin1Char('\\') || c == QLatin1Char('$') || c == QLatin1Char('`'))
            return false;
    }
    return !name.isEmpty();
}

} // namespace

GraphFrame::GraphFrame(QWidget* parent, const char* name)
    : QFrame(parent), m_bOldStatus(true), m_iBatNum(0), m_sMenuID(), m_bShowPer(true),
      m_iShowPerID(0), m_iShowTimeID(0), m_parent(qobject_cast<KPanelApplet*>(parent)),
      m_lMenu(nullptr), m_rMenu(nullptr), m_subMenu(nullptr), update_timer(nullptr),
      m_processPM(nullptr), main_icon(nullptr), m_iconAC(nullptr)
{
    setObjectName(QString::fromLatin1(name));
    GraphFrameAccessible::gaugeCreated();
    // TRANSLATORS: what a screen reader calls the gauge.
    setAccessibleName(translated(I18N_NOOP("Battery")));
    m_sMenuID.count = 0;
    m_sMenuID.curID = 100;
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);

    execShell(m_strIdletimeStart);

    main_icon = load_qpixmap(m_strMainIconPath);
    m_iconAC = load_qpixmap(m_strACIconPath);

    update_timer = new QTimer(this);
    connect(update_timer, SIGNAL(timeout()), this, SLOT(transfer_draw_icon()));
    update_timer->start(m_iTimeInterval);

    for (int n = 0; n < 2; ++n) {
        if (stateFileExists(n))
            ++m_iBatNum;
    }
    if (m_iBatNum == 0)
        SetParentWidth(false);

    make_lmenu(true);
    make_rmenu();

    transfer_draw_icon();
    repaint();
}

GraphFrame::~GraphFrame()
{
    delete m_lMenu;
    m_lMenu = nullptr;
    delete m_rMenu;
    m_rMenu = nullptr;
    delete m_subMenu;
    m_subMenu = nullptr;
    delete main_icon;
    main_icon = nullptr;
    delete m_iconAC;
    m_iconAC = nullptr;
    // A launch that still runs keeps running: deleting the process object
    // neither kills nor waits for it, and its child is still reaped when it ends.
    delete m_processPM;
    m_processPM = nullptr;
    GraphFrameAccessible::gaugeDestroyed();
}

// ---------------------------------------------------------------------------
// Battery readings
// ---------------------------------------------------------------------------

int GraphFrame::get_batteryStatusIndex(int index)
{
    if (index < 0)
        return -1;
    const auto [acIndex, fullyCharged] = readStatus(readStateFile(index));
    return takeStatus(acIndex, fullyCharged);
}

int GraphFrame::takeStatus(int acIndex, bool fullyCharged)
{
    // The applet's width follows the power source: only a change of it
    // (mains attached or not) resizes the applet, so repeated readings
    // without a status keep the narrow width without asking again.
    const bool notOnMains = acIndex != 0;
    if (notOnMains != m_bOldStatus) {
        m_bOldStatus = notOnMains;
        SetParentWidth(acIndex == 0);
    }
    if (fullyCharged && acIndex == 0)
        return 2;
    return acIndex;
}

QString GraphFrame::get_batteryStatus(int /*per*/)
{
    const int i = get_batteryStatusIndex(0);
    return translated(i >= 0 && i <= 2 ? m_strArrayBatStatus[i] : strStatusUnknown);
}

GraphFrame::s_batInfo GraphFrame::get_batteryInfo(int index)
{
    s_batInfo info{};
    if (index < 0) {
        info.status = get_batteryStatusIndex(index);
        info.bAC = true;
        return info;
    }

    // One reading of the file gives the status and the values alike.
    const std::optional<QByteArray> text = readStateFile(index);
    const auto [acIndex, fullyCharged] = readStatus(text);
    info.status = takeStatus(acIndex, fullyCharged);
    info.bAC = info.status != 1;
    if (text) {
        // Each reading: its label, the length of the unit behind the number,
        // and where the converted value goes. A reading that does not convert
        // stores 0; an empty one leaves the field as it was.
        const auto toInt = [](int& field) {
            return [&field](const QByteArray& value) { field = value.toInt(nullptr, 10); };
        };
        const auto toFloat = [](float& field) {
            return [&field](const QByteArray& value) { field = value.toFloat(); };
        };
        struct Reading
        {
            int label;
            size_t unitLength;
            std::function<void(const QByteArray&)> store;
        };
        const Reading readings[] = {
            {labelAverageTimeToEmpty, 5, toInt(info.toNulltime)},
            {labelAverageTimeToFull, 5, toInt(info.toFulltime)},
            {labelRelativeStateOfCharge, 1, toInt(info.perC)},
            {labelRemainingCapacity, 3, toFloat(info.nowC)},
            {labelFullChargeCapacity, 3, toFloat(info.lastFullC)},
        };

        // A matching test replaces the line by its cut text, which the tests
        // after it see.
        forEachLine(*text, [&](std::string_view line) {
            for (const Reading& reading : readings) {
                const std::string_view label = m_ArrayBatState[reading.label];
                if (!contains(line, label))
                    continue;
                line = cutReading(line, label.size(), reading.unitLength);
                if (!line.empty())
                    reading.store(bytesOf(line));
            }
        });
    }

    info.iTime = info.bAC ? info.toFulltime : info.toNulltime;
    return info;
}

int GraphFrame::GetBatteryLife(int iCycleCount, int LastFullCapacity, int DesignCapacity)
{
    if (iCycleCount < 0)
        return -1;
    if (LastFullCapacity <= 0 || DesignCapacity <= 0)
        return -2;
    const qint64 iPerCapacity = qint64(LastFullCapacity) * 100 / DesignCapacity;
    if (iPerCapacity > 86)
        return 0;
    if (iPerCapacity > 64)
        return 1;
    return 2;
}

void GraphFrame::SetParentWidth(bool bLong)
{
    if (!m_parent)
        return;
    if (bLong) {
        m_parent->setMinimumWidth(m_iACWidth);
        m_parent->setMaximumWidth(m_iACWidth);
    } else {
        m_parent->setMaximumWidth(m_iBatWidth);
        m_parent->setMinimumWidth(m_iBatWidth);
    }
    // The panel asks widthForHeight() again and gives the applet its new room.
    Q_EMIT m_parent->updateLayout();
    m_parent->update();
}

// ---------------------------------------------------------------------------
// Texts
// ---------------------------------------------------------------------------

QString GraphFrame::FormatTime(int time1, int time2)
{
    qint64 time;
    if (time1 == -1)
        time = time2;
    else if (time2 == -1)
        time = time1;
    else
        time = qint64(time1) + time2;
    if (time < 1)
        return QString();

    const qint64 iHour = time / 60;
    const qint64 iMinute = time % 60;
    // TRANSLATORS: between hours and a one-digit minute, as in "2 : 05".
    const char* separator = iMinute <= 9 ? I18N_NOOP(" : 0") : I18N_NOOP(" : ");
    return QString::number(iHour) + translated(separator) + QString::number(iMinute);
}

QString GraphFrame::FormatPer(int per)
{
    // TRANSLATORS: behind the charge percentage, as in "87 %".
    return QString::number(per) + translated(I18N_NOOP(" %"));
}

std::optional<int> GraphFrame::combinedPercentage(const s_batInfo& bat0, const s_batInfo& bat1)
{
    const double full = double(bat1.lastFullC) + double(bat0.lastFullC);
    if (full == 0.0)
        return std::nullopt;
    const double per = (double(bat1.nowC) + double(bat0.nowC)) * 100.0 / full;
    if (!std::isfinite(per))
        return std::nullopt;
    // Far outside 0..100 every value paints alike; the bound keeps the
    // conversion to int defined.
    return int(std::trunc(std::clamp(per, -1.0e6, 1.0e6)));
}

QString GraphFrame::toolTipPercentage(std::optional<int> per)
{
    if (per)
        return FormatPer(*per);
    // TRANSLATORS: the percentage of two batteries whose capacities are unknown.
    return translated(I18N_NOOP("? %"));
}

// ---------------------------------------------------------------------------
// Refresh and painting
// ---------------------------------------------------------------------------

void GraphFrame::transfer_draw_icon()
{
    const std::optional<int> previousPer = m_tipPer;
    const QString previousTip = toolTip();
    if (m_iBatNum == 0) {
        setToolTip(QString::fromLatin1(m_strNoBattery));
        GraphFrameAccessible::refreshed(this, previousPer, previousTip);
        return;
    }

    const s_batInfo batInfo = get_batteryInfo(0);
    qint64 t = batInfo.iTime;
    QString timeText;
    std::optional<int> per;
    if (m_iBatNum == 2) {
        const s_batInfo batInfo2 = get_batteryInfo(1);
        t += batInfo2.iTime;
        timeText = FormatTime(int(std::clamp<qint64>(t, INT_MIN, INT_MAX)), -1);
        per = combinedPercentage(batInfo, batInfo2);
    } else {
        timeText = FormatTime(int(t), -1);
        per = batInfo.perC;
    }

    setToolTip(QString());
    const QString separator = translated(m_strShowTip);
    const QString status = get_batteryStatus(per.value_or(-1));
    setToolTip(translated(status.toUtf8().constData()) + separator + timeText + separator +
               toolTipPercentage(per));
    m_tipPer = per;
    GraphFrameAccessible::refreshed(this, previousPer, previousTip);

    repaint();
}

QFont GraphFrame::heavyFont() const
{
    QFont heavy = font();
    heavy.setWeight(QFont::Black);
    heavy.setStretch(QFont::Expanded);
    return heavy;
}

void GraphFrame::paintNoBattery(QPainter& painter)
{
    painter.setPen(Qt::black);
    painter.setFont(heavyFont());
    const int y = (fontMetrics().height() + height()) / 2 - 5;
    painter.drawText(m_iMarginWidth, y, QString::fromLatin1(m_strNoBattery));
}

void GraphFrame::paintEvent(QPaintEvent* pevent)
{
    QPainter painter(this);
    if (m_iBatNum == 0) {
        paintNoBattery(painter);
        return;
    }

    const s_batInfo batInfo = get_batteryInfo(0);
    int per = batInfo.perC;
    QString timeText;
    if (m_iBatNum == 2) {
        const s_batInfo batInfo2 = get_batteryInfo(1);
        timeText = FormatTime(batInfo.iTime, batInfo2.iTime);
        // Unknown capacities paint like an empty battery: whole gray bar, no text.
        per = combinedPercentage(batInfo, batInfo2).value_or(-1);
    } else {
        timeText = FormatTime(batInfo.iTime, -1);
    }
    const bool bRightPer = per >= 0 && per <= 100;

    painter.setClipRect(pevent->rect());

    // A charge of 3 % is low, not empty: it shares the red of 1 and 2 %.
    QColor colour;
    if (per > 10)
        colour = Qt::green;
    else if (per >= 4)
        colour = QColor(255, 120, 30);
    else if (per >= 1)
        colour = Qt::red;
    else
        colour = Qt::gray;
    QBrush brush(colour, Qt::SolidPattern);

    const bool bShowIcon = batInfo.bAC;
    const int W = width();
    const int H = height();
    const int totalWidth = bShowIcon ? W - m_iconSize : W;
    const int batWidth = totalWidth - 29;
    const int batHeight = H - 2 * m_iMarginWidth;
    const int fillWidth = bRightPer ? per * batWidth / 100 : batWidth;
    painter.fillRect(QRect(m_iMarginWidth, m_iMarginWidth, fillWidth, batHeight), brush);

    painter.setPen(QPen(Qt::gray, m_iFrameLineWidth, Qt::SolidLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(m_iMarginWidth, m_iMarginWidth, batWidth, batHeight);

    brush.setColor(Qt::gray);
    const QRect rect_top(batWidth + m_iTopWidth, batHeight / 2, m_iTopWidth, m_iTopHeight);
    painter.fillRect(rect_top, brush);

    if (bRightPer) {
        const QString text = m_bShowPer || bShowIcon ? FormatPer(per) : timeText;
        painter.setPen(Qt::black);
        painter.setFont(heavyFont());
        // Placed by the widget's own font, though drawn in the heavy one.
        const QFontMetrics metrics = fontMetrics();
        const int x = (batWidth - metrics.horizontalAdvance(text)) / 2;
        const int y = (H + metrics.height() - 5) / 2;
        painter.drawText(x, y, text);
    }

    if (bShowIcon && m_iconAC && !m_iconAC->isNull())
        painter.drawPixmap(W - m_iconSize - m_iMidWidth, (H - m_iconSize) / 2, *m_iconAC);
}

void GraphFrame::resizeEvent(QResizeEvent* e)
{
    QFrame::resizeEvent(e);
    update();
}

// ---------------------------------------------------------------------------
// Mouse, display choice and commands
// ---------------------------------------------------------------------------

void GraphFrame::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton) {
        // Other buttons belong to the panel (its own applet menu).
        e->ignore();
        return;
    }
    make_lmenu(false);
    m_lMenu->popup(OvraQt::globalPos(e), -1);
    set_menu();
}

void GraphFrame::slot_show_percentage()
{
    if (m_subMenu) {
        m_subMenu->setItemChecked(m_iShowTimeID, false);
        m_subMenu->setItemChecked(m_iShowPerID, true);
    }
    m_bShowPer = true;
    repaint();
}

void GraphFrame::slot_show_time()
{
    if (m_subMenu) {
        m_subMenu->setItemChecked(m_iShowTimeID, true);
        m_subMenu->setItemChecked(m_iShowPerID, false);
    }
    m_bShowPer = false;
    repaint();
}

void GraphFrame::start_PM()
{
    if (m_processPM) {
        std::fputs(m_strArrayError[0], stderr);
        return;
    }
    m_processPM = new KProcess;
    m_processPM->setUseShell(true);
    *m_processPM << m_strPMPath;
    connect(m_processPM, SIGNAL(processExited(KProcess*)), this, SLOT(slot_PM_exit(KProcess*)));
    if (!m_processPM->start(KProcess::NotifyOnExit, KProcess::NoCommunication)) {
        // No child, so no exit will ever be reported: without this the
        // launch would stay blocked for the applet's whole life.
        delete m_processPM;
        m_processPM = nullptr;
    }
}

void GraphFrame::slot_start_PM()
{
    start_PM();
}

void GraphFrame::slot_PM_exit(KProcess*)
{
    // Deleted once its signal has returned: this slot runs inside it.
    if (m_processPM)
        m_processPM->deleteLater();
    m_processPM = nullptr;
}

void GraphFrame::slot_quit()
{
    execShell(m_strQuitOvra);
}

void GraphFrame::make_rmenu()
{
    if (m_rMenu)
        m_rMenu->clear();
    else
        m_rMenu = new KPopupMenu(nullptr, m_strMainMenu);
    m_rMenu->insertItem(SmallIcon(QStringLiteral("exit")), translated(m_strArrayMenu[4]), this,
                        SLOT(slot_quit()), QKeySequence(int(Qt::ALT) | int(Qt::Key_Q)));
}

bool GraphFrame::execShell(const char* command)
{
    return execShell(command, shellconf::CommandTimeLimit);
}

bool GraphFrame::execShell(const char* command, std::chrono::milliseconds bound)
{
    // The command's exit status is not looked at; a command that does not
    // end in time is left running and said on standard error.
    switch (shellconf::runShellCommand(command, bound)) {
    case shellconf::CommandEnd::StillRunning:
        std::fprintf(stderr, "ovraapplet: command did not finish within %g s, left running: %s\n",
                     double(bound.count()) / 1000.0, command);
        return false;
    case shellconf::CommandEnd::NotStarted:
        return false; // no child was made: there is nothing to wait for
    case shellconf::CommandEnd::Failed:
    case shellconf::CommandEnd::Succeeded:
        break;
    }
    return true;
}

bool GraphFrame::execShell(const char* command, char* buf, int size)
{
    if (!buf || size < 2)
        return false;
    struct PipeCloser
    {
        void operator()(FILE* stream) const { pclose(stream); }
    };
    const std::unique_ptr<FILE, PipeCloser> stream(popen(command, "r"));
    if (!stream)
        return false;
    std::memset(buf, 0, size_t(size));
    const size_t read = std::fread(buf, 1, size_t(size - 2), stream.get());
    Q_UNUSED(read)
    return true;
}

// ---------------------------------------------------------------------------
// Scheme menu
// ---------------------------------------------------------------------------

void GraphFrame::make_lmenu(bool bFull)
{
    if (bFull) {
        m_sMenuID.count = 0;
        m_sMenuID.beginID = 1;
        if (m_lMenu)
            m_lMenu->clear();
        else
            m_lMenu = new KPopupMenu(nullptr, m_strMainMenu);
        m_lMenu->insertTitle(main_icon ? *main_icon : QPixmap(), translated(m_strMenuTitle), -1, 0);
    } else {
        for (int i = 0; i < m_sMenuID.count; ++i)
            m_lMenu->removeItem(m_sMenuID.menuID[i]);
        m_sMenuID.count = 0;
    }

    insertSchemeEntries();
    set_menu();
    if (!bFull)
        return;

    connect(m_lMenu, SIGNAL(activated(int)), this, SLOT(slot_scheme_click(int)),
            Qt::UniqueConnection);
    m_lMenu->insertSeparator(100);

    if (m_subMenu)
        m_subMenu->clear();
    else
        m_subMenu = new KPopupMenu(nullptr, translated(m_strArrayMenu[0]).toUtf8().constData());
    m_iShowPerID =
        m_subMenu->insertItem(translated(m_strArrayMenu[1]), this, SLOT(slot_show_percentage()));
    m_iShowTimeID =
        m_subMenu->insertItem(translated(m_strArrayMenu[2]), this, SLOT(slot_show_time()));
    m_subMenu->setItemChecked(m_bShowPer ? m_iShowPerID : m_iShowTimeID, true);

    m_lMenu->insertItem(translated(m_strArrayMenu[0]), m_subMenu);
    m_lMenu->insertSeparator();
    m_lMenu->insertItem(translated(m_strArrayMenu[3]), this, SLOT(slot_start_PM()));
}

void GraphFrame::insertSchemeEntries()
{
    // TRANSLATORS: the scheme files' name pattern; keep it unchanged.
    const QString nameFilter = translated(I18N_NOOP("scheme_")) + translated(I18N_NOOP("*"));
    // Matched with case, as the shell matches its patterns: QDir's name
    // filters ignore case unless told otherwise.
    const QDir schemes(QString::fromLatin1(m_strPMSchemePath), nameFilter,
                       QDir::Size | QDir::Reversed,
                       QDir::Files | QDir::NoSymLinks | QDir::Hidden | QDir::CaseSensitive);
    const int slotCount = int(sizeof m_sMenuID.menuID / sizeof m_sMenuID.menuID[0]);
    for (const QString& fileName : schemes.entryList()) {
        // The first schemes in menu order fill the slots; the rest are not offered.
        if (m_sMenuID.count == slotCount)
            break;
        const QByteArray path = QByteArray(m_strPMSchemePath) + QFile::encodeName(fileName);
        if (access(path.constData(), F_OK) != 0)
            continue;
        if (!fileName.contains(QLatin1String(m_strSchemeFileHead)))
            continue;
        const QString name = fileName.mid(7);
        if (!isWritableSchemeName(name))
            continue;
        const int id = m_lMenu->insertItem(name, -1, m_sMenuID.beginID + m_sMenuID.count);
        m_sMenuID.menuID[m_sMenuID.count++] = id;
    }
}

bool GraphFrame::isSchemeEntry(int menuID) const
{
    for (int i = 0; i < m_sMenuID.count; ++i) {
        if (m_sMenuID.menuID[i] == menuID)
            return true;
    }
    return false;
}

void GraphFrame::set_menu()
{
    const QString schemeName = get_CurScheme();
    for (int i = 0; i < m_sMenuID.count; ++i) {
        if (m_lMenu->text(m_sMenuID.menuID[i]) == schemeName)
            moveCheckMark(m_sMenuID.menuID[i]);
    }
}

void GraphFrame::moveCheckMark(int menuID)
{
    if (menuID == m_sMenuID.curID)
        return;
    if (m_sMenuID.curID != 100)
        m_lMenu->setItemChecked(m_sMenuID.curID, false);
    m_sMenuID.curID = menuID;
    m_lMenu->setItemChecked(menuID, true);
}

int GraphFrame::powerSourceRow()
{
    const int status = get_batteryStatusIndex(0);
    return status == 0 || status == 2 ? 0 : 1;
}

QString GraphFrame::get_CurScheme()
{
    const int index = powerSourceRow();
    QString strScheme;
    QFile file(QString::fromLatin1(m_strCommFile));
    if (file.open(QIODevice::ReadOnly)) {
        strScheme = QFile::decodeName(readSchemeValue(file.readAll(), m_strArrayKeyScheme[index]));
        file.close();
    }
    if (strScheme.isEmpty())
        strScheme = QString::fromLatin1(m_strArrayDefScheme[index]);
    return strScheme;
}

void GraphFrame::changeScheme(QString strScheme)
{
    const QByteArray key = m_strArrayKeyScheme[powerSourceRow()];
    const QByteArray value = QFile::encodeName(strScheme);
    // A refused name changes nothing, so there is nothing to reload. A file
    // that could not be read or written still gets the reload, as before.
    if (writeSchemeValue(m_strCommFile, key, value) == SchemeWrite::Refused)
        return;
    execShell(m_strUpdatePS);
    execShell(m_strIdletimeRestart);
}

void GraphFrame::ChangeSchemeSel(int menuID)
{
    if (menuID == m_sMenuID.curID)
        return;
    if (m_sMenuID.curID != 100)
        m_lMenu->setItemChecked(m_sMenuID.curID, false);
    changeScheme(m_lMenu->text(menuID));
    m_sMenuID.curID = menuID;
    m_lMenu->setItemChecked(menuID, true);
}

void GraphFrame::slot_scheme_click(int menuID)
{
    const QString strItem = m_lMenu->text(menuID);
    if (strItem.isNull())
        return;
    // An entry holding one of the fixed entries' texts is no scheme.
    for (const char* fixed : m_strArrayMenu) {
        if (strItem.contains(QString::fromUtf8(fixed)))
            return;
    }
    // Only scheme entries choose a scheme: the title and the fixed entries,
    // in whatever language they read, are known by their ids.
    if (!isSchemeEntry(menuID))
        return;
    ChangeSchemeSel(menuID);
}
