#pragma once

#include "ClockTask.h"
#include "CustomInfoFrame.h"
#include "FrameContext.h"
#include "SkinManager.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <functional>

class QAction;
class QLabel;
class QMenu;
class QTabWidget;
class QToolButton;
class QComboBox;

namespace orv {

class TPopupScalings;

// The main window: the ribbon with every entry point, the container that
// shows one work frame at a time, the status bar with the clock and the
// user's name, and the look settings kept in [Control] of the settings file.
class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    using FrameFactory = std::function<TCustomInfoFrame*(FrameContext&, QWidget* parent)>;

    explicit TMainForm(FrameContext& context, const QStringList& arguments = {}, QWidget* parent = nullptr);
    ~TMainForm() override;

    // Replaces the current work frame by a new frame of class F.
    template <class F> F* CreateNewFrame(QObject* sender = nullptr) {
        return static_cast<F*>(CreateNewFrame(
            &F::staticMetaObject, [](FrameContext& c, QWidget* p) { return new F(c, p); }, sender));
    }
    TCustomInfoFrame* CreateNewFrame(const QMetaObject* frameClass, const FrameFactory& make,
                                     QObject* sender);
    TCustomInfoFrame* currentFrame() const { return CurrentFrame; }

    // Shown and enabled by a granted login.
    QTabWidget* sPageControl1 = nullptr;
    void revealRibbon();

    void setPanelText(int panel, const QString& text);
    QString panelText(int panel) const;

    SkinManager& skins() { return m_skins; }
    FrameContext& context() { return m_context; }

public Q_SLOTS:
    // Activation: start picture, and the entry points that need the terminal software.
    void FormActivate();
    void MSGNewData(const QString& date);

    void sSpeedButton1Click(); // Change DPI
    void sSpeedButton3Click(); // Office
    void sSpeedButton4Click(); // Personnel
    void sSpeedButton5Click(); // Download Attendance
    void sSpeedButton6Click(); // Data to DTR
    void sSpeedButton7Click(); // Download for Permanent
    void sSpeedButton8Click(); // Holidays
    void sSpeedButton9Click(); // Import Personnel
    void C1Click();            // Settings > Change Password
    void InstallDriverClick(); // Settings > Install zkteco driver
    void E1Click();            // Exit

Q_SIGNALS:
    void frameCreated(TCustomInfoFrame* frame);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void FormCreate(const QStringList& arguments);
    void FormClose();
    void buildRibbon();
    void buildMenu();
    void buildStatusBar();
    void GenerateSkinsList();
    void placeLogo();
    void UpdateFrame(QObject* sender);
    void UpdateFrameControls();
    QToolButton* ribbonButton(QWidget* page, const QString& name, const QString& caption, int iconKind);

    FrameContext& m_context;
    SkinManager m_skins;
    ClockTask FTimedTask;
    QPointer<TCustomInfoFrame> CurrentFrame;
    QPointer<TCustomInfoFrame> OldFrame;
    QWidget* PanelContainer = nullptr;
    QLabel* m_logo = nullptr;
    std::array<QLabel*, 4> m_panels{};
    QMenu* m_mainMenu = nullptr;
    QMenu* m_embeddedSkins = nullptr;
    QMenu* m_externalSkins = nullptr;
    QComboBox* m_skinPicker = nullptr;
    TPopupScalings* m_scaling = nullptr;

public:
    // Ribbon buttons and menu entries, by the names the program gives them.
    QToolButton* sSpeedButton1 = nullptr;  // "Change DPI"
    QToolButton* sSpeedButton3 = nullptr;  // "Office"
    QToolButton* sSpeedButton4 = nullptr;  // "Personnel" (hidden)
    QToolButton* sSpeedButton5 = nullptr;  // "Download Attendance"
    QToolButton* sSpeedButton6 = nullptr;  // "Data to DTR"
    QToolButton* sSpeedButton7 = nullptr;  // "Download for Permanent"
    QToolButton* sSpeedButton8 = nullptr;  // "Holidays"
    QToolButton* sSpeedButton9 = nullptr;  // "Import Personnel"
    QToolButton* sSpeedButton10 = nullptr; // "Devices" (hidden, no action)
    QAction* C1 = nullptr;                 // "Change Password"
    QAction* I1 = nullptr;                 // "Install zkteco driver"
    QAction* U1 = nullptr;                 // "Upload driver"
    QAction* E1 = nullptr;                 // "Exit"
};

} // namespace orv
