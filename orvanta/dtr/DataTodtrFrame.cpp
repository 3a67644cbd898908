#include "DataTodtrFrame.h"

#include "CheckinoutForm.h"
#include "DtrGenerator.h"
#include "DtrGridLook.h"
#include "report/DtrReportActions.h"

#include "data/Background.h"
#include "data/DataCon.h"
#include "data/Errors.h"
#include "data/Session.h"
#include "shell/Dialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QStyle>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include <memory>

namespace orv {

namespace {

constexpr int DesignWidth = 960;
constexpr int DesignHeight = 630;
constexpr int DayGridTop = 86;
constexpr int DayGridBottomMargin = DesignHeight - (86 + 536);
const QColor LockedColour(200, 200, 200); // the system colour of scroll bars

const QString SelectEmployeeFirst = QStringLiteral("Please select an employee first.");
const QString SelectDayFirst = QStringLiteral("Please select a day first.");

// Runs a handler; an error goes to the application's error box instead of
// escaping into the event loop.
template <class F> void guarded(F&& f) {
    try {
        f();
    } catch (...) {
        reportUnhandledError(errorText(std::current_exception()));
    }
}

// Enables a button again when the handler that disabled it ends, however it ends.
class DisabledWhile {
public:
    explicit DisabledWhile(QWidget* w) : m_widget(w) { m_widget->setEnabled(false); }
    ~DisabledWhile() {
        if (m_widget)
            m_widget->setEnabled(true);
    }
    DisabledWhile(const DisabledWhile&) = delete;
    DisabledWhile& operator=(const DisabledWhile&) = delete;

private:
    QPointer<QWidget> m_widget;
};

// A bold caption ending just left of its control.
QLabel* boldLabel(QWidget* parent, const QString& text, int controlLeft, int top) {
    auto* label = new QLabel(text, parent);
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    label->adjustSize();
    label->move(controlLeft - label->width() - 4, top);
    return label;
}

} // namespace

TDataTodtr_Frames::TDataTodtr_Frames(FrameContext& context, QWidget* parent)
    : TCustomInfoFrame(context, parent) {
    setObjectName(QStringLiteral("DataTodtr_Frames"));
    buildControls();
}

TDataTodtr_Frames::~TDataTodtr_Frames() = default;

DtrReview TDataTodtr_Frames::review() const {
    return DtrReview(m_context.db, m_context.session.userid);
}

void TDataTodtr_Frames::buildControls() {
    auto* scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);
    m_content = new QWidget(scroll);
    m_content->setObjectName(QStringLiteral("DataTodtrContent"));
    m_content->setMinimumSize(DesignWidth, DesignHeight);
    scroll->setWidget(m_content);
    m_content->installEventFilter(this);
    QWidget* c = m_content;

    boldLabel(c, QStringLiteral("Year"), 43, 27);
    sComboBox2 = new QComboBox(c);
    sComboBox2->setObjectName(QStringLiteral("sComboBox2"));
    sComboBox2->setGeometry(43, 24, 78, 21);
    boldLabel(c, QStringLiteral("Month"), 172, 27);
    sComboBox1 = new QComboBox(c);
    sComboBox1->setObjectName(QStringLiteral("sComboBox1"));
    sComboBox1->setGeometry(172, 24, 121, 21);
    sComboBox1->setPlaceholderText(QStringLiteral("Select Year"));
    sEdit1 = new QLineEdit(c);
    sEdit1->setObjectName(QStringLiteral("sEdit1"));
    sEdit1->setGeometry(309, 24, 257, 21);
    sEdit1->setPlaceholderText(QStringLiteral("Last or first name, then Enter"));
    sButton1 = new QPushButton(QStringLiteral("Generate"), c);
    sButton1->setObjectName(QStringLiteral("sButton1"));
    sButton1->setGeometry(572, 24, 75, 21);
    sButton1->setEnabled(false);

