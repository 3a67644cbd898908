// The printed DTR as a reader of the PDF sees it (poppler's pdftotext).
#include "PdfText.h"
#include "ReportFixture.h"

#include "data/Errors.h"
#include "dtr/report/DtrReportLoader.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

using namespace orv;
using namespace orv::test;

namespace {

const QDate April(2024, 4, 1); // 30 days; the 1st is a Monday, the 6th a Saturday

// Day numbers ("1." ..) that start the lines of a copy, in order.
std::vector<int> dayNumbers(const QStringList& lines) {
    static const QRegularExpression number(QStringLiteral("^(\\d{1,2})\\.(\\s|$)"));
    std::vector<int> out;
    for (const QString& l : lines) {
        const auto m = number.match(l);
        if (m.hasMatch())
            out.push_back(m.captured(1).toInt());
    }
    return out;
}

// pdftotext keeps the layout by columns of characters, which loses the
// narrow spaces of the 6-point closing line; compare without blanks.
QString squeezed(QString s) {
    return s.remove(QRegularExpression("[ \t]"));
}
const QString ClosingLine = QString("x-").repeated(23) + "x";

std::vector<int> range(int from, int to) {
    std::vector<int> v;
    for (int i = from; i <= to; ++i)
        v.push_back(i);
    return v;
}

QString lineOf(const QStringList& lines, const QString& start) {
    for (const QString& l : lines) {
        if (l.startsWith(start))
            return l;
    }
    return {};
}

// The word nearest to the top of the page among those with this text and in this copy.
std::vector<PdfWord> wordsIn(const std::vector<PdfWord>& words, const QString& text, const QRectF& copy) {
    std::vector<PdfWord> out;
    for (const PdfWord& w : words) {
        if (w.text == text && copy.contains(w.box.center()))
            out.push_back(w);
    }
    return out;
}

class DtrReportPdf : public ReportTest {
protected:
    void SetUp() override {
        ReportTest::SetUp();
        addEmployee(1001, "Juan", "Reyes", "Santos");
        generateMonth(1001, April);
        setDay(1001, QDate(2024, 4, 2), "att_time1 = '2024-04-02 08:05', att_time3 = '2024-04-02 13:30'");
        setDay(1001, QDate(2024, 4, 3),
               "att_time1 = NULL, att_time2 = NULL, att_time3 = NULL, att_time4 = NULL, absents = 1, "
               "display_dtr = 'Absent'");
        setDay(1001, QDate(2024, 4, 9),
               "att_time1 = NULL, att_time2 = NULL, att_time3 = NULL, att_time4 = NULL, holidays = 1, "
               "display_dtr = 'Regular Holiday'");
        setDay(1001, QDate(2024, 4, 10),
               "att_time1 = NULL, att_time2 = NULL, att_time4 = NULL, "
               "att_time3 = '2024-04-10 13:00'");
    }
};

TEST_F(DtrReportPdf, MonthlyPrintsEveryDayInEachCopyThenTheClosingLine) {
    const DtrReport report = DtrReportLoader::load(db(), "1001", April, DtrReportMode::Monthly);
    const QString pdf = writePdf(report);
    EXPECT_EQ(pdfPageCount(pdf), 1);
    for (const QRectF& copy : {leftCopy(), rightCopy()}) {
        SCOPED_TRACE(copy.x() == 0 ? "left copy" : "right copy");
        const QStringList lines = pdfLines(pdf, 1, copy);
        EXPECT_EQ(dayNumbers(lines), range(1, 30));
        const qsizetype last = lines.indexOf(lineOf(lines, "30."));
        ASSERT_GE(last, 0);
        ASSERT_LT(last + 1, lines.size());
        EXPECT_TRUE(squeezed(lines.at(last + 1)).startsWith("x-x-x-x-x")) << lines.at(last + 1).toStdString();

        EXPECT_TRUE(
            lineOf(lines, "1.").contains(QRegularExpression("7:55 am\\s+12:01 pm\\s+12:55 pm\\s+5:05 pm")))
            << lineOf(lines, "1.").toStdString();
        EXPECT_TRUE(
            lineOf(lines, "2.").contains(QRegularExpression("8:05 am\\s+12:01 pm\\s+1:30 pm\\s+5:05 pm")))
            << lineOf(lines, "2.").toStdString();
        EXPECT_TRUE(lineOf(lines, "3.").contains("Absent"));
        EXPECT_TRUE(lineOf(lines, "6.").contains("Saturday"));
        EXPECT_TRUE(lineOf(lines, "7.").contains("Sunday"));
        EXPECT_TRUE(lineOf(lines, "9.").contains("Regular Holiday"));
        EXPECT_EQ(lines.filter("Juan R. Santos").size(), 2); // above "(Name)" and above "Employee"
        EXPECT_TRUE(lines.filter("For the month of").join(' ').contains("April 01 - 30, 2024"));
        // 22 weekdays, less the holiday; the absent day still counts.
        EXPECT_TRUE(
            lines.filter("Regular days").join(' ').contains(QRegularExpression("Regular days\\s+21$")));
        EXPECT_EQ(lines.filter("ROBERTO M. VILLANUEVA").size(), 1);
        EXPECT_EQ(lines.filter("Municipal Mayor").size(), 1);
        EXPECT_EQ(lines.filter("Head of Office").size(), 1);
        EXPECT_EQ(lines.filter("Civil Service Form No. 48").size(), 1);
        EXPECT_EQ(lines.filter("DAILY TIME RECORD").size(), 1);
        EXPECT_EQ(
            lines.filter("I certify on my honor that the above is a true and correct report of the").size(),
            1);
    }
}

TEST_F(DtrReportPdf, TextsStandInTheirColumns) {
    const QString pdf = writePdf(DtrReportLoader::load(db(), "1001", April, DtrReportMode::Monthly));
    const auto words = pdfWords(pdf);
    struct Case {
        QString word;
        int left;  // µm, left copy
        int right; // µm, right copy
    };
    const Case cases[] = {
        {"Saturday", 15346, 117636}, // a Saturday without punches: in the morning-arrival column
        {"Absent", 15346, 117636},
        {"1:00", 57150, 159440}, // only an afternoon arrival: the morning arrival stays empty
        {"8:05", 15346, 117636},
        {"1:30", 57150, 159440},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.word.toStdString());
        for (int copy = 0; copy < 2; ++copy) {
            const auto found = wordsIn(words, c.word, copy == 0 ? leftCopy() : rightCopy());
            ASSERT_FALSE(found.empty());
            for (const PdfWord& w : found)
                EXPECT_NEAR(w.box.left(), pointsFromMicrons(copy == 0 ? c.left : c.right), 1.0);
        }
    }
    // Row 10 (the afternoon-only day) has no word in the morning columns.
    const auto ten = wordsIn(words, "10.", leftCopy());
    ASSERT_EQ(ten.size(), 1u);
    for (const PdfWord& w : words) {
        if (qAbs(w.box.center().y() - ten.front().box.center().y()) < 2 &&
            w.box.left() > ten.front().box.right() && w.box.left() < pointsFromMicrons(54801))
            ADD_FAILURE() << "unexpected " << w.text.toStdString() << " in the morning columns of day 10";
    }
}

