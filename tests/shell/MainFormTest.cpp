#include "shell/MainForm.h"
#include "shell/CenterFrame.h"
#include "shell/ClockTask.h"
#include "shell/PopupScaling.h"

#include "IniFile.h"
#include "data/DataCon.h"
#include "data/Session.h"
#include "fixtures/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace orv;

namespace {

QStringList& events() {
    static QStringList log;
    return log;
}

// Work frames that write down what the main window does with them.
class FrameA : public TCustomInfoFrame {
    Q_OBJECT
public:
    FrameA(FrameContext& c, QWidget* p) : TCustomInfoFrame(c, p) { events() << QStringLiteral("A created"); }
    ~FrameA() override { events() << QStringLiteral("A freed"); }
    void AfterCreation() override {
        events() << QStringLiteral("A placed in %1")
                        .arg(parentWidget() ? parentWidget()->objectName() : "nothing");
    }
    void BeforeDestruct() override { events() << QStringLiteral("A before destruct"); }
};

class FrameB : public TCustomInfoFrame {
    Q_OBJECT
public:
    FrameB(FrameContext& c, QWidget* p) : TCustomInfoFrame(c, p) { events() << QStringLiteral("B created"); }
    ~FrameB() override { events() << QStringLiteral("B freed"); }
    void AfterCreation() override { events() << QStringLiteral("B placed"); }
    void BeforeDestruct() override { events() << QStringLiteral("B before destruct"); }
};

class MainFormTest : public ::testing::Test {
protected:
    MainFormTest() : m_ini(m_dir.filePath("System_Control.ini")), m_context{m_db, m_session, m_ini} {
        events().clear();
    }
    std::unique_ptr<TMainForm> makeWindow() { return std::make_unique<TMainForm>(m_context); }