    boldLabel(c, QStringLiteral("Mode :"), 453, 54);
    sComboBox4 = new QComboBox(c);
    sComboBox4->setObjectName(QStringLiteral("sComboBox4"));
    sComboBox4->setGeometry(453, 51, 113, 21);
    sComboBox4->addItems(
        {QStringLiteral("Monthly"), QStringLiteral("First Quincena"), QStringLiteral("Second Quincena")});
    sComboBox4->setCurrentIndex(0);
    sSpeedButton2 = new QToolButton(c);
    sSpeedButton2->setObjectName(QStringLiteral("sSpeedButton2"));
    sSpeedButton2->setText(QStringLiteral("DTR Preview"));
    sSpeedButton2->setGeometry(572, 51, 75, 21);
    // The batch, every DTR of the picked employee's office, is in the button's
    // menu (press and hold, or right-click), which keeps the button's size.
    auto* reports = new QMenu(sSpeedButton2);
    QAction* printAll = reports->addAction(QStringLiteral("Print all"));
    printAll->setObjectName(QStringLiteral("printAllAction"));
    connect(printAll, &QAction::triggered, this, [this] {
        DtrReportActions::printAll(this, m_context.db, sSpeedButton2, {m_empids, m_dates, modeIndex()});
    });
    sSpeedButton2->setMenu(reports);
    sSpeedButton2->setPopupMode(QToolButton::DelayedPopup);
    sSpeedButton2->addAction(printAll);
    sSpeedButton2->setContextMenuPolicy(Qt::ActionsContextMenu);
    sSpeedButton2->setToolTip(
        QStringLiteral("Preview this DTR. Press and hold, or right-click, for \"Print all\": "
                       "the DTRs of every employee of this office."));

    sLabel1 = new QLabel(QStringLiteral("___"), c);
    sLabel1->setObjectName(QStringLiteral("sLabel1"));
    QFont nameFont(QStringLiteral("Tahoma"));
    nameFont.setPixelSize(19);
    sLabel1->setFont(nameFont);
    sLabel1->setGeometry(13, 57, 390, 24);

    sDBGrid2 = new QTableView(c);
    sDBGrid2->setObjectName(QStringLiteral("sDBGrid2"));
    sDBGrid2->setGeometry(13, DayGridTop, 634, 536);
    styleDtrGrid(*sDBGrid2);
    sDBGrid2->setModel(&m_context.db.DTR_Details.model());
    m_context.db.DTR_Details.model().setStyler([](const QueryResult& r, int row, int role) -> QVariant {
        if (role == Qt::BackgroundRole && r.columnIndex(QStringLiteral("att_lock")) >= 0 &&
            r.toInt(row, QStringLiteral("att_lock")) == 1)
            return LockedColour;
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
        return {};
    });

    sPanel1 = new QFrame(c);
    sPanel1->setObjectName(QStringLiteral("sPanel1"));
    static_cast<QFrame*>(sPanel1)->setFrameShape(QFrame::VLine);
    static_cast<QFrame*>(sPanel1)->setFrameShadow(QFrame::Sunken);
    sPanel1->setGeometry(653, 24, 2, 600);

    const auto verifierEdit = [c](const QString& name, const QString& hint, int top) {
        auto* e = new QLineEdit(c);
        e->setObjectName(name);
        e->setPlaceholderText(hint);
        e->setToolTip(hint);
        e->setGeometry(661, top, 238, 21);
        return e;
    };
    sEdit8 = verifierEdit(QStringLiteral("sEdit8"), QStringLiteral("Fullname"), 19);
    sEdit9 = verifierEdit(QStringLiteral("sEdit9"), QStringLiteral("Position"), 40);
    sEdit10 = verifierEdit(QStringLiteral("sEdit10"), QStringLiteral("Designation"), 61);
    sSpeedButton3 = new QToolButton(c);
    sSpeedButton3->setObjectName(QStringLiteral("sSpeedButton3"));
    sSpeedButton3->setGeometry(905, 19, 46, 63);
    sSpeedButton3->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    sSpeedButton3->setIconSize(QSize(32, 32));
    sSpeedButton3->setToolTip(QStringLiteral("Save the verifier"));

    sDBGrid3 = new QTableView(c);
    sDBGrid3->setObjectName(QStringLiteral("sDBGrid3"));
    sDBGrid3->setGeometry(661, 88, 290, 132);
    styleDtrGrid(*sDBGrid3);
    sDBGrid3->setModel(&m_context.db.detailed_dtr.model());
    m_context.db.detailed_dtr.model().setCaption(QStringLiteral("checks"), QStringLiteral("TIME"));
    m_context.db.detailed_dtr.model().setCaption(QStringLiteral("check_mode"), QStringLiteral("TYPE"));

