// SPDX-License-Identifier: GPL-2.0-or-later
// The real window on Qt's offscreen platform: what a user sees and can do.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>

#include "app/demo_machine.h"
#include "app/flash_app.h"
#include "app/responsive_platform.h"
#include "platform/linux/linux_program_file.h"
#include "platform/linux/posix_file_system.h"
#include "platform/sim/sim_platform.h"
#include "resources/pictures.h"
#include "tests/firmware/memory_file_system.h"
#include "ui/control_ids.h"
#include "ui/drive_in_use_notice.h"
#include "ui/flash_dialog.h"
#include "ui/message_catalogue.h"
#include "ui/qt/qt_dialog_view.h"

namespace zentor {
namespace {

using ui::qt::QtDialogView;

QString ScreenshotPath(const QString& name) {
  QDir().mkpath(ZENTOR_SCREENSHOT_DIR);
  return QString(ZENTOR_SCREENSHOT_DIR) + "/" + name;
}

// What the window showed each time the dialog made it repaint.
struct Shown {
  QString info;
  int progress;
};

class RecordingWindow : public QtDialogView {
 public:
  using QtDialogView::QtDialogView;
  void RepaintNow() override {
    QtDialogView::RepaintNow();
    shown.push_back({Widget<QTextEdit>(1006)->toPlainText(), Widget<QProgressBar>(1007)->value()});
    // The package's screenshot: the window at the first repaint of the writing phase.
    if (!wroteScreenshot && shown.back().info.contains(">> Writing"))
      wroteScreenshot = grab().save(ScreenshotPath("main-dialog-writing.png"));
  }
  bool wroteScreenshot = false;
  template <typename W>
  W* Widget(int id) const {
    return qobject_cast<W*>(Control(id));
  }
  std::vector<Shown> shown;
};

// A simulated machine with the demo's drives on virtual time, their update files in
// memory, and the dialog in a real window.
struct Rig {
  Rig() : window(resources::TemplateLanguage::English) {
    machine.SetProgramFile(QCoreApplication::applicationFilePath().toStdString(),
                           program.ReadVersionInfo(program.ProgramFilePath()));
    drives = app::AttachDemoDrives(machine.bus(), machine.clock());
    app::WriteSampleFiles(drives, files);
    window.Connect(&dialog);
  }
  bool Start() {
    return window.Start([this] { dialog.InitDialog(); });
  }
  void Click(int id) { QTest::mouseClick(window.Control(id), Qt::LeftButton); }

  platform::linux_os::LinuxProgramFile program;
  platform::sim::SimPlatform machine;
  app::ResponsivePlatform responsive{machine, [] { QCoreApplication::processEvents(); }};
  test_support::MemoryFileSystem files;
  std::vector<app::DemoDrive> drives;
  RecordingWindow window;
  ui::FlashDialog dialog{window, files, responsive};
};

}  // namespace

class QtDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void opensAtStepThreeAndRunsAFullUpdateWithBackup() {
    Rig rig;
    QVERIFY(rig.Start());
    QVERIFY(rig.window.isVisible());
    QCOMPARE(rig.window.windowTitle(), QString("Zentor"));
    QCOMPARE(rig.dialog.WizardStep, 3);

    auto* drives = rig.window.Widget<QComboBox>(1000);
    QCOMPARE(drives->count(), 4);
    QCOMPARE(drives->currentIndex(), 0);
    QCOMPARE(drives->currentText(), QString("cdrom0 :  VAREL   CD-RW KX4840A   1.00"));
    auto* files = rig.window.Widget<QComboBox>(1001);
    QCOMPARE(files->count(), 4);
    QCOMPARE(files->currentText(), QString("kxr42.vrl"));
    QCOMPARE(rig.window.Widget<QLabel>(1018)->text(), QString("ZT-KXR42 KX4410B KXR42   8.515"));
    QCOMPARE(rig.window.Widget<QTextEdit>(1026)->toPlainText(),
             QString("DVD+RW/+R Drive KX4410B F/W Update Program\n95/98/Me/NT4/2000/XP"));
    QCOMPARE(rig.window.Widget<QLabel>(1030)->text(), QString("2003  Ver 8.515."));
    QVERIFY(rig.window.Widget<QRadioButton>(1015)->isChecked());
    QVERIFY(rig.window.Widget<QCheckBox>(1020)->isHidden());
    QVERIFY(rig.window.Widget<QCheckBox>(1021)->isHidden());
    QCOMPARE(rig.window.Widget<QProgressBar>(1007)->maximum(), 120);
    // The logo takes its bitmap's size inside its frame; the icon comes in its two sizes.
    QWidget* logo = rig.window.Control(1027);
    const int frame = 2 * qobject_cast<QLabel*>(logo)->frameWidth();
    QCOMPARE(logo->size(), QSize(resources::kLogoWidth + frame, resources::kLogoHeight + frame));
    QCOMPARE(rig.window.windowIcon().availableSizes(),
             QList<QSize>({QSize(32, 32), QSize(16, 16)}));
    rig.window.grab().save(ScreenshotPath("main-dialog-en.png"));

