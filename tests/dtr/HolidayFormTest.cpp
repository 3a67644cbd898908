#include "DtrTestData.h"

#include "IniFile.h"
#include "data/Dates.h"
#include "data/Session.h"
#include "dtr/HolidayForm.h"
#include "fixtures/ScriptedDialogs.h"
#include "fixtures/TestDatabase.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace orv;
using namespace orv::test;

namespace {

class HolidayFormTest : public DatabaseTest {
protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        m_ini = std::make_unique<IniFile>(m_dir.filePath("System_Control.ini"));
        m_context = std::make_unique<FrameContext>(FrameContext{db(), m_session, *m_ini});
        m_form = std::make_unique<THoliday_forms>(*m_context);
        m_form->show();
    }
    void TearDown() override {
        m_form.reset();
        DatabaseTest::TearDown();
    }
    QString day(int month, int d) const { return toShortDate(QDate(m_year, month, d)); }
    void save(const QString& date) {
        m_form->sDateEdit1->setText(date);
        m_form->sButton1->click();
    }
    QStringList stored() {
        const QueryResult r = db().query("SELECT to_char(hol_date, 'MM-DD') || ' ' || hol_descrip AS h FROM "
                                         "holidays ORDER BY hol_date");
        QStringList out;
        for (int i = 0; i < r.rowCount(); ++i)
            out << r.text(i, "h");
        return out;
    }
    void listMonth(const QString& name) {
        m_form->sComboBox1->setCurrentIndex(m_form->sComboBox1->findText(name));
    }

    const int m_year = QDate::currentDate().year();
    QTemporaryDir m_dir;
    std::unique_ptr<IniFile> m_ini;
    Session m_session;
    std::unique_ptr<FrameContext> m_context;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<THoliday_forms> m_form;
};

TEST_F(HolidayFormTest, DescriptionsFollowTheCheckBoxes) {
    THoliday_forms& f = *m_form;
    EXPECT_EQ(f.windowTitle(), "Holidays");
    EXPECT_EQ(f.sComboBox1->count(), 12);
    EXPECT_EQ(f.sDBGrid1->model()->rowCount(), 0);
    EXPECT_TRUE(f.sEdit1->isReadOnly());

    save(day(12, 25)); // "Regular Holiday" checked
    f.sCheckBox1->click();
    EXPECT_EQ(f.sEdit1->text(), "Special Holiday");
    save(day(12, 24));
    f.sCheckBox2->click();
    EXPECT_FALSE(f.sEdit1->isReadOnly());
    EXPECT_TRUE(f.sEdit1->text().isEmpty());
    save(day(12, 26)); // an empty description saves nothing
    QTest::keyClicks(f.sEdit1, "Town Fiesta");
    save(day(12, 27));
    EXPECT_FALSE(f.sCheckBox2->isChecked());
    EXPECT_TRUE(f.sEdit1->isReadOnly());
    EXPECT_EQ(f.sEdit1->text(), "Special Holiday");
    EXPECT_TRUE(f.sDateEdit1->text().isEmpty());
    EXPECT_EQ(stored(), (QStringList{"12-24 Special Holiday", "12-25 Regular Holiday", "12-27 Town Fiesta"}));
    EXPECT_TRUE(m_dialogs.shown().empty());
}

TEST_F(HolidayFormTest, ADuplicateOrABadDateIsRefusedWithAMessage) {
    save(day(6, 12));
    save(day(6, 12));
    save("13/45/2024");
    save(""); // no date: nothing, quietly
    EXPECT_EQ(stored(), QStringList{"06-12 Regular Holiday"});
    ASSERT_EQ(m_dialogs.shown().size(), 2u);
    EXPECT_EQ(m_dialogs.texts().at(0), "A holiday is already recorded on that date.");
    EXPECT_TRUE(m_dialogs.texts().at(1).contains("MM/dd/yyyy"));
    EXPECT_TRUE(m_form->sButton1->isEnabled());
}

TEST_F(HolidayFormTest, AMonthIsListedAndTheSelectedHolidayDeleted) {
    addHoliday(db(), QDate(m_year, 4, 9).toString("yyyy-MM-dd"), "Araw ng Kagitingan");
    addHoliday(db(), QDate(m_year, 4, 18).toString("yyyy-MM-dd"), "Special Holiday");
    addHoliday(db(), QDate(m_year + 1, 4, 9).toString("yyyy-MM-dd"), "Next year");
    THoliday_forms& f = *m_form;
    f.sSpeedButton1->click(); // nothing listed: nothing deleted
    listMonth("April");
    EXPECT_EQ(f.dates(), QDate(m_year, 4, 1).toString("yyyy-MM-dd"));
    QAbstractItemModel* model = f.sDBGrid1->model();
    ASSERT_EQ(model->rowCount(), 2);
    EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), "Day");
    EXPECT_EQ(model->data(model->index(0, 0)).toString(), QStringLiteral("09, %1").arg(m_year));
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), "Type");
    EXPECT_TRUE(f.sDBGrid1->isColumnHidden(2));
    save(toShortDate(QDate(m_year, 4, 30)));
    EXPECT_EQ(model->rowCount(), 3); // the new one shows at once

    f.sDBGrid1->setCurrentIndex(model->index(0, 0));
    f.sSpeedButton1->click();
    EXPECT_EQ(model->rowCount(), 2);
    EXPECT_EQ(stored().size(), 3);
    const QueryResult trail = db().query("SELECT action, old_value FROM audit_log ORDER BY audit_logid");
    ASSERT_EQ(trail.rowCount(), 2);
    EXPECT_EQ(trail.text(1, "action"), "holiday deleted");
    EXPECT_EQ(trail.text(1, "old_value"), "Araw ng Kagitingan");
}

} // namespace
