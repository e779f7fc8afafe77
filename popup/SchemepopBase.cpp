// SPDX-License-Identifier: GPL-2.0-or-later
#include "SchemepopBase.h"

#include "common/UPMComm.h"
#include "schemes/schemebackend.h"
#include "schemes/switchwords.h"

#include <QCoreApplication>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QPainter>
#include <QShortcut>

#include <cstdio>

TForm_FnBase* Form_FnBase = nullptr;

namespace {

constexpr int SchemeNameRole = Qt::UserRole;

const QByteArray OpenPowerManagerCommand = "/opt/nexalt/pm/pm.sh start &> /dev/null";

// Row colours: fill and outline of the rounded rectangle.
const QColor HoverFill(128, 128, 128);
const QColor CurrentFill(242, 0, 0);
const QColor PlainFill(0, 0, 0);
const QColor MarkedOutline(226, 239, 239);
const QColor PlainOutline(16, 28, 28);
constexpr int RowOutlineWidth = 3;
constexpr int RowInset = 3;
constexpr int RowTextIndent = 40;
constexpr qreal RowRoundness = 5; // percent of half the width and height
const QColor WaitingText(128, 128, 128);
// The line that says a switch waits: over the bottom of the list.
const QRect WaitingLineRect(13, 283, 490, 20);

// The layout's font is rarely installed; a humanist sans of similar width
// takes its place: the first of these that is installed.
const QString LayoutFamily = QStringLiteral("lucidux sans");
const QStringList LayoutFamilySubstitutes = {QStringLiteral("Lucida Sans"),
                                             QStringLiteral("DejaVu Sans")};
constexpr int LayoutPixelSize = 14;

QString firstInstalledSubstitute()
{
    const QStringList installed = QFontDatabase::families();
    for (const QString& family : LayoutFamilySubstitutes) {
        if (installed.contains(family, Qt::CaseInsensitive)) {
            return family;
        }
    }
    return {};
}

// When the system's own fallback for the layout's family already is the
// substitute, a substitution only makes Qt search the fallbacks of a second
// family. The probe's face stays in Qt's font cache for the form.
void useFontFallback()
{
    const QString substitute = firstInstalledSubstitute();
    if (substitute.isEmpty()) {
        QFont::insertSubstitutions(LayoutFamily, LayoutFamilySubstitutes);
        return;
    }
    QFont probe(LayoutFamily);
    probe.setPixelSize(LayoutPixelSize);
    if (QFontInfo(probe).family().compare(substitute, Qt::CaseInsensitive) != 0) {
        QFont::insertSubstitution(LayoutFamily, substitute);
    }
}

// Sets a flag for the lifetime of the guard.
class BusyGuard
{
public:
    explicit BusyGuard(bool& flag) : m_flag(flag) { m_flag = true; }
    ~BusyGuard() { m_flag = false; }
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;

private:
    bool& m_flag;
};

} // namespace

TForm_FnBase::TForm_FnBase(QWidget* parent) : TForm(parent)
{
    Q_INIT_RESOURCE(schemepop);
    useFontFallback();
    setupUi(this);
    created();
}

QByteArray TForm_FnBase::schemeOfRow(const QListWidgetItem* item)
{
    const QVariant name = item->data(SchemeNameRole);
    return name.isValid() ? name.toByteArray() : item->text().toLocal8Bit();
}

void TForm_FnBase::FormCreate()
{
    LstBx_Scheme->setFrameStyle(QFrame::NoFrame);
    Label_OpenPM->setLinkedButton(spdBtn_OpenAC);
    Label_Close->setLinkedButton(spdBtn_Closeb);
    m_powerSettings = machine::powerSettings();
    if (m_powerSettings.kind == machine::PowerSettings::Kind::None) {
        for (QWidget* part :
             {static_cast<QWidget*>(spdBtn_OpenAC), static_cast<QWidget*>(Label_OpenPM)}) {
            part->setEnabled(false);
            part->setToolTip(m_powerSettings.whyNone);
        }
    }
    // Assistive technology reads the red row as the checked one.
    LstBx_Scheme->setCheckedRows([this](int row) { return isCurrentSchemeRow(row); });
}