    QTemporaryDir m_dir;
    IniFile m_ini;
    DataCon m_db;
    Session m_session;
    FrameContext m_context;
    test::ScriptedDialogs m_dialogs;
};

TEST_F(MainFormTest, FrameSwapPlacesTheNewFrameThenRetiresTheOld) {
    auto w = makeWindow();
    w->CreateNewFrame<FrameA>();
    EXPECT_EQ(events(), (QStringList{"A created", "A placed in PanelContainer"}));

    events().clear();
    w->CreateNewFrame<FrameB>();
    EXPECT_EQ(events(), (QStringList{"B created", "B placed", "A before destruct", "A freed"}));

    // The same screen again: the old one is freed before the new one exists.
    events().clear();
    w->CreateNewFrame<FrameB>();
    EXPECT_EQ(events(), (QStringList{"B freed", "B created", "B placed"}));
    EXPECT_NE(qobject_cast<FrameB*>(w->currentFrame()), nullptr);
}

TEST_F(MainFormTest, ClosingADialogShowsTheStartPictureAgain) {
    auto w = makeWindow();
    w->show();
    EXPECT_NE(qobject_cast<TCenter_frames*>(w->currentFrame()), nullptr);
    w->CreateNewFrame<FrameA>();
    QDialog dialog;
    Dialogs::current().showModal(dialog);
    EXPECT_NE(qobject_cast<TCenter_frames*>(w->currentFrame()), nullptr);
    EXPECT_TRUE(events().contains("A freed"));
}

TEST_F(MainFormTest, StartPictureIsCentredInTheContainer) {
    auto w = makeWindow();
    w->show();
    w->resize(1001, 700);
    QTest::qWait(50);
    auto* frame = qobject_cast<TCenter_frames*>(w->currentFrame());
    ASSERT_NE(frame, nullptr);
    const QWidget* container = frame->parentWidget();
    EXPECT_EQ(frame->picture()->x(), container->width() / 2 - frame->picture()->width() / 2);
    EXPECT_EQ(frame->picture()->y(), container->height() / 2 - frame->picture()->height() / 2);
}

TEST_F(MainFormTest, TerminalSoftwareFlagSwitchesItsEntryPointsAtActivation) {
    auto w = makeWindow();
    const auto state = [&] {
        // The ribbon itself stays disabled until a login; the buttons' own state is what counts.
        QWidget* ribbon = w->sPageControl1;
        return QList<bool>{w->sSpeedButton10->isEnabledTo(ribbon), w->sSpeedButton5->isEnabledTo(ribbon),
                           w->sSpeedButton9->isEnabledTo(ribbon), w->I1->isEnabled()};
    };
    w->FormActivate();
    EXPECT_EQ(state(), (QList<bool>{false, false, false, true}));
    m_ini.writeString("upControl", "zkteco", "yes");
    EXPECT_EQ(state(), (QList<bool>{false, false, false, true})); // not before the next activation
    w->FormActivate();
    EXPECT_EQ(state(), (QList<bool>{true, true, true, false}));
}

TEST_F(MainFormTest, RibbonStaysHiddenAndDisabledUntilRevealed) {
    auto w = makeWindow();
    w->show();
    EXPECT_FALSE(w->sPageControl1->isVisible());
    EXPECT_FALSE(w->sPageControl1->isEnabled());
    w->revealRibbon();
    EXPECT_TRUE(w->sPageControl1->isVisible());
    EXPECT_TRUE(w->sPageControl1->isEnabled());
    EXPECT_EQ(w->sPageControl1->tabText(w->sPageControl1->currentIndex()), "Library");
    QStringList tabs;
    for (int i = 0; i < w->sPageControl1->count(); ++i)
        tabs << w->sPageControl1->tabText(i);
    EXPECT_EQ(tabs, (QStringList{"Menu    ", "Library", "Transactions", "Report"}));
    EXPECT_FALSE(w->sSpeedButton4->isVisibleTo(w.get())); // "Personnel" is never shown
}

TEST_F(MainFormTest, PlacementIsSavedAtCloseUnlessMaximised) {
    {
        m_ini.writeString("Control", "Top", "40");
        m_ini.writeString("Control", "Left", "30");
        m_ini.writeString("Control", "Width", "900");
        m_ini.writeString("Control", "Height", "600");
        auto w = makeWindow();
        EXPECT_EQ(w->pos(), QPoint(30, 40));
        EXPECT_EQ(w->size(), QSize(900, 600));
        w->show();
        w->showMaximized();
        QTest::qWait(20);
        w->close();
    }
    EXPECT_EQ(m_ini.readString("Control", "Top"), "40");
    EXPECT_EQ(m_ini.readString("Control", "Width"), "900");
    EXPECT_EQ(m_ini.readString("Control", "SkinActive"), "1");
    EXPECT_EQ(m_ini.readString("Control", "SkinName"), SkinManager::defaultSkin());
    {
        auto w = makeWindow();
        w->show();
        w->move(70, 80);
        w->resize(950, 640);
        QTest::qWait(20);
        w->close();
    }
    EXPECT_EQ(m_ini.readInteger("Control", "Width", -1), 950);
    EXPECT_EQ(m_ini.readInteger("Control", "Height", -1), 640);
}

TEST_F(MainFormTest, BadStoredCoordinatesCentreTheWindowAndSkinSettingsApply) {
    m_ini.writeString("Control", "Top", "abc");
    m_ini.writeString("Control", "Left", "10");
    m_ini.writeString("Control", "SkinActive", "0");
    m_ini.writeString("Control", "SkinName", "Notes Leather (internal)");
    auto w = makeWindow();
    EXPECT_NE(w->pos(), QPoint(10, -1));
    EXPECT_FALSE(w->skins().active());
    EXPECT_EQ(w->skins().skinName(), "Notes Leather (internal)");
    EXPECT_GE(w->minimumWidth(), 873);
}

TEST_F(MainFormTest, ClockWritesTheTimeCheckIntoTheFirstPanel) {
    auto w = makeWindow();
    EXPECT_TRUE(ClockTask::timeCheckText().startsWith("Time Check : "));
    EXPECT_TRUE(ClockTask::timeCheckText().endsWith(" "));
    EXPECT_TRUE(QTest::qWaitFor([&] { return w->panelText(0).startsWith("Time Check : "); }, 3000));
}

TEST(PopupScaling, TrackBarSnapsNearTheMarks) {
    const std::pair<int, int> cases[] = {{118, 120}, {122, 120}, {123, 123}, {120, 120},
                                         {94, 96},   {190, 192}, {72, 72},   {147, 147}};
    for (const auto& [position, expected] : cases)
        EXPECT_EQ(TPopupScalings::snapToMark(position), expected) << position;
}

} // namespace

#include "MainFormTest.moc"
