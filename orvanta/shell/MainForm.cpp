#include "MainForm.h"
#include "Artwork.h"
#include "CenterFrame.h"
#include "Dialogs.h"
#include "PopupScaling.h"
#include "devices/DownloadAttFrame.h"

#include "accounts/ChangepassForm.h"

#include "dtr/DataTodtrFrame.h"
#include "dtr/HolidayForm.h"

#include "IniFile.h"
#include "data/Session.h"
#include "platform/Platform.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPropertyAnimation>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QThread>
#include <QToolButton>
#include <QVBoxLayout>

namespace orv {

namespace {

const QString ControlSection = QStringLiteral("Control");
const QString UpdateSection = QStringLiteral("upControl");
constexpr int PanelWidths[4] = {190, 280, 150, 150};
constexpr int ClientWidth = 873, ClientHeight = 506;
constexpr int RibbonHeight = 107;
constexpr int LogoInset = 50;

} // namespace

TMainForm::TMainForm(FrameContext& context, const QStringList& arguments, QWidget* parent)
    : QMainWindow(parent), m_context(context) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Orvanta"));
    FormCreate(arguments);
}

TMainForm::~TMainForm() {
    FTimedTask.stop();
    Dialogs::setAfterModal({});
}

void TMainForm::FormCreate(const QStringList& arguments) {
    // Every date shown follows the program-wide short date format MM/dd/yyyy (data/Dates.h).
    connect(&FTimedTask, &ClockTask::MSGNewData, this, &TMainForm::MSGNewData);
    FTimedTask.start();

    QWidget* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    setCentralWidget(central);
    buildRibbon();
    layout->addWidget(sPageControl1);
    PanelContainer = new QWidget(central);
    PanelContainer->setObjectName(QStringLiteral("PanelContainer"));
    auto* containerLayout = new QVBoxLayout(PanelContainer);
    containerLayout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(PanelContainer, 1);
    buildMenu();
    buildStatusBar();

    m_logo = new QLabel(this);
    m_logo->setObjectName(QStringLiteral("sImage1"));
    m_logo->setPixmap(cornerLogo());
    m_logo->resize(m_logo->pixmap().size());
    m_logo->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto* translucent = new QGraphicsOpacityEffect(m_logo);
    translucent->setOpacity(0.25);
    m_logo->setGraphicsEffect(translucent);

    resize(ClientWidth, ClientHeight);
    setMinimumSize(ClientWidth, ClientHeight);

    // Skin folder beside the executable.
    m_skins.setSkinDirectory(QCoreApplication::applicationDirPath() + QStringLiteral("/Skins"));
    if (!arguments.isEmpty() && arguments.first() == QLatin1String("/acpreview"))
        m_skins.setDiscolouredGlyphs(true);

    IniFile& ini = m_context.ini;
    const int top = ini.readInteger(ControlSection, QStringLiteral("Top"), -1);
    const int left = ini.readInteger(ControlSection, QStringLiteral("Left"), -1);
    if (top != -1 && left != -1) {
        const int width = ini.readInteger(ControlSection, QStringLiteral("Width"), -1);
        const int height = ini.readInteger(ControlSection, QStringLiteral("Height"), -1);
        move(left, top);
        resize(std::max(width, ClientWidth), std::max(height, ClientHeight));
    } else if (const QScreen* screen = QApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    const QString skinDirectory = ini.readString(ControlSection, QStringLiteral("SkinDirectory"));
    if (!skinDirectory.isEmpty())
        m_skins.setSkinDirectory(skinDirectory);
    connect(&m_skins, &SkinManager::beforeChange, this, [this] {
        if (CurrentFrame)
            CurrentFrame->BeforeSkinChange();
    });
    connect(&m_skins, &SkinManager::afterChange, this, [this] {
        if (CurrentFrame)
            CurrentFrame->AfterSkinChange();
        if (m_skinPicker) {
            QSignalBlocker block(m_skinPicker);
            m_skinPicker->setCurrentText(m_skins.skinName());
        }
        m_embeddedSkins->clear(); // rebuilt, with the new tick, when the menu opens
        m_externalSkins->clear();
        platform::trimMemory();
    });
    const QString skinName = ini.readString(ControlSection, QStringLiteral("SkinName"));
    const bool skinActive = ini.readInteger(ControlSection, QStringLiteral("SkinActive"), 1) == 1;
    m_skins.setActive(skinActive);
    m_skins.setSkinName(skinName.isEmpty() ? m_skins.skinName() : skinName);

    m_skinPicker->addItems(SkinManager::embeddedSkins() + m_skins.externalSkins());
    m_skinPicker->setCurrentText(m_skins.skinName());
    Dialogs::setAfterModal([this] { FormActivate(); });
}

QToolButton* TMainForm::ribbonButton(QWidget* page, const QString& name, const QString& caption,
                                     int iconKind) {
    auto* button = new QToolButton(page);
    button->setObjectName(name);
    button->setText(caption);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    button->setIconSize(QSize(32, 32));
    button->setMinimumWidth(84);
    button->setIcon(style()->standardIcon(static_cast<QStyle::StandardPixmap>(iconKind)));
    page->layout()->addWidget(button);
    return button;
}

void TMainForm::buildRibbon() {
    sPageControl1 = new QTabWidget(this);
    sPageControl1->setObjectName(QStringLiteral("sPageControl1"));
    sPageControl1->setFixedHeight(RibbonHeight);
    const auto page = [this](const QString& name, const QString& caption) {
        auto* w = new QWidget(sPageControl1);
        w->setObjectName(name);
        auto* l = new QHBoxLayout(w);
        l->setContentsMargins(4, 2, 4, 2);
        sPageControl1->addTab(w, caption);
        return w;
    };
    QWidget* menuPage = page(QStringLiteral("sTabSheet1"), QStringLiteral("Menu    "));
    QWidget* library = page(QStringLiteral("sTabSheet2"), QStringLiteral("Library"));
    QWidget* transactions = page(QStringLiteral("sTabSheet3"), QStringLiteral("Transactions"));
    QWidget* report = page(QStringLiteral("sTabSheet4"), QStringLiteral("Report"));
    static_cast<QHBoxLayout*>(menuPage->layout())->addStretch();
    static_cast<QHBoxLayout*>(report->layout())->addStretch();

    sSpeedButton3 = ribbonButton(library, QStringLiteral("sSpeedButton3"), QStringLiteral("Office"),
                                 QStyle::SP_DirHomeIcon);
    sSpeedButton8 = ribbonButton(library, QStringLiteral("sSpeedButton8"), QStringLiteral("Holidays"),
                                 QStyle::SP_FileDialogDetailedView);
    sSpeedButton10 = ribbonButton(library, QStringLiteral("sSpeedButton10"), QStringLiteral("Devices"),
                                  QStyle::SP_DriveNetIcon);
    sSpeedButton10->setVisible(false);
    sSpeedButton4 = ribbonButton(library, QStringLiteral("sSpeedButton4"), QStringLiteral("Personnel"),
                                 QStyle::SP_FileDialogContentsView);
    sSpeedButton4->setVisible(false);
    sSpeedButton9 = ribbonButton(library, QStringLiteral("sSpeedButton9"), QStringLiteral("Import Personnel"),
                                 QStyle::SP_ArrowUp);
    static_cast<QHBoxLayout*>(library->layout())->addStretch();

    sSpeedButton5 = ribbonButton(transactions, QStringLiteral("sSpeedButton5"),
                                 QStringLiteral("Download Attendance"), QStyle::SP_ArrowDown);
    sSpeedButton6 = ribbonButton(transactions, QStringLiteral("sSpeedButton6"), QStringLiteral("Data to DTR"),
                                 QStyle::SP_FileIcon);
    sSpeedButton7 = ribbonButton(transactions, QStringLiteral("sSpeedButton7"),
                                 QStringLiteral("Download for Permanent"), QStyle::SP_DialogSaveButton);
    static_cast<QHBoxLayout*>(transactions->layout())->addStretch();

    connect(sSpeedButton3, &QToolButton::clicked, this, &TMainForm::sSpeedButton3Click);
    connect(sSpeedButton4, &QToolButton::clicked, this, &TMainForm::sSpeedButton4Click);
    connect(sSpeedButton5, &QToolButton::clicked, this, &TMainForm::sSpeedButton5Click);
    connect(sSpeedButton6, &QToolButton::clicked, this, &TMainForm::sSpeedButton6Click);
    connect(sSpeedButton7, &QToolButton::clicked, this, &TMainForm::sSpeedButton7Click);
    connect(sSpeedButton8, &QToolButton::clicked, this, &TMainForm::sSpeedButton8Click);
    connect(sSpeedButton9, &QToolButton::clicked, this, &TMainForm::sSpeedButton9Click);

    // Top right: "Change DPI" and the skin picker.
    auto* corner = new QWidget(sPageControl1);
    auto* cornerLayout = new QHBoxLayout(corner);
    cornerLayout->setContentsMargins(0, 0, 4, 0);
    sSpeedButton1 = new QToolButton(corner);
    sSpeedButton1->setObjectName(QStringLiteral("sSpeedButton1"));
    sSpeedButton1->setText(QStringLiteral("Change DPI"));
    sSpeedButton1->setPopupMode(QToolButton::InstantPopup);
    connect(sSpeedButton1, &QToolButton::clicked, this, &TMainForm::sSpeedButton1Click);
    auto* skinLabel = new QLabel(QStringLiteral("Skin name :"), corner);
    m_skinPicker = new QComboBox(corner);
    m_skinPicker->setObjectName(QStringLiteral("sSkinSelector1"));
    m_skinPicker->setMinimumWidth(170);
    cornerLayout->addWidget(sSpeedButton1);
    cornerLayout->addWidget(skinLabel);
    cornerLayout->addWidget(m_skinPicker);
    sPageControl1->setCornerWidget(corner, Qt::TopRightCorner);
    connect(m_skinPicker, &QComboBox::textActivated, &m_skins, &SkinManager::setSkinName);

    // The "Menu" tab opens the main menu instead of a page.
    connect(sPageControl1, &QTabWidget::tabBarClicked, this, [this](int index) {
        if (index != 0)
            return;
        GenerateSkinsList();
        m_mainMenu->popup(sPageControl1->mapToGlobal(sPageControl1->tabBar()->tabRect(0).bottomLeft()));
    });
    sPageControl1->setCurrentIndex(1); // opens on "Library"
    connect(sPageControl1, &QTabWidget::currentChanged, this, [this](int index) {
        if (index == 0)
            sPageControl1->setCurrentIndex(1);
    });
    sPageControl1->setVisible(false);
    sPageControl1->setEnabled(false);
}

void TMainForm::buildMenu() {
    m_mainMenu = new QMenu(this);
    m_mainMenu->setObjectName(QStringLiteral("sSkinableMenus1"));
    m_embeddedSkins = m_mainMenu->addMenu(QStringLiteral("Embedded skins"));
    QFont bold = m_embeddedSkins->menuAction()->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() + 2);
    m_embeddedSkins->menuAction()->setFont(bold);
    m_externalSkins = m_mainMenu->addMenu(QStringLiteral("External skins"));
    QMenu* settings = m_mainMenu->addMenu(QStringLiteral("Settings"));
    C1 = settings->addAction(QStringLiteral("Change Password"), this, &TMainForm::C1Click);
    C1->setObjectName(QStringLiteral("C1"));
    I1 = settings->addAction(QStringLiteral("Install zkteco driver"), this, &TMainForm::InstallDriverClick);
    I1->setObjectName(QStringLiteral("I1"));
    I1->setEnabled(false);
    U1 = settings->addAction(QStringLiteral("Upload driver"));
    U1->setObjectName(QStringLiteral("U1"));
    U1->setEnabled(false);
    E1 = m_mainMenu->addAction(QStringLiteral("Exit"), this, &TMainForm::E1Click);
    E1->setObjectName(QStringLiteral("E1"));
}

