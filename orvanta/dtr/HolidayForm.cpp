#include "HolidayForm.h"

#include "DtrGridLook.h"
#include "DtrMonth.h"
#include "HolidayCalendar.h"

#include "data/Background.h"
#include "data/DataCon.h"
#include "data/Dates.h"
#include "data/Errors.h"
#include "data/Session.h"
#include "shell/Dialogs.h"

#include <QAction>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QToolButton>

namespace orv {

namespace {

template <class F> void guarded(F&& f) {
    try {
        f();
    } catch (...) {
        reportUnhandledError(errorText(std::current_exception()));
    }
}

QLabel* boldLabel(QWidget* parent, const QString& text, int right, int top) {
    auto* label = new QLabel(text, parent);
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    label->adjustSize();
    label->move(right - label->width() - 4, top);
    return label;
}

} // namespace

THoliday_forms::THoliday_forms(FrameContext& context, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      m_context(context) {
    setObjectName(QStringLiteral("Holiday_forms"));
    setWindowTitle(QStringLiteral("Holidays"));
    setFixedSize(411, 406);

    sGroupBox1 = new QGroupBox(QStringLiteral("Input"), this);
    sGroupBox1->setObjectName(QStringLiteral("sGroupBox1"));
    sGroupBox1->setGeometry(8, 8, 395, 105);
    boldLabel(sGroupBox1, QStringLiteral("Date :"), 59, 25);
    sDateEdit1 = new QLineEdit(sGroupBox1);
    sDateEdit1->setObjectName(QStringLiteral("sDateEdit1"));
    sDateEdit1->setGeometry(59, 22, 86 + 22, 21);
    sDateEdit1->setMaxLength(10);
    sDateEdit1->setPlaceholderText(ShortDateFormat);
    QAction* calendar = sDateEdit1->addAction(style()->standardIcon(QStyle::SP_FileDialogDetailedView),
                                              QLineEdit::TrailingPosition);
    calendar->setToolTip(QStringLiteral("Pick the date"));
    connect(calendar, &QAction::triggered, this, &THoliday_forms::pickDate);

    sCheckBox1 = new QCheckBox(HolidayCalendar::Regular, sGroupBox1);
    sCheckBox1->setObjectName(QStringLiteral("sCheckBox1"));
    sCheckBox1->setGeometry(14, 49, 130, 17);
    sCheckBox1->setChecked(true);
    sCheckBox2 = new QCheckBox(QStringLiteral("Custom"), sGroupBox1);
    sCheckBox2->setObjectName(QStringLiteral("sCheckBox2"));
    sCheckBox2->setGeometry(14, 72, 66, 17);
    sEdit1 = new QLineEdit(HolidayCalendar::Regular, sGroupBox1);
    sEdit1->setObjectName(QStringLiteral("sEdit1"));
    sEdit1->setGeometry(83, 70, 188, 21);
    sEdit1->setReadOnly(true);
    sEdit1->setMaxLength(HolidayCalendar::DescriptionLength);
    sButton1 = new QPushButton(QStringLiteral("Save"), sGroupBox1);
    sButton1->setObjectName(QStringLiteral("sButton1"));
    sButton1->setGeometry(277, 70, 75, 21);

    boldLabel(this, QStringLiteral("Month"), 67, 128);
    sComboBox1 = new QComboBox(this);
    sComboBox1->setObjectName(QStringLiteral("sComboBox1"));
    sComboBox1->setGeometry(67, 125, 106, 21);
    sSpeedButton1 = new QToolButton(this);
    sSpeedButton1->setObjectName(QStringLiteral("sSpeedButton1"));
    sSpeedButton1->setGeometry(358, 124, 19, 22);
    sSpeedButton1->setIcon(style()->standardIcon(QStyle::SP_TrashIcon));
    sSpeedButton1->setToolTip(QStringLiteral("Delete the selected holiday"));
    sDBGrid1 = new QTableView(this);
    sDBGrid1->setObjectName(QStringLiteral("sDBGrid1"));
    sDBGrid1->setGeometry(22, 152, 355, 233);
    styleDtrGrid(*sDBGrid1);
    QueryModel& list = m_context.db.Holidays.model();
    list.setCaption(QStringLiteral("hol_date"), QStringLiteral("Day"));
    list.setCaption(QStringLiteral("hol_descrip"), QStringLiteral("Type"));
    sDBGrid1->setModel(&list);

    connect(sComboBox1, &QComboBox::currentIndexChanged, this, &THoliday_forms::sComboBox1Change);
    connect(sCheckBox1, &QCheckBox::clicked, this, &THoliday_forms::sCheckBox1Click);
    connect(sCheckBox2, &QCheckBox::clicked, this, &THoliday_forms::sCheckBox2Click);
    connect(sButton1, &QPushButton::clicked, this, &THoliday_forms::sButton1Click);
    connect(sSpeedButton1, &QToolButton::clicked, this, &THoliday_forms::sSpeedButton1Click);
}

void THoliday_forms::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormActivate();
}

void THoliday_forms::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && isVisible())
        FormActivate();
}

