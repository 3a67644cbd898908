#include "Form48Layout.h"

#include "Form48Fonts.h"

#include <QMarginsF>
#include <QPageSize>

#include <algorithm>
#include <cmath>

namespace orv {

namespace {

using Kind = ReportElement::Kind;
using Edge = ReportElement::Edge;

// How a text's box follows its text.
enum class Grow {
    Fixed,  // the design box
    Centre, // widens around its centre when the text is wider
    Right,  // widens to the right when the text is wider
    Auto,   // exactly as wide as its text
};

// Left edges of an element in the left and the right copy, and its top in
// each (the right copy's top differs by a few µm on some lines).
struct Place {
    int left;
    int right;
    int top;
    int rightTop;
};

Place at(int left, int right, int top) {
    return {left, right, top, top};
}
Place at(int left, int right, int top, int rightTop) {
    return {left, right, top, rightTop};
}

class Builder {
public:
    explicit Builder(std::vector<ReportElement>& out) : m_out(out), m_family(Form48Fonts::textFamily()) {}

    // A text in both copies.
    void text(const QString& role, Place p, int bandTop, int width, int height, const QString& text,
              double pt, bool bold = false, Qt::Alignment align = Qt::AlignLeft, Grow grow = Grow::Fixed) {
        for (int copy = 0; copy < 2; ++copy) {
            ReportElement e;
            e.role = role;
            e.copy = copy;
            e.kind = Kind::Text;
            e.text = text;
            e.family = m_family;
            e.pointSize = pt;
            e.bold = bold;
            e.alignment = align;
            int left = copy == 0 ? p.left : p.right;
            int w = width;
            const int measured = grow == Grow::Fixed ? 0 : Form48Fonts::textWidth(text, m_family, pt, bold);
            switch (grow) {
            case Grow::Fixed:
                break;
            case Grow::Centre:
                if (measured > width) {
                    left -= (measured - width) / 2;
                    w = measured;
                }
                break;
            case Grow::Right:
                w = std::max(width, measured);
                break;
            case Grow::Auto:
                w = measured;
                break;
            }
            e.box = QRect(left, bandTop + (copy == 0 ? p.top : p.rightTop), w, height);
            m_out.push_back(std::move(e));
        }
    }

