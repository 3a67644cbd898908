// orvanta-cli: Orvanta's work without a window, for batch jobs, cron and administration.
#include "CliContext.h"

#include "data/Errors.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

using orv::cli::CliContext;

namespace {

void printHelp(QTextStream& out) {
    out << "Usage: orvanta-cli [--settings FILE] COMMAND [OPTIONS]\n\n"
        << "The settings file is System_Control.ini beside this program unless --settings names another.\n\n"
        << "Commands:\n";
    for (const auto& c : orv::cli::commands())
        out << "  " << c.name.leftJustified(18) << c.summary << "\n";
    out << "\nRun orvanta-cli COMMAND --help for a command's options.\n";
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = app.arguments().mid(1);

    QString settings =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("System_Control.ini"));
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--settings") && i + 1 < args.size()) {
            settings = QFileInfo(args.at(i + 1)).absoluteFilePath();
            break;
        }
        if (args.at(i).startsWith(QLatin1String("--settings="))) {
            settings = QFileInfo(args.at(i).mid(11)).absoluteFilePath();
            break;
        }
    }
    // The command is the first argument that is neither --settings nor its value.
    QString name;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--settings")) {
            ++i;
            continue;
        }
        if (args.at(i).startsWith(QLatin1String("--settings=")))
            continue;
        name = args.at(i);
        args.removeAt(i);
        break;
    }
    if (name.isEmpty() || name == QLatin1String("--help") || name == QLatin1String("help")) {
        printHelp(out);
        return name.isEmpty() ? 2 : 0;
    }
    for (const auto& command : orv::cli::commands()) {
        if (command.name != name)
            continue;
        if (args.contains(QStringLiteral("--help"))) {
            out << "Usage: orvanta-cli " << command.usage << "\n";
            return 0;
        }
        CliContext context(args, settings, out, err);
        try {
            const int status = command.run(context);
            out.flush();
            return status;
        } catch (const std::exception& e) {
            out.flush();
            err << "orvanta-cli " << name << ": " << orv::errorText(std::current_exception()) << "\n";
            return dynamic_cast<const orv::UserError*>(&e) ? 2 : 1;
        }
    }
    err << "Unknown command \"" << name << "\".\n\n";
    printHelp(err);
    return 2;
}