void TForm_FnBase::FormShow()
{
    runHandler([this] {
        m_schemeStateRead = false;
        LstBx_Scheme->clear();
        for (const schemes::SchemeEntry& entry : PopupSchemes().entries()) {
            addSchemeRow(entry);
        }
        readSchemeState();
    });
}

void TForm_FnBase::addSchemeRow(const schemes::SchemeEntry& entry)
{
    auto* row = new QListWidgetItem(entry.label, LstBx_Scheme);
    row->setData(SchemeNameRole, entry.id);
}

void TForm_FnBase::readSchemeState()
{
    m_schemeStateRead = false;
    PowerState = GetPowerState();
    ACScheme.clear();
    BatteryScheme.clear();
    ReadCurrentSchemes(ACScheme, BatteryScheme);
    CurrentScheme = PowerState == 0 ? ACScheme : BatteryScheme;
    m_schemeStateRead = true;
    LstBx_Scheme->viewport()->update();
    LstBx_Scheme->checkedRowsChanged();
}

bool TForm_FnBase::isCurrentSchemeRow(int row) const
{
    const QListWidgetItem* item = LstBx_Scheme->item(row);
    return item && schemeOfRow(item) == CurrentScheme;
}

void TForm_FnBase::FormActivate()
{
    std::printf("FormActivate\n");
}

void TForm_FnBase::FormDeactivate()
{
    std::printf("FormDeactivate\n");
}

void TForm_FnBase::spdBtn_CloseClick()
{
    closeOrStopWaiting();
}

void TForm_FnBase::spdBtn_ClosebClick()
{
    closeOrStopWaiting();
}

void TForm_FnBase::closeOrStopWaiting()
{
    // While a switch waits, the form closes once the wait has ended.
    if (m_stopWaiting) {
        m_stopWaiting();
        return;
    }
    close();
}

void TForm_FnBase::showWaiting(std::function<void()> stop)
{
    m_stopWaiting = std::move(stop);
    if (!m_waitingLine) {
        m_waitingLine = new QLabel(this);
        m_waitingLine->setGeometry(WaitingLineRect);
        m_waitingLine->setWordWrap(false);
        m_escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
        connect(m_escape, &QShortcut::activated, this, &TForm_FnBase::closeOrStopWaiting);
    }
    m_waitingLine->setText(schemes::waitingText());
    m_waitingLine->show();
    m_waitingLine->raise();
    m_escape->setEnabled(true);
    LstBx_Scheme->setEnabled(false);
    LstBx_Scheme->show();
    // Back beside an authentication dialog, not over it, and not taking
    // the keyboard from it.
    setFormStyle(fsNormal);
    setAttribute(Qt::WA_ShowWithoutActivating);
    show();
}

void TForm_FnBase::endWaiting()
{
    m_stopWaiting = nullptr;
    m_escape->setEnabled(false);
    // What is told next is not to be covered.
    hide();
}

void TForm_FnBase::spdBtn_OpenACClick()
{
    if (m_activating) {
        return;
    }
    BusyGuard busy(m_activating);
    runHandler([this] {
        if (m_powerSettings.kind == machine::PowerSettings::Kind::ProductScript) {
            ExecCmd(OpenPowerManagerCommand);
        } else {
            machine::startDesktopSettings(m_powerSettings);
        }
        close();
    });
}

void TForm_FnBase::SpeedButtonMouseEnter()
{
    if (auto* button = qobject_cast<TSpeedButton*>(sender())) {
        button->setDown(true);
    }
}

void TForm_FnBase::SpeedButtonMouseLeave()
{
    if (auto* button = qobject_cast<TSpeedButton*>(sender())) {
        button->setDown(false);
    }
}

TSpeedButton* TForm_FnBase::linkedButtonOfSender() const
{
    const auto* label = qobject_cast<const TLabel*>(sender());
    return label ? label->linkedButton() : nullptr;
}

void TForm_FnBase::LabelOfSpeedButtonMouseEnter()
{
    if (TSpeedButton* button = linkedButtonOfSender()) {
        button->setDown(true);
    }
}

void TForm_FnBase::LabelOfSpeedButtonMouseLeave()
{
    if (TSpeedButton* button = linkedButtonOfSender()) {
        button->setDown(false);
    }
}