    sButton2 = new QPushButton(QStringLiteral("Absent"), c);
    sButton2->setObjectName(QStringLiteral("sButton2"));
    sButton2->setGeometry(661, 226, 66, 25);
    sButton4 = new QPushButton(QStringLiteral("Off"), c);
    sButton4->setObjectName(QStringLiteral("sButton4"));
    sButton4->setGeometry(733, 226, 52, 25);
    boldLabel(c, QStringLiteral("Tardy"), 840, 231);
    sEdit2 = new QLineEdit(c);
    sEdit2->setObjectName(QStringLiteral("sEdit2"));
    sEdit2->setGeometry(840, 228, 65, 21);
    // Digits only (typed or pasted): no signs, no decimal point.
    sEdit2->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,9}")), sEdit2));
    sButton3 = new QPushButton(QStringLiteral("save"), c);
    sButton3->setObjectName(QStringLiteral("sButton3"));
    sButton3->setGeometry(911, 226, 40, 25);
    setTardyInput(false);

    sGroupBox1 = new QGroupBox(QStringLiteral("JO PAYROLL"), c);
    sGroupBox1->setObjectName(QStringLiteral("sGroupBox1"));
    sGroupBox1->setGeometry(661, 267, 290, 357);

    // The search result lies over the day list while it is shown.
    sDBGrid1 = new QTableView(c);
    sDBGrid1->setObjectName(QStringLiteral("sDBGrid1"));
    sDBGrid1->setGeometry(309, 45, 320, 132);
    styleDtrGrid(*sDBGrid1, false);
    sDBGrid1->setModel(&m_context.db.Searchdtrname.model());
    sDBGrid1->setVisible(false);
    sDBGrid1->raise();

    checkinout_forms = new Tcheckinout_forms(m_context, this);

    for (QComboBox* box : {sComboBox1, sComboBox2, sComboBox4})
        box->installEventFilter(this);
    connect(sComboBox2, &QComboBox::activated, this, &TDataTodtr_Frames::sComboBox2Click);
    connect(sComboBox1, &QComboBox::activated, this, &TDataTodtr_Frames::sComboBox1Click);
    connect(sEdit1, &QLineEdit::returnPressed, this, &TDataTodtr_Frames::sEdit1Search);
    connect(sDBGrid1, &QTableView::doubleClicked, this, &TDataTodtr_Frames::sDBGrid1DblClick);
    connect(sDBGrid2, &QTableView::clicked, this, &TDataTodtr_Frames::sDBGrid2CellClick);
    connect(sDBGrid3, &QTableView::clicked, this, &TDataTodtr_Frames::sDBGrid3CellClick);
    connect(sButton1, &QPushButton::clicked, this, &TDataTodtr_Frames::sButton1Click);
    connect(sButton2, &QPushButton::clicked, this, &TDataTodtr_Frames::sButton2Click);
    connect(sButton4, &QPushButton::clicked, this, &TDataTodtr_Frames::sButton4Click);
    connect(sButton3, &QPushButton::clicked, this, &TDataTodtr_Frames::sButton3Click);
    connect(sSpeedButton3, &QToolButton::clicked, this, &TDataTodtr_Frames::sSpeedButton3Click);
    connect(sSpeedButton2, &QToolButton::clicked, this, &TDataTodtr_Frames::sSpeedButton2Click);
    connect(checkinout_forms, &Tcheckinout_forms::relabelled, this, [this] {
        guarded([&] {
            refreshDays();
            refreshPunches({});
        });
    });
}

bool TDataTodtr_Frames::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_content && event->type() == QEvent::Resize) {
        // The day list keeps its left, top and bottom edges.
        sDBGrid2->resize(sDBGrid2->width(),
                         std::max(100, m_content->height() - DayGridTop - DayGridBottomMargin));
    } else if (event->type() == QEvent::KeyPress && qobject_cast<QComboBox*>(watched)) {
        // The lists can only be picked, not typed into.
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!key->text().isEmpty() && key->text().at(0).isPrint())
            return true;
    }
    return TCustomInfoFrame::eventFilter(watched, event);
}