    // A line in both copies.
    void line(const QString& role, Place p, int bandTop, int width, int height, Edge edge) {
        for (int copy = 0; copy < 2; ++copy) {
            ReportElement e;
            e.role = role;
            e.copy = copy;
            e.kind = Kind::Line;
            e.edge = edge;
            e.box = QRect(copy == 0 ? p.left : p.right, bandTop + (copy == 0 ? p.top : p.rightTop), width,
                          height);
            m_out.push_back(std::move(e));
        }
    }

private:
    std::vector<ReportElement>& m_out;
    QString m_family;
};

void addStamps(std::vector<ReportElement>& out) {
    const QString family = Form48Fonts::stampFamily();
    const bool substitute = family.compare(QLatin1String("RUBBER STAMP"), Qt::CaseInsensitive) != 0;
    const int lefts[2] = {33621, 134938};
    for (int copy = 0; copy < 2; ++copy) {
        ReportElement e;
        e.role = QStringLiteral("stamp");
        e.copy = copy;
        e.kind = Kind::Text;
        e.text = QStringLiteral("SYSTEM GENERATED");
        e.family = family;
        e.pointSize = 20;
        e.bold = substitute;
        e.color = QColor(0x33, 0x99, 0xff); // the menu-highlight colour
        e.rotation = 45;
        e.box = QRect(lefts[copy], 104800, 44186, 45773);
        e.origin = QPoint(0, 39787);
        // A wider substitute face is narrowed to keep the stamp inside its box
        // (the diagonal from the origin to the box's edge).
        const int room = static_cast<int>(std::min(e.origin.y(), e.box.width() - e.origin.x()) * M_SQRT2);
        while (e.stretch > 50 &&
               Form48Fonts::textWidth(e.text, e.family, e.pointSize, e.bold, e.stretch) > room)
            e.stretch -= 2;
        out.push_back(std::move(e));
    }
}

void addHeader(Builder& b) {
    const int t = Form48Layout::HeaderTop;
    b.text(QStringLiteral("form-number"), at(1588, 104408, 794), t, 27252, 2646,
           QStringLiteral("Civil Service Form No. 48"), 6);
    b.text(QStringLiteral("title"), at(30692, 133512, 4498), t, 40216, 4762,
           QStringLiteral("DAILY TIME RECORD"), 11, false, Qt::AlignHCenter);
    b.text(QStringLiteral("ornament"), at(42069, 144889, 8467), t, 17462, 4233, QStringLiteral("---o0o---"),
           10, false, Qt::AlignHCenter);
}

void addDetail(Builder& b, const DtrReport& r) {
    const int t = Form48Layout::DetailTop;
    b.text(QStringLiteral("name"), at(43127, 145521, 1058), t, 15081, 4234, r.fullName, 10, true,
           Qt::AlignHCenter, Grow::Centre);
    b.line(QStringLiteral("name-line"), at(3175, 105465, 5243, 5292), t, 95250, 265, Edge::Top);
    b.text(QStringLiteral("name-caption"), at(44979, 147269, 5556), t, 11377, 3440, QStringLiteral("(Name)"),
           8, false, Qt::AlignHCenter);
    b.text(QStringLiteral("month-caption"), at(5556, 107846, 11642), t, 26194, 3440,
           QStringLiteral("For the month of "), 8);
    b.text(QStringLiteral("period"), at(42333, 144727, 11642), t, 13494, 3439, r.periodText, 8, true,
           Qt::AlignLeft, Grow::Right);
    b.line(QStringLiteral("period-line"), at(33867, 136157, 15097, 15081), t, 64558, 265, Edge::Top);
    b.text(QStringLiteral("hours-caption-1"), at(5556, 107846, 15875), t, 60061, 3440,
           QStringLiteral("Official hours for arrival    Regular days"), 8);
    b.text(QStringLiteral("regular-days"), at(73021, 178059, 15875), t, 11642, 3440, r.regularDays, 8, false,
           Qt::AlignLeft, Grow::Right);
    b.line(QStringLiteral("regular-days-line"), at(67998, 170288, 19321, 19315), t, 30427, 265, Edge::Top);
    b.text(QStringLiteral("hours-caption-2"), at(13229, 115519, 20108), t, 52652, 3440,
           QStringLiteral("and departure               Saturdays"), 8);
    b.line(QStringLiteral("saturdays-line"), at(67998, 170288, 23555, 23548), t, 30427, 265, Edge::Top);

    // The table's frame and heading.
    b.line(QStringLiteral("table-top"), at(3175, 105465, 28612, 28575), t, 95250, 265, Edge::Top);
    b.line(QStringLiteral("table-left"), at(3026, 105200, 28575), t, 792, 176856, Edge::Left);
    b.line(QStringLiteral("table-right"), at(97628, 199921, 28620, 28575), t, 792, 176856, Edge::Right);
    b.line(QStringLiteral("day-rule"), at(12960, 115255, 28575), t, 244, 11642, Edge::Right);
    b.text(QStringLiteral("day-caption"), at(5556, 107846, 32813, 32808), t, 6086, 3440,
           QStringLiteral("Day"), 8);
    b.text(QStringLiteral("shift-caption"), at(51065, 153355, 29104), t, 8996, 3440, QStringLiteral("SHIFT"),
           8, false, Qt::AlignHCenter);
    b.line(QStringLiteral("shift-rule"), at(12965, 115255, 32538, 32544), t, 85461, 259, Edge::Top);
    b.text(QStringLiteral("zone-caption-1"), at(23019, 125309, 32544), t, 22225, 3439,
           QStringLiteral("First time zone"), 8, false, Qt::AlignHCenter);
    b.text(QStringLiteral("zone-caption-2"), at(63236, 165526, 32544), t, 26987, 3439,
           QStringLiteral("Second time zone"), 8, false, Qt::AlignHCenter);
    b.line(QStringLiteral("zone-separator"), at(54800, 157059, 32805, 32808), t, 244, 6884, Edge::Right);
    b.line(QStringLiteral("zone-rule"), at(12965, 115255, 36208, 36248), t, 85461, 259, Edge::Top);
    b.line(QStringLiteral("arrival-separator-1"), at(33865, 136157, 36570, 36513), t, 244, 3174, Edge::Right);
    b.line(QStringLiteral("arrival-separator-2"), at(75704, 177961, 36515, 36513), t, 244, 3174, Edge::Right);
    b.text(QStringLiteral("column-caption-1"), at(18521, 120811, 35983), t, 10054, 3440,
           QStringLiteral("Arrival"), 8, false, Qt::AlignHCenter);
    b.text(QStringLiteral("column-caption-2"), at(36777, 139067, 35983), t, 15346, 3440,
           QStringLiteral("Departure"), 8, false, Qt::AlignHCenter);
    b.text(QStringLiteral("column-caption-3"), at(60325, 162615, 35983), t, 10054, 3440,
           QStringLiteral("Arrival"), 8, false, Qt::AlignHCenter);
    b.text(QStringLiteral("column-caption-4"), at(79375, 181665, 35983), t, 15346, 3440,
           QStringLiteral("Departure"), 8, false, Qt::AlignHCenter);
    b.line(QStringLiteral("heading-bottom"), at(3175, 105465, 39683, 39688), t, 95031, 524, Edge::Top);

    // One row per calendar day, then the closing line.
    int rowTop = t + Form48Layout::RowsTop;
    for (size_t i = 0; i < r.rows.size(); ++i, rowTop += Form48Layout::RowHeight) {
        const DtrReportRow& row = r.rows[i];
        const QString n = QStringLiteral("row.%1.").arg(i + 1);
        b.text(n + QStringLiteral("days"), at(5001, 107317, 530), rowTop, 4743, 3438, row.days, 8);
        b.line(n + QStringLiteral("rule-day"), at(12965, 115255, 10, 0), rowTop, 244, 4752, Edge::Right);
        b.text(n + QStringLiteral("as_1"), at(15346, 117636, 529), rowTop, 23812, 3440, row.as1, 8, false,
               Qt::AlignLeft, Grow::Right);
        b.line(n + QStringLiteral("rule-1"), at(33866, 136157, -268, -265), rowTop, 244, 5029, Edge::Right);
        b.text(n + QStringLiteral("as_2"), at(35983, 138273, 529), rowTop, 0, 3440, row.as2, 8, false,
               Qt::AlignLeft, Grow::Auto);
        b.line(n + QStringLiteral("rule-2"), at(54801, 157059, 2, 0), rowTop, 244, 4764, Edge::Right);
        b.text(n + QStringLiteral("as_3"), at(57150, 159440, 529), rowTop, 0, 3440, row.as3, 8, false,
               Qt::AlignLeft, Grow::Auto);
        b.line(n + QStringLiteral("rule-3"), at(75705, 177961, -3, 0), rowTop, 244, 4764, Edge::Right);
        b.text(n + QStringLiteral("as_4"), at(78052, 180342, 529), rowTop, 0, 3440, row.as4, 8, false,
               Qt::AlignLeft, Grow::Auto);
        b.line(n + QStringLiteral("row-line"), at(3175, 105465, 4895, 5027), rowTop, 95250, 259,
               Edge::Bottom);
    }
    b.text(QStringLiteral("closing"), at(4498, 106789, 0), rowTop, 92604, Form48Layout::ClosingHeight,
           QString::fromLatin1(Form48Layout::ClosingText), 6, false, Qt::AlignHCenter);

    b.line(QStringLiteral("table-bottom"), at(3175, 105465, 204803, 204788), t, 95250, 789, Edge::Bottom);
}

void addFooter(Builder& b, const DtrReport& r) {
    const int t = Form48Layout::FooterTop;
    b.text(QStringLiteral("certification-1"), at(5556, 107846, 1323), t, 91811, 3175,
           QStringLiteral("I certify on my honor that the above is a true and correct report of the"), 7);
    b.text(QStringLiteral("certification-2"), at(5556, 107846, 4498), t, 88107, 3175,
           QStringLiteral("hours of work performed record of which was made daily at the time"), 7);
    b.text(QStringLiteral("certification-3"), at(5556, 107846, 7673), t, 46038, 3175,
           QStringLiteral("of arrival and departure from office."), 7);
    b.text(QStringLiteral("employee-name"), at(43921, 146315, 13229), t, 13494, 3440, r.fullName, 8, true,
           Qt::AlignHCenter, Grow::Centre);
    b.text(QStringLiteral("employee-caption"), at(44186, 146579, 16140), t, 12964, 3175,
           QStringLiteral("Employee"), 7, false, Qt::AlignHCenter);
    b.line(QStringLiteral("signature-line"), at(2910, 105200, 19315), t, 95515, 789, Edge::Top);
    b.text(QStringLiteral("verification-caption"), at(5556, 107846, 22490), t, 58473, 3175,
           QStringLiteral("VERIFIED as to the prescribed office hours:"), 7);
    b.text(QStringLiteral("verifier-name"), at(43656, 146050, 30956), t, 13494, 3440, r.verifierName, 8, true,
           Qt::AlignHCenter, Grow::Centre);
    b.line(QStringLiteral("verifier-line"), at(2910, 105200, 35454), t, 95515, 789, Edge::Top);
    b.text(QStringLiteral("verifier-position"), at(44715, 147373, 36248), t, 11641, 3440, r.verifierPosition,
           8, false, Qt::AlignHCenter, Grow::Centre);
    b.text(QStringLiteral("verifier-designation"), at(44715, 147373, 40481), t, 11641, 3440,
           r.verifierDesignation, 8, false, Qt::AlignHCenter, Grow::Centre);
}

} // namespace

QPageLayout Form48Layout::pageLayout() {
    return QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                       QMarginsF(MarginMm, MarginMm, MarginMm, MarginMm), QPageLayout::Millimeter);
}

std::vector<ReportElement> Form48Layout::build(const DtrReport& report) {
    std::vector<ReportElement> out;
    out.reserve(80 + report.rows.size() * 20);
    addStamps(out); // the page layer lies behind the bands
    Builder b(out);
    addHeader(b);
    addDetail(b, report);
    addFooter(b, report);

    ReportElement cut;
    cut.role = QStringLiteral("cutting-line");
    cut.copy = -1;
    cut.kind = Kind::DottedLine;
    cut.edge = Edge::CentreVertical;
    cut.box = QRect(101865, DetailTop + 782, 258, 204788);
    out.push_back(std::move(cut));
    return out;
}

} // namespace orv