    // Next, then Start: a full update, showing every step.
    rig.Click(1004);  // back up first
    QVERIFY(rig.window.Widget<QCheckBox>(1004)->isChecked());
    QCOMPARE(rig.window.Widget<QLabel>(1019)->text(), QString("CDRWFW00.VRL"));
    rig.Click(1003);
    QCOMPARE(rig.window.Widget<QPushButton>(1003)->text(), QString("Start"));
    rig.window.shown.clear();
    // While the update runs the window system still gets its turn, but what the user does
    // meanwhile is dropped: the language does not change and the window stays open.
    std::size_t commandsWhenTimerRan = 0;
    QTimer::singleShot(0, [&] {
      commandsWhenTimerRan = rig.drives[0].drive->received().size();
      rig.Click(1016);
      QTest::keyClick(&rig.window, Qt::Key_Escape);
      rig.window.close();
    });
    rig.Click(1003);
    rig.window.grab().save(ScreenshotPath("main-dialog-ok.png"));
    QVERIFY(commandsWhenTimerRan > 0);
    QVERIFY(!rig.window.Widget<QRadioButton>(1016)->isChecked());
    QCOMPARE(rig.dialog.UiLanguage, ui::kEnglish);
    QVERIFY(rig.window.isVisible());

    QCOMPARE(rig.dialog.WizardStep, 11);
    QVERIFY(rig.window.Widget<QTextEdit>(1006)->toPlainText().contains(" *** OK ** OK ** OK *** "));
    QVERIFY(rig.window.Control(2)->isEnabled());
    QVERIFY(!rig.window.Control(1003)->isEnabled());
    QCOMPARE(rig.drives[0].drive->flash(), app::UpdateImageOf(rig.drives[0]));
    QVERIFY(rig.files.files.count("CDRWFW00.VRL") == 1);
    // Japanese once it has ended: every fixed control recaptioned, the step shown again.
    const QString info = rig.window.Widget<QTextEdit>(1006)->toPlainText();
    rig.Click(1016);
    for (int id : {ui::kTargetDriveLabel, ui::kSourceFileLabel, ui::kInformationLabel,
                   ui::kProgressLabel, ui::kBackupCheckBox, ui::kCloseButton, ui::kBackButton})
      QCOMPARE(rig.window.Control(id)->property("text").toString(),
               QString::fromUtf8(ui::FixedCaption(id).In(ui::kJapanese)));
    QVERIFY(rig.window.Widget<QTextEdit>(1006)->toPlainText() != info);

    // Every phase was on screen with its arrow, in order, and the bar moved up to its end.
    const auto& phases = ui::PhaseLines();
    std::size_t next = 0;
    int highest = 0;
    bool rising = true;
    for (const Shown& shown : rig.window.shown) {
      const auto arrow = [&] { return ">> " + QString::fromUtf8(phases[next].english).trimmed(); };
      if (next < phases.size() && shown.info.contains(arrow())) ++next;
      rising = rising && (shown.progress >= highest || shown.progress == 0);
      highest = std::max(highest, shown.progress);
    }
    QCOMPARE(next, phases.size());
    QVERIFY(rising);
    QCOMPARE(highest, 120);
  }

  // Handed a firmware file, the window works in the file's folder with the file chosen; a
  // path that is not there ends the program with status 2 and a box saying why, before any
  // drive is looked at.
  void startsWhereAFileLiesOrSaysWhyNot() {
    const QString home = QDir::currentPath();
    QTemporaryDir folder;
    QVERIFY(QDir::setCurrent(folder.path()));
    platform::sim::SimPlatform machine;
    platform::linux_os::PosixFileSystem files;
    const auto drives = app::AttachDemoDrives(machine.bus(), machine.clock());
    app::WriteSampleFiles(drives, files);
    QVERIFY(QDir::setCurrent(home));
    QString seen;
    QTimer watch;
    watch.callOnTimeout([&] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        seen = box->text();
        box->accept();
      } else if (auto* window = dynamic_cast<QtDialogView*>(QApplication::activeModalWidget())) {
        // What the window says of the file follows the choice, as when a user picks it.
        qobject_cast<QCheckBox*>(window->Control(1004))->click();
        seen = QStringList{QDir::currentPath(),
                           qobject_cast<QComboBox*>(window->Control(1001))->currentText(),
                           qobject_cast<QLabel*>(window->Control(1018))->text(),
                           qobject_cast<QLabel*>(window->Control(1019))->text()}
                   .join(" | ");
        QTest::mouseClick(window->Control(2), Qt::LeftButton);
      }
    });
    watch.start(10);
    const auto run = [&](const QString& path) {
      seen.clear();
      const app::StartingPlace place = app::MoveToStartingPlace(path.toStdString(), files);
      return place.error.empty()
                 ? app::RunWindow(machine, files, resources::TemplateLanguage::English, place)
                 : app::RefuseStartingPlace("zentor", place.error, true);
    };
    QCOMPARE(run(folder.filePath("gone.vrl")), 2);
    QCOMPARE(seen, "no such file or folder: " + folder.filePath("gone.vrl"));
    QVERIFY(drives[0].drive->received().empty());
    QVERIFY(QDir(folder.path()).rename("kxr70.vrl", "ファーム新.vrl"));  // a name in any language
    QCOMPARE(run(folder.filePath("ファーム新.vrl")), 0);
    QCOMPARE(seen,
             folder.path() + " | ファーム新.vrl | ZT-KXR70 KX4410B KXR70   8.515 | CDRWFW00.VRL");
    QVERIFY(QDir::setCurrent(home));
  }
};

}  // namespace zentor

QTEST_MAIN(zentor::QtDialogTest)
#include "qt_dialog_test.moc"
