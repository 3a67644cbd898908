#pragma once

#include <QObject>
#include <QStringList>

namespace orv {

// The look of the program: four skins built in, and external skins (Qt style
// sheets, *.qss) from the skin folder. Skinning can be switched off, which
// gives the platform's plain look.
class SkinManager : public QObject {
    Q_OBJECT
public:
    explicit SkinManager(QObject* parent = nullptr);

    static QStringList embeddedSkins();
    static QString defaultSkin();

    QString skinDirectory() const { return m_directory; }
    void setSkinDirectory(const QString& folder) { m_directory = folder; }
    // External skin names (file names without extension), sorted by name.
    QStringList externalSkins() const;

    QString skinName() const { return m_name; }
    // Selects a skin by name; an accelerator '&' in the name is ignored.
    void setSkinName(const QString& name);
    bool active() const { return m_active; }
    void setActive(bool active);

    bool discolouredGlyphs() const { return m_discoloured; }
    void setDiscolouredGlyphs(bool on) { m_discoloured = on; }

Q_SIGNALS:
    void beforeChange();
    void afterChange();

private:
    void apply();

    QString m_directory;
    QString m_name;
    bool m_active = true;
    bool m_discoloured = false;
};

} // namespace orv