void TDataTodtr_Frames::AfterCreation() {
    setCursor(Qt::BusyCursor);
    auto years = std::make_shared<QStringList>();
    DataCon& db = m_context.db;
    const QString userid = m_context.session.userid;
    runTask(
        this, [&db, userid, years] { *years = DtrReview(db, userid).yearsWithPunches(); },
        [this, years] {
            guarded([&] {
                sComboBox2->clear();
                sComboBox2->addItems(*years);
                sComboBox2->setCurrentIndex(-1);
                m_context.db.DTR_Details.setParam(QStringLiteral("value"), QVariant());
                refreshDays();
                refreshPunches({});
            });
            unsetCursor();
        });
}

int TDataTodtr_Frames::modeIndex() const {
    return sComboBox4->currentIndex();
}

void TDataTodtr_Frames::clearEmployee() {
    m_empids.clear();
    m_bioids.clear();
    sLabel1->setText(QStringLiteral("___"));
    sButton1->setEnabled(false);
    sDBGrid1->setVisible(false);
    sEdit8->clear();
    sEdit9->clear();
    sEdit10->clear();
    setTardyInput(false);
    m_context.db.DTR_Details.setParam(QStringLiteral("value"), QVariant());
    m_context.db.detailed_dtr.setParam(QStringLiteral("value"), QVariant());
}

void TDataTodtr_Frames::sComboBox2Click() {
    guarded([&] {
        {
            const QSignalBlocker block(sComboBox1);
            sComboBox1->clear();
            sComboBox1->addItems(DtrMonth::names());
            sComboBox1->setCurrentIndex(-1);
        }
        // A new year: the month and employee are picked again.
        m_month = {};
        m_years = sComboBox2->currentText();
        m_months.clear();
        m_dates.clear();
        m_lastDay.clear();
        clearEmployee();
        refreshDays();
        refreshPunches({});
    });
}

void TDataTodtr_Frames::sComboBox1Click() {
    guarded([&] {
        const QString year = sComboBox2->currentText();
        if (year.isEmpty())
            return;
        const DtrMonth picked = DtrMonth::fromName(year.toInt(), sComboBox1->currentText());
        if (!picked.isValid())
            return;
        m_month = picked;
        m_dates = picked.first().toString(QStringLiteral("yyyy-MM-dd"));
        m_years = picked.first().toString(QStringLiteral("yyyy"));
        m_months = picked.first().toString(QStringLiteral("MM"));
        m_lastDay = picked.last().toString(QStringLiteral("yyyy-MM-dd"));
        clearEmployee();
        refreshDays();
        refreshPunches({});
    });
}

void TDataTodtr_Frames::sEdit1Search() {
    guarded([&] {
        if (m_dates.isEmpty())
            return; // no month yet
        NamedQuery& search = m_context.db.Searchdtrname;
        search.setParam(QStringLiteral("value"), sEdit1->text() + QLatin1Char('%'));
        search.setParam(QStringLiteral("date"), m_dates);
        search.open(m_context.db);
        layoutDtrColumns(*sDBGrid1,
                         {QStringLiteral("employeeid"), QStringLiteral("bioid"), QStringLiteral("mname")},
                         {{QStringLiteral("lname"), 130},
                          {QStringLiteral("fname"), 130},
                          {QStringLiteral("suffixs"), 40}});
        sDBGrid1->setVisible(search.model().rowCount() > 0);
        sDBGrid1->raise();
    });
}

void TDataTodtr_Frames::sDBGrid1DblClick(const QModelIndex& index) {
    guarded([&] {
        const QueryModel& found = m_context.db.Searchdtrname.model();
        const int row = index.row();
        if (row < 0 || row >= found.rowCount() || m_dates.isEmpty())
            return;
        if (found.text(row, QStringLiteral("employeeid")).isEmpty()) {
            showInformation(
                this,
                QStringLiteral("%1, %2 has no employee id in the personnel register, so no time "
                               "record can be made.")
                    .arg(found.text(row, QStringLiteral("lname")), found.text(row, QStringLiteral("fname"))));
            return;
        }
        m_bioids = found.text(row, QStringLiteral("bioid"));
        m_empids = found.text(row, QStringLiteral("employeeid"));
        const QString name = found.text(row, QStringLiteral("lname")) + QStringLiteral(", ") +
                             found.text(row, QStringLiteral("fname")) + QLatin1Char(' ') +
                             found.text(row, QStringLiteral("mname")).left(1) + QStringLiteral(". ") +
                             found.text(row, QStringLiteral("suffixs"));
        sDBGrid1->setVisible(false);
        sEdit1->clear();
        sLabel1->setText(name);
        m_context.db.DTR_Details.setParam(QStringLiteral("value"), m_empids);
        m_context.db.DTR_Details.setParam(QStringLiteral("dates"), m_dates);
        refreshDays();
        sButton1->setEnabled(!m_generating);
        m_context.db.detailed_dtr.setParam(QStringLiteral("value"), m_bioids);
        refreshPunches({});
        setTardyInput(false);
        const DtrVerifier v = review().verifier(m_empids.toInt());
        sEdit8->setText(v.fullname);
        sEdit9->setText(v.position);
        sEdit10->setText(v.designation);
        Q_EMIT employeeChanged();
    });
}

