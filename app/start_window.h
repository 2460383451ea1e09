#pragma once

#include "core/window_services.h"
#include "net/module1.h"
#include "ui/picture.h"

#include <QWidget>

#include <cstdint>
#include <functional>

class QLabel;
class QTimer;

/// The start window: the program opens with it and the study and dictionary windows return
/// to it. Its load runs the start-up sequence (first-start batch step, reachability echo and,
/// when online, the defaults, upgrade step, online-load count, sibling notice and update
/// check); its activation runs the voice check.
///
/// The load runs when the window is first shown, before it is drawn; a load that unloads the
/// window (a newer version is published) leaves it unshown. Every handler runs its body
/// through the failure path.
class Form1 : public QWidget {
    Q_OBJECT
  public:
    /// The program's version: the caption "V5.4", the upgrade marker, the update threshold.
    static constexpr double kProgramVersion = 5.4;
    static constexpr int kTimerIntervalMs = 180;

    explicit Form1(const core::WindowServices& services, QWidget* parent = nullptr);
    ~Form1() override;

    // ---- Handlers ------------------------------------------------------------------------
    /// The start-up sequence.
    void Form_Load();
    /// The voice check: records a find of the preferred voice and shows one link label.
    void Form_Activate();
    /// The next frame of the logo animation (frames 1 to 5 of ImageList1, never 6).
    void Timer1_Timer();
    /// Start: shows the settings window and unloads this one.
    void Image3_Click();
    /// Dictionary lookup: shows the dictionary window and unloads this one.
    void Image5_Click();
    /// Exit: unloads this window and ends the program.
    void Image4_Click();
    /// Both link labels open the web site.
    void Label2_Click();
    void Label3_Click();

    // ---- Hover looks ---------------------------------------------------------------------
    void Image3_MouseMove();
    void Image4_MouseMove();
    void Image5_MouseMove();
    void Image1_MouseMove();

    /// True once the window unloaded itself (a way out or the update notice).
    bool unloaded() const { return mUnloaded; }

    // ---- Controls ------------------------------------------------------------------------
    ui::Picture* Image1 = nullptr;  // background
    ui::Picture* Image2 = nullptr;  // logo animation
    ui::Picture* Image3 = nullptr;  // start button
    ui::Picture* Image5 = nullptr;  // dictionary button
    ui::Picture* Image4 = nullptr;  // exit button
    QLabel* Label1 = nullptr;       // "V5.4"
    QLabel* Label2 = nullptr;       // voice-download offer
    QLabel* Label3 = nullptr;       // web-site link
    QTimer* Timer1 = nullptr;       // logo animation, 180 ms
    ui::ImageList ImageList1;       // the six logo frames
    /// 1 exit dark, 2 dictionary light, 3 dictionary dark, 4 start light, 5 exit light,
    /// 6 start dark.
    ui::ImageList ImageList2;

    // ---- Window state --------------------------------------------------------------------
    std::int32_t mFrameIndex = 0;   // number of the next logo frame
    net::IcmpEchoReply mEchoReply;  // reply of the reachability echo

  protected:
    void setVisible(bool visible) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildControls();
    void loadArtwork();
    void connectHandlers();

    void loadBody();
    void runBatchStepOnce();
    bool echoSucceeded();
    void writeOnlineDefaults();
    void runUpgradeStep();
    void countOnlineLoad();
    void showSiblingNotice();
    /// True when a newer version is published (the notice has been shown then).
    bool noticeOfNewerVersion();
    void activateBody();

    void openSite();
    void unload();
    bool guarded(const std::function<void()>& body);

    core::WindowServices mServices;
    bool mLoaded = false;
    bool mActivated = false;
    bool mUnloaded = false;
};
