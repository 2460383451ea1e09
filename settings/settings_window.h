#pragma once

#include "core/window_services.h"
#include "settings/plans.h"
#include "settings/store.h"
#include "ui/picture.h"

#include <QString>
#include <QWidget>

#include <array>
#include <functional>
#include <span>
#include <vector>

class QFrame;
class QLabel;
class QRadioButton;
class QTabBar;

namespace settings {

/// The settings window's two-tab control: one row of tabs across the top, each tab's page
/// below it. Reports every change of the tab on view, changes made by the program included.
class TabControl : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kTabRowHeight = 24;

    explicit TabControl(QWidget* parent = nullptr);

    /// Adds a tab; its page becomes a child of the control, shown only while its tab is on view.
    void addTab(const QString& caption, QWidget* page);
    int currentIndex() const;
    void setCurrentIndex(int index);
    QTabBar* tabBar() const { return bar_; }
    QWidget* page(int index) const { return pages_.at(static_cast<size_t>(index)); }

  signals:
    void currentChanged(int index);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void showPage(int index);

    QTabBar* bar_ = nullptr;
    std::vector<QWidget*> pages_;
};

}  // namespace settings

/// The settings window: the learner picks a study plan or a test kind, sees the study record,
/// and confirms; the choice goes into the settings store and the study window opens.
///
/// The window keeps no state of its own: what it shows comes from the store at load and at
/// every tab change, and the selection between those moments lives in the option buttons.
/// Every handler runs its body through the failure path.
class Form2 : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kTestTab = 0;
    static constexpr int kStudyTab = 1;

    explicit Form2(const core::WindowServices& services, QWidget* parent = nullptr);
    ~Form2() override;

    // ---- Handlers ------------------------------------------------------------------------
    /// Load: the opening tab, the new-word-list threshold, the smart plan's caption, then the
    /// display of the tab on view. Runs by itself the first time the window is shown, unless
    /// it has already run.
    void Form_Load();
    /// Every change of the tab on view: the display of the tab now on view.
    void SSTab1_Click();
    /// The Study tab's OK button: stores the plan and the activity "learn", opens the study
    /// window and unloads this one.
    void Image3_Click();
    /// The Test tab's OK button: stores the test kind and the activity "test", opens the study
    /// window and unloads this one.
    void Image4_Click();

    // ---- Hover looks: over an OK button its light look; over its page's background picture
    // the normal look comes back. Nothing else restores it.
    void Image3_MouseMove();
    void Image2_MouseMove();
    void Image4_MouseMove();
    void Image1_MouseMove();

    /// The display of the tab on view: the Study tab's record panel and saved plan, or the
    /// Test tab's saved test kind. Only sets captions and selections.
    void ShowTabState();

    // ---- Controls ------------------------------------------------------------------------
    QFrame* Frame1 = nullptr;                // empty frame behind the tab control
    settings::TabControl* SSTab1 = nullptr;  // tab 0 "测试" (Test), tab 1 "学习" (Study)

    QFrame* Frame3 = nullptr;                 // the Study page
    ui::Picture* Image2 = nullptr;            // its background picture
    std::array<QRadioButton*, 12> Option1{};  // study plans
    ui::Picture* Image3 = nullptr;            // its OK button
    ui::Picture* Picture1 = nullptr;          // the study record panel
    QLabel* Label1 = nullptr;                 // vocabulary estimate
    QLabel* Label2 = nullptr;                 // practice count
    QLabel* Label3 = nullptr;                 // words added
    ui::ImageList ImageList1;                 // 1 确定 light (hover), 2 确定 dark (normal)

    QFrame* Frame2 = nullptr;                // the Test page
    ui::Picture* Image1 = nullptr;           // its background picture
    std::array<QRadioButton*, 8> Option2{};  // test kinds
    ui::Picture* Image4 = nullptr;           // its OK button
    ui::ImageList ImageList2;                // 1 确定 light (hover), 2 确定 dark (normal)

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void buildControls();
    void buildStudyPage();
    void buildTestPage();
    void loadArtwork();
    void connectHandlers();

    void loadBody();
    void showStudyState();
    void showTestState();
    /// The OK buttons' common steps: the value of the first selected option (if any) into
    /// `choiceKey`, the activity into `Mode`/`whichone`, the study window, then unloading.
    void confirm(std::span<QRadioButton* const> group, std::span<const settings::PlanOption> table,
                 const settings::Key& choiceKey, const QString& activity);
    /// A picture of the image list shown at its own size from the control's top-left corner.
    static void showLook(const ui::ImageList& list, ui::Picture& control, int index);
    bool guarded(const std::function<void()>& body);

    core::WindowServices mServices;
    bool mLoaded = false;
};
