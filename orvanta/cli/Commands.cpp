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
        {QStringLiteral("user"), QStringLiteral("add a verified user account"),
         QStringLiteral("user add --username U --first F --last L --office NAME --email E [--position P]\n"
                        "  The password is read from standard input. The office is found by its name\n"
                        "  or short name. The account can log in at once (no mailed code)."),
         &runUser},
    };
    return table;
}

} // namespace orv::cli