TEST_F(DtrReportPdf, HalfMonthsNumberOnlyTheirDays) {
    struct Case {
        DtrReportMode mode;
        int first, last;
        QString period;
        QString regularDays;
    };
    const Case cases[] = {
        {DtrReportMode::FirstQuincena, 1, 15, "April 01 - 15, 2024", "10"},
        {DtrReportMode::SecondQuincena, 16, 30, "April 16 - 30, 2024", "11"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.period.toStdString());
        const DtrReport report = DtrReportLoader::load(db(), "1001", April, c.mode);
        ASSERT_EQ(report.rows.size(), 30u); // one row per calendar day, the others blank
        for (int day = 1; day <= 30; ++day) {
            const DtrReportRow& row = report.rows[size_t(day - 1)];
            const bool inside = day >= c.first && day <= c.last;
            EXPECT_EQ(row.days.isEmpty(), !inside) << day;
            if (!inside) {
                EXPECT_TRUE(row.as1.isEmpty() && row.as2.isEmpty() && row.as3.isEmpty() && row.as4.isEmpty())
                    << day;
            }
        }
        EXPECT_EQ(report.regularDays, c.regularDays);
        const QString pdf = writePdf(report);
        const QStringList lines = pdfLines(pdf, 1, rightCopy());
        EXPECT_EQ(dayNumbers(lines), range(c.first, c.last));
        EXPECT_TRUE(lines.filter("For the month of").join(' ').contains(c.period));
        EXPECT_EQ(squeezed(pdfText(pdf)).count(ClosingLine), 2);
    }
}

