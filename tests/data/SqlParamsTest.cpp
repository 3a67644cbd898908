#include "data/SqlParams.h"

#include <gtest/gtest.h>

using namespace orv;

namespace {

TEST(SqlParams, NamedParametersBecomePositionalOutsideLiteralsAndCasts) {
    SqlParams p;
    p.bind("value", "san%").bind("date", QDate(2024, 3, 1));
    const auto prepared =
        p.prepare("SELECT to_char(att_date, 'hh:mi:ss am') FROM t WHERE (a ilike :value or b ilike :Value) "
                  "and x = EXTRACT(month from :date::date) and y = ':nope' and \"q:col\" = 1 -- :comment\n");
    EXPECT_EQ(prepared.sql,
              "SELECT to_char(att_date, 'hh:mi:ss am') FROM t WHERE (a ilike $1 or b ilike $1) "
              "and x = EXTRACT(month from $2::date) and y = ':nope' and \"q:col\" = 1 -- :comment\n");
    ASSERT_EQ(prepared.values.size(), 2u);
    EXPECT_EQ(prepared.values[0], "san%");
    EXPECT_EQ(prepared.values[1], "2024-03-01");
}

TEST(SqlParams, UnsetParametersAreNull) {
    const auto prepared = SqlParams().prepare("SELECT :value, :other");
    ASSERT_EQ(prepared.values.size(), 2u);
    EXPECT_FALSE(prepared.values[0].has_value());
    EXPECT_FALSE(prepared.values[1].has_value());
}

TEST(SqlParams, ValuesTravelAsText) {
    struct Case {
        QVariant value;
        std::optional<std::string> text;
    };
    const Case cases[] = {
        {QVariant(), std::nullopt},
        {QString("O'Brien"), "O'Brien"},
        {42, "42"},
        {QDateTime(QDate(2024, 3, 7), QTime(9, 5, 2)), "2024-03-07 09:05:02"},
        {QByteArray("\x01\xff", 2), "\\x01ff"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SqlParams::toText(c.value), c.text) << c.value.toString().toStdString();
}

TEST(SqlParams, MixingNamedAndPositionalIsRefused) {
    SqlParams p;
    p.bind("a", 1).add(2);
    EXPECT_THROW(p.prepare("SELECT :a, $1"), std::invalid_argument);
}

} // namespace