QString TDataTodtr_Frames::dayText(int row, const char* column) const {
    return m_context.db.DTR_Details.model().text(row, QString::fromLatin1(column));
}

int TDataTodtr_Frames::currentDayRow() const {
    const QModelIndex current = sDBGrid2->currentIndex();
    if (!current.isValid() || current.row() >= m_context.db.DTR_Details.model().rowCount())
        return -1;
    return current.row();
}

QDate TDataTodtr_Frames::currentDay() const {
    const int row = currentDayRow();
    return row < 0 ? QDate() : QDate::fromString(dayText(row, "dates"), QStringLiteral("yyyy-MM-dd"));
}

void TDataTodtr_Frames::refreshDays() {
    const QString keep = currentDayRow() >= 0 ? dayText(currentDayRow(), "dates") : QString();
    m_context.db.DTR_Details.open(m_context.db);
    layoutDtrColumns(*sDBGrid2, {QStringLiteral("dates"), QStringLiteral("att_lock")},
                     {{QStringLiteral("DAY"), 100},
                      {QStringLiteral("WEEKEND"), 110},
                      {QStringLiteral("AM-IN"), 84},
                      {QStringLiteral("AM-OUT"), 84},
                      {QStringLiteral("PM-IN"), 84},
                      {QStringLiteral("PM-OUT"), 84},
                      {QStringLiteral("TARDY"), 60}});
    // The day the clerk was on stays current across a refresh.
    const QueryModel& days = m_context.db.DTR_Details.model();
    for (int row = 0; !keep.isEmpty() && row < days.rowCount(); ++row)
        if (days.text(row, QStringLiteral("dates")) == keep) {
            sDBGrid2->setCurrentIndex(days.index(row, 0));
            break;
        }
}

void TDataTodtr_Frames::refreshPunches(const QString& day) {
    NamedQuery& punches = m_context.db.detailed_dtr;
    punches.setParam(QStringLiteral("dates"), day.isEmpty() ? QVariant() : QVariant(day));
    punches.open(m_context.db);
    layoutDtrColumns(*sDBGrid3, {QStringLiteral("att_readid")},
                     {{QStringLiteral("checks"), 130}, {QStringLiteral("check_mode"), 130}});
}

void TDataTodtr_Frames::setTardyInput(bool enabled) {
    if (!enabled)
        sEdit2->clear();
    sEdit2->setEnabled(enabled);
    sButton3->setEnabled(enabled);
}

void TDataTodtr_Frames::sDBGrid2CellClick(const QModelIndex& index) {
    guarded([&] {
        const int row = index.row();
        if (row < 0 || row >= m_context.db.DTR_Details.model().rowCount())
            return;
        const QString lock = dayText(row, "att_lock");
        if (!lock.isEmpty() && lock != QLatin1String("0")) {
            refreshPunches({}); // a posted day shows no punches and takes no minutes
            setTardyInput(false);
            return;
        }
        refreshPunches(dayText(row, "dates"));
        const bool allTimes = !dayText(row, "AM-IN").isEmpty() && !dayText(row, "AM-OUT").isEmpty() &&
                              !dayText(row, "PM-IN").isEmpty() && !dayText(row, "PM-OUT").isEmpty();
        setTardyInput(dayText(row, "WEEKEND").isEmpty() && !allTimes);
    });
}

