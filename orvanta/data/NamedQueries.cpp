// The statements of the named queries, as the screens that show them expect.
#include "DataCon.h"

namespace orv {

void defineNamedQueries(DataCon& db) {
    db.officeList.setSql({
        QStringLiteral("SELECT officeid, off_name, off_short, off_address, off_contact, off_barangay, "
                       "off_citymun, off_province, off_zipcode "),
        QStringLiteral("FROM offices WHERE off_name ilike :value or off_short ilike :value"),
    });
    db.officeList.setParam(QStringLiteral("value"), QStringLiteral("%"));

    // The month filter applies to both name matches.
    db.Searchdtrname.setSql({
        QStringLiteral("SELECT DISTINCT employeeid,attendance_read.bioid,lname,fname,mname,suffixs "),
        QStringLiteral("from attendance_read INNER JOIN bioemp_profile on attendance_read.bioid = "
                       "bioemp_profile.bioid::INTEGER"),
        QStringLiteral("WHERE (lname ilike :value or fname ilike :value) and EXTRACT(month from att_date) = "
                       "EXTRACT(month from :date::date) and EXTRACT(year from att_date) = EXTRACT(year from "
                       ":date::date)  "),
    });

    db.DTR_Details.setSql({
        QStringLiteral("SELECT TO_CHAR(att_dates, 'FMMON DD, YYYY') as \"DAY\", "
                       "TO_CHAR(att_dates, 'yyyy-mm-dd') as dates, display_dtr as \"WEEKEND\", "),
        QStringLiteral(
            "to_char(att_time1, 'hh12:mi:ss AM') as \"AM-IN\", to_char(att_time2, 'hh12:mi:ss AM') "
            "as \"AM-OUT\", "),
        QStringLiteral(
            "to_char(att_time3, 'hh12:mi:ss AM') as \"PM-IN\", to_char(att_time4, 'hh12:mi:ss AM') "
            "as \"PM-OUT\", "),
        QStringLiteral("tardy as \"TARDY\", att_lock "),
        QStringLiteral("FROM data_dtr "),
        QStringLiteral("WHERE employeeid = :value and EXTRACT(year from att_dates) = EXTRACT(year from "
                       ":dates::date) and EXTRACT(month from att_dates) = EXTRACT(month from :dates::date)"),
        QStringLiteral(" ORDER BY att_dates::date"),
    });

    db.detailed_dtr.setSql({
        QStringLiteral("SELECT  to_char(att_date, 'hh:mi:ss am') as checks,att_readid,check_mode"),
        QStringLiteral("from attendance_read "),
        QStringLiteral("WHERE bioid = :value and att_date::date = :dates::date ORDER BY att_date "),
    });

    db.Holidays.setSql({
        QStringLiteral("SELECT "),
        QStringLiteral("\tto_char(hol_date, 'dd, yyyy') as hol_date, "),
        QStringLiteral("\thol_descrip,holidaysid"),
        QStringLiteral("FROM"),
        QStringLiteral(
            "\tholidays WHERE EXTRACT(year from hol_date::date) = EXTRACT(year from :value::date) and "
            "EXTRACT(month from hol_date::date) = EXTRACT(month from :value::date)"),
        QStringLiteral("\tORDER BY hol_date::date"),
    });

    db.DTR_QueryReports.setSql({
        QStringLiteral("SELECT r.*,t.* FROM (SELECT att_dates, to_char(att_dates, 'fmdd.') as days, "),
        QStringLiteral("case when att_time1::TIMESTAMP ISNULL and att_time2::TIMESTAMP isnull and "
                       "att_time3::TIMESTAMP isnull and att_time4::TIMESTAMP isnull then display_dtr else "
                       "to_char(att_time1, 'fmHH:MI am') end as as_1, "),
        QStringLiteral("to_char(att_time2, 'fmHH:MI am') as as_2, to_char(att_time3, 'fmHH:MI am') as as_3, "
                       "to_char(att_time4, 'fmHH:MI am') as as_4 "),
        QStringLiteral("FROM data_dtr WHERE employeeid = :value and att_dates BETWEEN :value1::date and "
                       ":value2::date ORDER BY att_dates) as t "),
        QStringLiteral(
            "RIGHT JOIN (SELECT generate_series(:value3::date, :value4::date, '1 day') as results) "
            "as r  on t.att_dates = r.results"),
        QStringLiteral("ORDER BY r.results"),
    });

    db.EmpImpList.setSql({
        QStringLiteral(
            "SELECT bioemp_profileid,lname,fname,mname,suffixs from bioemp_profile WHERE lname ilike "
            ":value or fname ilike :value"),
    });
}

} // namespace orv
