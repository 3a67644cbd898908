#include "Commands.h"
#include "CliContext.h"

namespace orv::cli {

const std::vector<Command>& commands() {
    static const std::vector<Command> table = {
        {QStringLiteral("encipher"), QStringLiteral("write an enciphered [Sql_config] section"),
         QStringLiteral("encipher --server HOST --database NAME [--password PASS] [--port N] [--write]\n"
                        "  The password is read from standard input when --password is not given.\n"
                        "  Prints the section; with --write stores it in the settings file instead."),
         &runEncipher},
        {QStringLiteral("check-connection"), QStringLiteral("connect to the database as Orvanta does"),
         QStringLiteral("check-connection"), &runCheckConnection},
        {QStringLiteral("generate"), QStringLiteral("generate the time records of a month"),
         QStringLiteral(
             "generate --month YYYY-MM (--employee ID | --office NAME | --all)\n"
             "  --employee: one employee id (every bio ID the personnel register gives it);\n"
             "  --office: everyone of that office (name or short name) with punches in the month;\n"
             "  --all: everyone with punches in the month."),
         &runGenerate},
        {QStringLiteral("audit"), QStringLiteral("list the manual changes to an employee's month"),
         QStringLiteral(
             "audit --employee ID --month YYYY-MM\n"
             "  Absent, off, added minutes, punch re-labels and verifier changes of the employee,\n"
             "  and holiday changes on days of the month, oldest first."),
         &runAudit},
        {QStringLiteral("download"), QStringLiteral("download the punches of a terminal into the database"),
         QStringLiteral("download --office NAME | --all\n"
                        "  Reads the office's terminal (or every terminal row in turn), stores new punches,\n"
                        "  clears the terminal's log and sets its clock. Exit status 0 when every terminal\n"
                        "  was downloaded, 1 when one failed."),
         &runDownload},
        {QStringLiteral("user"), QStringLiteral("add a verified user account"),
         QStringLiteral("user add --username U --first F --last L --office NAME --email E [--position P]\n"
                        "  The password is read from standard input. The office is found by its name\n"
                        "  or short name. The account can log in at once (no mailed code)."),
         &runUser},
        {QStringLiteral("report"), QStringLiteral("write the Form 48 DTR of an employee or an office as PDF"),
         QStringLiteral("report --employee ID --month YYYY-MM [--mode monthly|first|second] --pdf FILE\n"
                        "       report --month YYYY-MM (--office NAME | --all) [--mode ...] --pdf FILE\n"
                        "  One Letter page per employee, two copies side by side; a batch prints the\n"
                        "  employees with a DTR in the period, in name order, and names the others."),
         &runReport, true},
    };
    return table;
}

} // namespace orv::cli