void TMainForm::GenerateSkinsList() {
    const auto fill = [this](QMenu* menu, const QStringList& names) {
        if (!menu->isEmpty())
            return;
        auto* group = new QActionGroup(menu);
        for (const QString& name : names) {
            QAction* a = menu->addAction(name);
            a->setCheckable(true);
            a->setChecked(m_skins.active() && name == m_skins.skinName());
            group->addAction(a);
            connect(a, &QAction::triggered, this, [this, a] { m_skins.setSkinName(a->text()); });
        }
    };
    fill(m_embeddedSkins, SkinManager::embeddedSkins());
    fill(m_externalSkins, m_skins.externalSkins());
}

void TMainForm::buildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("sStatusBar1"));
    bar->setSizeGripEnabled(true);
    for (int i = 0; i < 4; ++i) {
        m_panels[static_cast<size_t>(i)] = new QLabel(bar);
        m_panels[static_cast<size_t>(i)]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        m_panels[static_cast<size_t>(i)]->setFixedWidth(PanelWidths[i]);
        bar->addWidget(m_panels[static_cast<size_t>(i)]);
    }
    m_panels[3]->setText(QStringLiteral("Orvanta DTR system"));
}

void TMainForm::setPanelText(int panel, const QString& text) {
    if (panel >= 0 && panel < 4)
        m_panels[static_cast<size_t>(panel)]->setText(text);
}

