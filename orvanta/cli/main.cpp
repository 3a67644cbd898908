// orvanta-cli: Orvanta's work without a window, for batch jobs, cron and administration.
#include "CliContext.h"

#include "data/Errors.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>

#include <cstdio>
#include <cstring>
#include <memory>

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

// The offscreen platform's one complaint on a server is not the user's concern.
void quietMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")))
        return;
    std::fprintf(stderr, "%s\n", qFormatLogMessage(type, context, message).toLocal8Bit().constData());
}

// Whether the command named on the command line draws text, which needs Qt's
// font database and so a GUI application.
bool commandPaints(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--settings") == 0) {
            ++i;
            continue;
        }
        if (std::strncmp(argv[i], "--settings=", 11) == 0)
            continue;
        for (const auto& c : orv::cli::commands()) {
            if (c.name == QString::fromLocal8Bit(argv[i]))
                return c.paints;
        }
        return false;
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    std::unique_ptr<QCoreApplication> application;
    if (commandPaints(argc, argv)) {
        // orvanta-cli never opens a window: it draws on the offscreen platform.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(&quietMessages);
        application = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication& app = *application;
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