void TForm_FnBase::LabelOfSpeedButtonClick()
{
    if (TSpeedButton* button = linkedButtonOfSender()) {
        button->click();
    }
}

void TForm_FnBase::LstBx_SchemeDrawItem(int Index, const QRect& Rect, int State)
{
    QPainter* canvas = LstBx_Scheme->canvas();
    const QListWidgetItem* row = LstBx_Scheme->item(Index);
    if (!canvas || !row) {
        return;
    }
    QColor fill = PlainFill;
    QColor outline = PlainOutline;
    if (State & TListBox::odSelected) {
        fill = HoverFill;
        outline = MarkedOutline;
    } else if (isCurrentSchemeRow(Index)) {
        fill = CurrentFill;
        outline = MarkedOutline;
    }
    const QRect inner = Rect.adjusted(RowInset, RowInset, -RowInset, -RowInset);
    canvas->setRenderHint(QPainter::Antialiasing, false);
    canvas->setPen(QPen(outline, RowOutlineWidth));
    canvas->setBrush(fill);
    canvas->drawRoundedRect(inner, RowRoundness, RowRoundness, Qt::RelativeSize);

    const QRect textRect = Rect.adjusted(RowTextIndent, RowInset, -RowInset, -RowInset);
    canvas->setFont(LstBx_Scheme->font());
    // Greyed while a switch waits: no row can be chosen then.
    canvas->setPen(LstBx_Scheme->isEnabled() ? fontColor() : WaitingText);
    canvas->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, row->text());
}

void TForm_FnBase::LstBx_SchemeMouseMove(const QPoint& Pos)
{
    const int row = LstBx_Scheme->itemAtPos(Pos);
    if (row < 0) {
        LstBx_Scheme->setItemIndex(-1);
        LstBx_Scheme->setCursor(Qt::ArrowCursor);
    } else {
        LstBx_Scheme->setItemIndex(row);
        LstBx_Scheme->setCursor(Qt::PointingHandCursor);
    }
}

void TForm_FnBase::LstBx_SchemeMouseLeave()
{
    LstBx_Scheme->setCursor(Qt::ArrowCursor);
    LstBx_Scheme->setItemIndex(-1);
}

void TForm_FnBase::LstBx_SchemeClick()
{
    // The notification can come again while an activation runs (a modal
    // message box, the list being hidden under the pointer): it is ignored.
    if (m_activating) {
        return;
    }
    // Only a press and release on a row activate it: the other notifications
    // (keys, selection changes, the hover selection being cleared while the
    // pointer rests on a row) name no clicked row. The row comes from the
    // click's own events, never from the selection, and never from the
    // pointer's screen position mapped through the window, whose position
    // Qt may have wrong.
    const int row = LstBx_Scheme->clickedRow();
    if (row < 0) {
        return;
    }
    BusyGuard busy(m_activating);
    runHandler([this, row] { activateScheme(row); });
}

void TForm_FnBase::activateScheme(int row)
{
    // When reading the state failed part way through at showing time, the
    // power source may be unknown: read it again. Only the key of the power
    // source is written; the other one stays as the file has it.
    if (!m_schemeStateRead) {
        readSchemeState();
    }
    LstBx_Scheme->hide();
    repaint(LstBx_Scheme->geometry()); // the commands below block the event loop
    // polkit's agent may ask for a password: the popup, kept on top, must
    // not cover its dialog.
    if (PopupSchemes().switchMayAsk()) {
        hide();
    }
    CurrentScheme = schemeOfRow(LstBx_Scheme->item(row));
    LstBx_Scheme->checkedRowsChanged();
    SwitchWaitView view;
    view.shown = [this](std::function<void()> stop) { showWaiting(std::move(stop)); };
    view.ended = [this] { endWaiting(); };
    if (PowerState == 0) {
        WriteSchemes(CurrentScheme, std::nullopt, view);
    } else {
        WriteSchemes(std::nullopt, CurrentScheme, view);
    }
    closeAndEnd();
}

void TForm_FnBase::closeAndEnd()
{
    // Closing a window that is hidden already does not end the application
    // by itself.
    const bool hidden = isHidden();
    close();
    if (hidden && testAttribute(Qt::WA_QuitOnClose)) {
        QCoreApplication::quit();
    }
}