QString TMainForm::panelText(int panel) const {
    return panel >= 0 && panel < 4 ? m_panels[static_cast<size_t>(panel)]->text() : QString();
}

void TMainForm::revealRibbon() {
    sPageControl1->setVisible(true);
    sPageControl1->setEnabled(true);
}

void TMainForm::MSGNewData(const QString& date) {
    platform::trimMemory();
    setPanelText(0, date);
}

void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    platform::trimMemory();
    if (!CurrentFrame)
        FormActivate(); // the first activation
    placeLogo();
}

void TMainForm::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    placeLogo();
}

void TMainForm::placeLogo() {
    if (!m_logo)
        return;
    m_logo->move(width() - LogoInset - m_logo->width(), height() - LogoInset - m_logo->height());
    m_logo->raise();
}

void TMainForm::FormActivate() {
    CreateNewFrame<TCenter_frames>();
    const bool sdkInstalled = m_context.ini.valueExists(UpdateSection, QStringLiteral("zkteco"));
    sSpeedButton10->setEnabled(sdkInstalled);
    sSpeedButton5->setEnabled(sdkInstalled);
    sSpeedButton9->setEnabled(sdkInstalled);
    I1->setEnabled(!sdkInstalled);
}

TCustomInfoFrame* TMainForm::CreateNewFrame(const QMetaObject* frameClass, const FrameFactory& make,
                                            QObject* sender) {
    if (CurrentFrame)
        OldFrame = CurrentFrame;
    if (OldFrame && OldFrame->metaObject() == frameClass) {
        delete OldFrame.data(); // the same screen again: the old one goes first
        OldFrame = nullptr;
    }
    CurrentFrame = make(m_context, nullptr);
    CurrentFrame->setParent(this);
    UpdateFrame(sender);
    Q_EMIT frameCreated(CurrentFrame);
    return CurrentFrame;
}