void TDataTodtr_Frames::sDBGrid3CellClick(const QModelIndex& index) {
    guarded([&] {
        const QueryModel& punches = m_context.db.detailed_dtr.model();
        const int row = index.row();
        const QString id = punches.text(row, QStringLiteral("att_readid"));
        if (id.isEmpty() || !employeePicked())
            return;
        const bool isCheckIn = punches.text(row, QStringLiteral("check_mode")) == QLatin1String("check-in");
        checkinout_forms->sSpeedButton1->setEnabled(!isCheckIn);
        checkinout_forms->sSpeedButton2->setEnabled(isCheckIn);
        checkinout_forms->ids = id;
        checkinout_forms->empid = m_empids;
        checkinout_forms->dates = currentDayRow() >= 0 ? dayText(currentDayRow(), "dates")
                                                       : m_context.db.detailed_dtr.params()
                                                             .named(QStringLiteral("dates"))
                                                             .value_or(QVariant())
                                                             .toString();
        checkinout_forms->jj = [this] { sButton1Click(); };
        checkinout_forms->popupAt(QCursor::pos());
    });
}

void TDataTodtr_Frames::sButton1Click() {
    if (!employeePicked() || !m_month.isValid())
        return;
    if (m_generating) {
        m_rerun = true; // runs once, right after the running one
        return;
    }
    startGeneration();
}

void TDataTodtr_Frames::startGeneration() {
    m_generating = true;
    m_rerun = false;
    sButton1->setEnabled(false);
    sDBGrid2->setEnabled(false);
    setCursor(Qt::BusyCursor);
    DataCon& db = m_context.db;
    const int employee = m_empids.toInt();
    const int bioid = m_bioids.toInt();
    const DtrMonth month = m_month;
    runTask(
        this, [&db, employee, bioid, month] { DtrGenerator(db).generateMonth(employee, bioid, month); },
        [this] {
            m_generating = false;
            if (m_rerun && employeePicked()) {
                startGeneration();
                return;
            }
            m_rerun = false;
            guarded([&] { refreshDays(); });
            sDBGrid2->setEnabled(true);
            sButton1->setEnabled(employeePicked());
            unsetCursor();
            Q_EMIT generationFinished();
        });
}

bool TDataTodtr_Frames::requireEmployee() {
    if (employeePicked())
        return true;
    showInformation(this, SelectEmployeeFirst);
    return false;
}

void TDataTodtr_Frames::toggleMark(DayMark mark, QPushButton* button) {
    if (!requireEmployee())
        return;
    const int row = currentDayRow();
    if (row < 0) {
        showInformation(this, SelectDayFirst);
        return;
    }
    const QString lock = dayText(row, "att_lock");
    if (!lock.isEmpty() && lock != QLatin1String("0"))
        return; // a posted day is left alone
    const DisabledWhile busy(button);
    guarded([&] {
        const QString shown = dayText(row, "WEEKEND");
        const bool noTimes = dayText(row, "AM-IN").isEmpty() && dayText(row, "AM-OUT").isEmpty() &&
                             dayText(row, "PM-IN").isEmpty() && dayText(row, "PM-OUT").isEmpty();
        if (!noTimes || (!shown.isEmpty() && shown != DtrReview::markText(mark)))
            return;
        if (review().toggleMark(mark, m_empids.toInt(), currentDay()))
            sButton1Click();
    });
}

void TDataTodtr_Frames::sButton2Click() {
    toggleMark(DayMark::Absent, sButton2);
}

void TDataTodtr_Frames::sButton4Click() {
    toggleMark(DayMark::Off, sButton4);
}

void TDataTodtr_Frames::sButton3Click() {
    if (!requireEmployee())
        return;
    const QString text = sEdit2->text().trimmed();
    if (text.isEmpty())
        return;
    const QDate day = currentDay();
    if (!day.isValid()) {
        showInformation(this, SelectDayFirst);
        return;
    }
    guarded([&] {
        bool ok = false;
        const int minutes = text.toInt(&ok);
        if (!ok)
            throw UserError(QStringLiteral("The minutes to add must be a whole number."));
        const bool saved = review().setAddTardy(m_empids.toInt(), day, minutes);
        setTardyInput(false);
        if (saved)
            sButton1Click();
    });
}

void TDataTodtr_Frames::sSpeedButton3Click() {
    if (!requireEmployee())
        return;
    const DisabledWhile busy(sSpeedButton3);
    guarded([&] {
        review().saveVerifier(m_empids.toInt(), {sEdit8->text(), sEdit9->text(), sEdit10->text()});
    });
}

void TDataTodtr_Frames::sSpeedButton2Click() {
    DtrReportActions::preview(this, m_context.db, sSpeedButton2, {m_empids, m_dates, modeIndex()});
}

} // namespace orv