TEST_F(DtrReportPdf, NeverGeneratedMonthPrintsEmptyRowsAndNoRegularDays) {
    const DtrReport report = DtrReportLoader::load(db(), "1001", QDate(2024, 5, 1), DtrReportMode::Monthly);
    EXPECT_FALSE(report.generated);
    EXPECT_EQ(report.rows.size(), 31u);
    EXPECT_EQ(report.regularDays, "");
    const QString pdf = writePdf(report);
    const QString text = pdfText(pdf);
    EXPECT_FALSE(text.contains(QRegularExpression("(^|\\s)\\d{1,2}\\.(\\s|$)"))) << text.toStdString();
    for (const QRectF& copy : {leftCopy(), rightCopy()})
        EXPECT_TRUE(pdfLines(pdf, 1, copy).filter("Regular days").join(' ').endsWith("Regular days"));
    EXPECT_EQ(squeezed(text).count(ClosingLine), 2);
    EXPECT_TRUE(text.contains("May 01 - 31, 2024"));
}

TEST_F(DtrReportPdf, NamesPrintWithTheMiddleInitialAndTheSuffix) {
    struct Case {
        int id;
        QString first, middle, last, suffix;
        QString printed;
    };
    const Case cases[] = {
        {2001, "Jose", QString(), "Ramos", QString(), "Jose Ramos"},
        {2002, "Rosa", "Roque", "Cruz", QString(), "Rosa R. Cruz"},
        {2003, "Fe", "", "Domingo", "", "Fe Domingo"},                   // empty middle name: no stray ". "
        {2004, "Pedro", QString(), "Garcia", "Jr.", "Pedro Garcia Jr."}, // the suffix apart from the name
    };
    for (const Case& c : cases) {
        addEmployee(c.id, c.first, c.middle, c.last, c.suffix);
        const DtrReport report =
            DtrReportLoader::load(db(), QString::number(c.id), April, DtrReportMode::Monthly);
        EXPECT_EQ(report.fullName, c.printed);
        const QStringList lines = pdfLines(writePdf(report), 1, leftCopy());
        EXPECT_EQ(lines.filter(QRegularExpression("^" + QRegularExpression::escape(c.printed) + "$")).size(),
                  2)
            << c.printed.toStdString();
    }
}

TEST_F(DtrReportPdf, MissingOrUnknownEmployeeIsAClearError) {
    const auto message = [&](const QString& id, const QDate& month) -> std::string {
        try {
            DtrReportLoader::load(db(), id, month, DtrReportMode::Monthly);
        } catch (const UserError& e) {
            return e.what();
        }
        return "no error";
    };
    EXPECT_EQ(message("", April), "Please select an employee first.");
    EXPECT_EQ(message("1001", QDate()), "Please select an employee first.");
    EXPECT_EQ(message("4242", April), "No employee has the id 4242.");
    EXPECT_EQ(message("12; DROP TABLE data_dtr", April),
              "The employee id must be a number, not \"12; DROP TABLE data_dtr\".");
}

} // namespace