void TMainForm::UpdateFrame(QObject* sender) {
    const auto* button = qobject_cast<QToolButton*>(sender);
    if (button && !button->icon().isNull())
        CurrentFrame->setVisible(false);
    CurrentFrame->setParent(PanelContainer);
    PanelContainer->layout()->addWidget(CurrentFrame);
    CurrentFrame->AfterCreation();
    UpdateFrameControls();
}

void TMainForm::UpdateFrameControls() {
    if (m_skins.active()) {
        CurrentFrame->lower();
        CurrentFrame->setLayoutDirection(layoutDirection());
        CurrentFrame->setVisible(true);
        if (OldFrame)
            OldFrame->setVisible(false);
        if (isVisible()) {
            auto* fade = new QGraphicsOpacityEffect(CurrentFrame);
            CurrentFrame->setGraphicsEffect(fade);
            auto* animation = new QPropertyAnimation(fade, "opacity", CurrentFrame);
            animation->setDuration(150);
            animation->setStartValue(0.0);
            animation->setEndValue(1.0);
            QPointer<TCustomInfoFrame> frame = CurrentFrame;
            connect(animation, &QPropertyAnimation::finished, this, [frame] {
                if (frame)
                    frame->setGraphicsEffect(nullptr);
            });
            animation->start(QAbstractAnimation::DeleteWhenStopped);
        }
    } else {
        CurrentFrame->setVisible(true);
    }
    if (OldFrame) {
        OldFrame->BeforeDestruct();
        delete OldFrame.data();
        OldFrame = nullptr;
    }
}