void THoliday_forms::FormActivate() {
    guarded([&] {
        {
            const QSignalBlocker block(sComboBox1);
            sComboBox1->clear();
            sComboBox1->addItems(DtrMonth::names());
            sComboBox1->setCurrentIndex(-1);
        }
        m_dates.clear();
        m_context.db.Holidays.setParam(QStringLiteral("value"), QVariant());
        refreshList();
    });
}

void THoliday_forms::refreshList() {
    m_context.db.Holidays.open(m_context.db);
    layoutDtrColumns(*sDBGrid1, {QStringLiteral("holidaysid")},
                     {{QStringLiteral("hol_date"), 100}, {QStringLiteral("hol_descrip"), 220}});
}

void THoliday_forms::sComboBox1Change() {
    guarded([&] {
        const DtrMonth month = DtrMonth::fromName(QDate::currentDate().year(), sComboBox1->currentText());
        if (!month.isValid())
            return;
        m_dates = toSqlDate(month.first());
        m_context.db.Holidays.setParam(QStringLiteral("value"), m_dates);
        refreshList();
    });
}

void THoliday_forms::sCheckBox1Click() {
    sEdit1->setText(sCheckBox1->isChecked() ? HolidayCalendar::Regular : HolidayCalendar::Special);
}

void THoliday_forms::sCheckBox2Click() {
    if (sCheckBox2->isChecked()) {
        sEdit1->clear();
        sEdit1->setReadOnly(false);
        sEdit1->setFocus();
    } else {
        sEdit1->setReadOnly(true);
        sCheckBox1Click();
    }
}

void THoliday_forms::sButton1Click() {
    sButton1->setEnabled(false);
    guarded([&] {
        const QString typed = sDateEdit1->text().trimmed();
        if (sEdit1->text().trimmed().isEmpty() || typed.isEmpty())
            return;
        const QDate date = fromShortDate(typed);
        if (!date.isValid()) {
            showInformation(
                this,
                QStringLiteral("\"%1\" is not a date: please enter it as %2.").arg(typed, ShortDateFormat));
            return;
        }
        const HolidayCalendar::AddResult added =
            HolidayCalendar(m_context.db, m_context.session.userid).add(date, sEdit1->text());
        if (added == HolidayCalendar::AddResult::DateTaken) {
            showInformation(this, QStringLiteral("A holiday is already recorded on that date."));
            return;
        }
        sDateEdit1->clear();
        if (sCheckBox2->isChecked()) {
            sCheckBox2->setChecked(false);
            sCheckBox2Click();
        }
        refreshList();
    });
    sButton1->setEnabled(true);
}

void THoliday_forms::sSpeedButton1Click() {
    const QModelIndex current = sDBGrid1->currentIndex();
    const QString id = current.isValid()
                           ? m_context.db.Holidays.model().text(current.row(), QStringLiteral("holidaysid"))
                           : QString();
    if (id.isEmpty())
        return;
    sSpeedButton1->setEnabled(false);
    guarded([&] {
        HolidayCalendar(m_context.db, m_context.session.userid).remove(id.toLongLong());
        refreshList();
    });
    sSpeedButton1->setEnabled(true);
}

void THoliday_forms::pickDate() {
    auto* popup = new QCalendarWidget(this);
    popup->setWindowFlags(Qt::Popup);
    popup->setAttribute(Qt::WA_DeleteOnClose);
    const QDate typed = fromShortDate(sDateEdit1->text());
    popup->setSelectedDate(typed.isValid() ? typed : QDate::currentDate());
    connect(popup, &QCalendarWidget::clicked, this, [this, popup](const QDate& d) {
        sDateEdit1->setText(toShortDate(d));
        popup->close();
    });
    popup->move(sDateEdit1->mapToGlobal(QPoint(0, sDateEdit1->height())));
    popup->show();
}

} // namespace orv
