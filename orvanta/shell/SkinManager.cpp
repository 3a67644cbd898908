#include "SkinManager.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>

namespace orv {

namespace {

struct Colours {
    QColor window, base, text, button, highlight;
};

Colours coloursOf(const QString& skin) {
    if (skin.startsWith(QLatin1String("Notes Leather")))
        return {QColor(222, 208, 184), QColor(246, 240, 228), QColor(52, 36, 20), QColor(206, 188, 160),
                QColor(128, 74, 36)};
    if (skin.startsWith(QLatin1String("Notes Plastic")))
        return {QColor(226, 232, 240), QColor(250, 252, 255), QColor(24, 32, 48), QColor(208, 218, 232),
                QColor(52, 101, 164)};
    if (skin.startsWith(QLatin1String("SketchPad")))
        return {QColor(250, 250, 244), QColor(255, 255, 255), QColor(40, 40, 40), QColor(236, 236, 226),
                QColor(96, 96, 96)};
    return {QColor(236, 239, 243), QColor(255, 255, 255), QColor(30, 30, 30), QColor(224, 228, 234),
            QColor(32, 74, 135)}; // Flat Box
}

QPalette paletteOf(const Colours& c) {
    QPalette p;
    p.setColor(QPalette::Window, c.window);
    p.setColor(QPalette::Base, c.base);
    p.setColor(QPalette::AlternateBase, c.window.lighter(104));
    p.setColor(QPalette::Text, c.text);
    p.setColor(QPalette::WindowText, c.text);
    p.setColor(QPalette::ButtonText, c.text);
    p.setColor(QPalette::Button, c.button);
    p.setColor(QPalette::Highlight, c.highlight);
    p.setColor(QPalette::HighlightedText, Qt::white);
    const QColor greyed(150, 150, 150);
    for (const auto role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, greyed);
    return p;
}

QString withoutAccelerators(QString name) {
    return name.remove(QLatin1Char('&'));
}

} // namespace

SkinManager::SkinManager(QObject* parent) : QObject(parent), m_name(defaultSkin()) {}

QStringList SkinManager::embeddedSkins() {
    return {QStringLiteral("Notes Leather (internal)"), QStringLiteral("Flat Box (internal)"),
            QStringLiteral("Notes Plastic (internal)"), QStringLiteral("SketchPad (internal)")};
}

QString SkinManager::defaultSkin() {
    return QStringLiteral("Flat Box (internal)");
}

QStringList SkinManager::externalSkins() const {
    QStringList names;
    for (const QFileInfo& f :
         QDir(m_directory).entryInfoList({QStringLiteral("*.qss")}, QDir::Files, QDir::Name))
        names << f.completeBaseName();
    return names;
}

void SkinManager::setSkinName(const QString& name) {
    const QString clean = withoutAccelerators(name);
    if (clean.isEmpty())
        return;
    Q_EMIT beforeChange();
    m_name = clean;
    apply();
    Q_EMIT afterChange();
}

void SkinManager::setActive(bool active) {
    if (m_active == active)
        return;
    Q_EMIT beforeChange();
    m_active = active;
    apply();
    Q_EMIT afterChange();
}

void SkinManager::apply() {
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!app)
        return;
    if (!m_active) {
        app->setStyleSheet({});
        app->setPalette(app->style()->standardPalette());
        return;
    }
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        app->setStyle(fusion);
    if (embeddedSkins().contains(m_name)) {
        app->setStyleSheet({});
        app->setPalette(paletteOf(coloursOf(m_name)));
        return;
    }
    QFile sheet(QDir(m_directory).filePath(m_name + QStringLiteral(".qss")));
    if (sheet.open(QIODevice::ReadOnly)) {
        app->setPalette(paletteOf(coloursOf(defaultSkin())));
        app->setStyleSheet(QString::fromUtf8(sheet.readAll()));
    }
}

} // namespace orv