void TMainForm::sSpeedButton1Click() {
    if (!m_scaling) {
        m_scaling = new TPopupScalings(this);
        connect(m_scaling, &TPopupScalings::captionChanged, sSpeedButton1, &QToolButton::setText);
    }
    m_scaling->popupBelow(sSpeedButton1);
}

// Entry points whose screens come with their own work.
void TMainForm::sSpeedButton3Click() {}
void TMainForm::sSpeedButton4Click() {}
void TMainForm::sSpeedButton5Click() {
    CreateNewFrame<TDownloadAtt_Frames>(sender());
}
void TMainForm::sSpeedButton6Click() {
    CreateNewFrame<TDataTodtr_Frames>(sender());
}
void TMainForm::sSpeedButton7Click() {}
void TMainForm::sSpeedButton8Click() {
    // A new window each time, owned by nobody, centred on the main window.
    THoliday_forms form(m_context, nullptr);
    form.move(geometry().center() - form.rect().center());
    Dialogs::current().showModal(form);
}
void TMainForm::sSpeedButton9Click() {}
void TMainForm::C1Click() {
    Tchangepass_forms dialog(m_context, this);
    Dialogs::current().showModal(dialog);
}
void TMainForm::InstallDriverClick() {}

void TMainForm::E1Click() {
    QCoreApplication::quit();
}

void TMainForm::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}

void TMainForm::FormClose() {
    FTimedTask.stop();
    IniFile& ini = m_context.ini;
    try {
        if (!isMaximized()) {
            ini.writeInteger(ControlSection, QStringLiteral("Top"), y());
            ini.writeInteger(ControlSection, QStringLiteral("Left"), x());
            ini.writeInteger(ControlSection, QStringLiteral("Width"), width());
            ini.writeInteger(ControlSection, QStringLiteral("Height"), height());
        }
        ini.writeString(ControlSection, QStringLiteral("SkinDirectory"), m_skins.skinDirectory());
        ini.writeString(ControlSection, QStringLiteral("SkinName"), m_skins.skinName());
        ini.writeString(ControlSection, QStringLiteral("SkinActive"),
                        m_skins.active() ? QStringLiteral("1") : QStringLiteral("0"));
    } catch (const std::exception& e) {
        showError(this, QStringLiteral("The window settings could not be saved: %1").arg(e.what()));
    }
    QCoreApplication::quit();
    platform::trimMemory();
    // Standby and hibernation settings are left to the system on this platform.
}

} // namespace orv
