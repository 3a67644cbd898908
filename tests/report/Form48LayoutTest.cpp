// The painter's element list against the form's layout, and the painted PDF
// against the list.
#include "PdfText.h"

#include "dtr/report/Form48Fonts.h"
#include "dtr/report/Form48Layout.h"
#include "dtr/report/Form48PdfFile.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace orv;
using namespace orv::test;

namespace {

DtrReport sample(int days = 31, const QString& name = "Juan R. Santos") {
    DtrReport r;
    r.fullName = name;
    r.period = DtrPeriod::of(QDate(2024, 3, 1), DtrReportMode::Monthly);
    r.periodText = r.period.text();
    r.regularDays = "20";
    r.verifierName = "ROBERTO M. VILLANUEVA";
    r.verifierPosition = "Municipal Mayor";
    r.verifierDesignation = "Head of Office";
    for (int d = 1; d <= days; ++d)
        r.rows.push_back({QString::number(d) + ".", "7:55 am", "12:01 pm", "12:55 pm", "5:05 pm"});
    return r;
}

const ReportElement& find(const std::vector<ReportElement>& list, const QString& role, int copy) {
    for (const ReportElement& e : list) {
        if (e.role == role && e.copy == copy)
            return e;
    }
    static ReportElement none;
    ADD_FAILURE() << "no element " << role.toStdString() << " in copy " << copy;
    return none;
}

constexpr int Detail = Form48Layout::DetailTop; // 15347
constexpr int Footer = Form48Layout::FooterTop; // 222252

TEST(Form48Layout, PageIsLetterWithTheFormMarginsAndTheBandsFillIt) {
    const QPageLayout page = Form48Layout::pageLayout();
    EXPECT_EQ(page.pageSize().id(), QPageSize::Letter);
    EXPECT_EQ(page.orientation(), QPageLayout::Portrait);
    const QRectF full = page.fullRect(QPageLayout::Millimeter);
    EXPECT_NEAR(full.width(), 215.9, 0.01);
    EXPECT_NEAR(full.height(), 279.4, 0.01);
    const QMarginsF m = page.margins(QPageLayout::Millimeter);
    for (double side : {m.left(), m.top(), m.right(), m.bottom()})
        EXPECT_NEAR(side, 6.35, 0.001);
    EXPECT_EQ(Footer, 15347 + 206905);
    EXPECT_NEAR((Footer + Form48Layout::FooterHeight) / 1000.0,
                page.paintRect(QPageLayout::Millimeter).height(), 0.01);
}

TEST(Form48Layout, AnchorsStandWhereTheFormPutsThemInBothCopies) {
    const auto list = Form48Layout::build(sample());
    struct Anchor {
        QString role;
        QRect left; // left copy: left, top, width, height
        int rightLeft;
        int rightTop;
    };
    const Anchor anchors[] = {
        {"form-number", {1588, 794, 27252, 2646}, 104408, 794},
        {"title", {30692, 4498, 40216, 4762}, 133512, 4498},
        {"ornament", {42069, 8467, 17462, 4233}, 144889, 8467},
        {"name-line", {3175, Detail + 5243, 95250, 265}, 105465, Detail + 5292},
        {"table-top", {3175, Detail + 28612, 95250, 265}, 105465, Detail + 28575},
        {"table-left", {3026, Detail + 28575, 792, 176856}, 105200, Detail + 28575},
        {"heading-bottom", {3175, Detail + 39683, 95031, 524}, 105465, Detail + 39688},
        {"row.1.days", {5001, Detail + 40213 + 530, 4743, 3438}, 107317, Detail + 40213 + 530},
        {"row.1.as_1", {15346, Detail + 40213 + 529, 23812, 3440}, 117636, Detail + 40213 + 529},
        {"row.31.days",
         {5001, Detail + 40213 + 30 * 5207 + 530, 4743, 3438},
         107317,
         Detail + 40213 + 30 * 5207 + 530},
        {"row.1.row-line", {3175, Detail + 40213 + 4895, 95250, 259}, 105465, Detail + 40213 + 5027},
        {"closing", {4498, Detail + 40213 + 31 * 5207, 92604, 2381}, 106789, Detail + 40213 + 31 * 5207},
        {"table-bottom", {3175, Detail + 204803, 95250, 789}, 105465, Detail + 204788},
        {"certification-1", {5556, Footer + 1323, 91811, 3175}, 107846, Footer + 1323},
        {"signature-line", {2910, Footer + 19315, 95515, 789}, 105200, Footer + 19315},
        {"verifier-line", {2910, Footer + 35454, 95515, 789}, 105200, Footer + 35454},
        {"employee-caption", {44186, Footer + 16140, 12964, 3175}, 146579, Footer + 16140},
    };
    for (const Anchor& a : anchors) {
        SCOPED_TRACE(a.role.toStdString());
        EXPECT_EQ(find(list, a.role, 0).box, a.left);
        EXPECT_EQ(find(list, a.role, 1).box, QRect(a.rightLeft, a.rightTop, a.left.width(), a.left.height()));
    }
    const ReportElement& cut = find(list, "cutting-line", -1);
    EXPECT_EQ(cut.kind, ReportElement::Kind::DottedLine);
    EXPECT_EQ(cut.box, QRect(101865, Detail + 782, 258, 204788));
    EXPECT_EQ(find(list, "table-bottom", 0).edge, ReportElement::Edge::Bottom);
    EXPECT_EQ(find(list, "table-left", 0).edge, ReportElement::Edge::Left);
    EXPECT_EQ(find(list, "row.1.rule-day", 0).edge, ReportElement::Edge::Right);
}

TEST(Form48Layout, EveryElementOfOneCopyHasItsTwinInTheOther) {
    const auto list = Form48Layout::build(sample());
    int left = 0;
    for (const ReportElement& e : list) {
        if (e.copy != 0)
            continue;
        ++left;
        const ReportElement& twin = find(list, e.role, 1);
        EXPECT_EQ(twin.text, e.text) << e.role.toStdString();
        EXPECT_EQ(twin.box.size(), e.box.size()) << e.role.toStdString();
        EXPECT_GT(twin.left(), 101865) << e.role.toStdString(); // right of the cutting line
        EXPECT_LT(e.right(), 101865 + 1) << e.role.toStdString();
    }
    EXPECT_GT(left, 31 * 10);
}

TEST(Form48Layout, RowsFollowTheMonthAndTheClosingLineFollowsTheLastRow) {
    for (int days : {28, 29, 30, 31}) {
        const auto list = Form48Layout::build(sample(days));
        EXPECT_EQ(find(list, QStringLiteral("row.%1.days").arg(days), 0).text,
                  QStringLiteral("%1.").arg(days));
        bool extra = false;
        for (const ReportElement& e : list)
            extra = extra || e.role.startsWith(QStringLiteral("row.%1.").arg(days + 1));
        EXPECT_FALSE(extra) << days;
        EXPECT_EQ(find(list, "closing", 0).top(), Detail + 40213 + days * 5207);
        // The closing line still ends above the table's bottom line.
        EXPECT_LT(find(list, "closing", 0).bottom(), find(list, "table-bottom", 0).top() + 789);
    }
}

TEST(Form48Layout, CentredFilledLabelsGrowAroundTheirCentre) {
    const QString longName = "Maximiliano Bartolome R. Dela Cruz-Santiago III";
    const auto list = Form48Layout::build(sample(31, longName));
    struct Case {
        QString role;
        int designLeft, designWidth;
    };
    for (const Case& c : {Case{"name", 43127, 15081}, Case{"employee-name", 43921, 13494}}) {
        const ReportElement& e = find(list, c.role, 0);
        EXPECT_GT(e.box.width(), c.designWidth) << c.role.toStdString();
        EXPECT_NEAR(e.left() + e.box.width() / 2.0, c.designLeft + c.designWidth / 2.0, 1)
            << c.role.toStdString();
        EXPECT_EQ(e.alignment, Qt::AlignHCenter);
    }
    // A short text keeps the design box.
    EXPECT_EQ(find(Form48Layout::build(sample(31, "Fe Cruz")), "name", 0).box,
              QRect(43127, Detail + 1058, 15081, 4234));
}

TEST(Form48Layout, StampIsRotatedInEachCopyBehindTheForm) {
    const auto list = Form48Layout::build(sample());
    const ReportElement& left = find(list, "stamp", 0);
    const ReportElement& right = find(list, "stamp", 1);
    EXPECT_EQ(left.box, QRect(33621, 104800, 44186, 45773));
    EXPECT_EQ(right.box, QRect(134938, 104800, 44186, 45773));
    for (const ReportElement* e : {&left, &right}) {
        EXPECT_EQ(e->text, "SYSTEM GENERATED");
        EXPECT_EQ(e->rotation, 45);
        EXPECT_EQ(e->pointSize, 20);
        EXPECT_EQ(e->origin, QPoint(0, 39787));
        // The text fits the box's diagonal from the origin.
        const int width = Form48Fonts::textWidth(e->text, e->family, e->pointSize, e->bold, e->stretch);
        EXPECT_LE(width * M_SQRT1_2, 39787);
    }
    EXPECT_EQ(list.front().role, "stamp"); // painted first: behind everything else
}

TEST(Form48Layout, PaintedPageMatchesTheList) {
    QTemporaryDir dir;
    const QString file = dir.filePath("page.pdf");
    Form48PdfFile pdf(file);
    pdf.addPage(sample());
    pdf.commit();
    const QSizeF size = pdfPageSize(file);
    EXPECT_NEAR(size.width(), 612, 0.5);
    EXPECT_NEAR(size.height(), 792, 0.5);

    const auto words = pdfWords(file);
    const auto at = [&](const QString& text, bool rightCopy) -> QRectF {
        for (const PdfWord& w : words) {
            if (w.text == text && (w.box.left() > 306) == rightCopy)
                return w.box;
        }
        ADD_FAILURE() << "no word " << text.toStdString();
        return {};
    };
    for (int copy = 0; copy < 2; ++copy) {
        const bool right = copy == 1;
        // Left-aligned texts start at their box; centred ones centre on it.
        EXPECT_NEAR(at("Civil", right).left(), pointsFromMicrons(right ? 104408 : 1588), 0.8);
        const double titleCentre = (at("DAILY", right).left() + at("RECORD", right).right()) / 2;
        EXPECT_NEAR(titleCentre, pointsFromMicrons((right ? 133512 : 30692) + 40216 / 2), 0.8);
        EXPECT_NEAR(at("I", right).left(), pointsFromMicrons(right ? 107846 : 5556), 0.8);
        // Texts hang from the top of their box.
        const double titleTop = pointsFromMicrons(4498);
        EXPECT_GT(at("DAILY", right).top(), titleTop - 0.5);
        EXPECT_LT(at("DAILY", right).top(), titleTop + pointsFromMicrons(4762, false));
        const double firstRowTop = pointsFromMicrons(Detail + 40213 + 530);
        EXPECT_NEAR(at("1.", right).left(), pointsFromMicrons(right ? 107317 : 5001), 0.8);
        EXPECT_GT(at("1.", right).top(), firstRowTop - 0.5);
        EXPECT_LT(at("1.", right).bottom(), firstRowTop + pointsFromMicrons(3438, false) + 0.5);
    }
}

} // namespace
