// The on-screen progress of a GOP list scan.
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "app/progress_window.h"

namespace quarnel {

class ProgressWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void appearsAtTheFirstUpdateWithItsInitialText() {
        ProgressWindow progress(Language::english);
        QVERIFY(!progress.window()->isVisible());
        QCOMPARE(progress.window()->windowTitle(),
                 QString("VEZA-2 DOROZ IROVE Dodi-Vi : Information"));
        QVERIFY(!(progress.window()->windowFlags() & Qt::WindowCloseButtonHint));

        // A scan that never reaches 1 % keeps the initial text and an empty bar.
        QVERIFY(progress.progress_update(0));
        QVERIFY(progress.window()->isVisible());
        QCOMPARE(progress.text_line()->text(), QString("Creating GOP List .. "));
        QCOMPARE(progress.bar()->value(), 0);
    }

    void showsEachNewPercentageOnce() {
        ProgressWindow progress(Language::japanese);
        QVERIFY(progress.progress_update(40));
        QCOMPARE(progress.text_line()->text(), QString::fromUtf8("GOP リストを作成中です……  40 %"));
        QCOMPARE(progress.bar()->value(), 40);

        progress.text_line()->setText("marker");
        QVERIFY(progress.progress_update(40));
        QCOMPARE(progress.text_line()->text(), QString("marker"));  // same percentage: no redraw
        QVERIFY(progress.progress_update(41));
        QCOMPARE(progress.bar()->value(), 41);
    }

    void cancelEndsTheScanAtTheNextUpdate() {
        ProgressWindow progress(Language::english);
        QVERIFY(progress.progress_update(10));
        QCOMPARE(progress.cancel_button()->text(), QString("Cancel"));
        QVERIFY(!progress.progress_cancelled());

        // The click arrives while the update pumps the event loop, as a user's would.
        QTimer::singleShot(0, progress.cancel_button(), &QPushButton::click);
        QVERIFY(!progress.progress_update(20));
        QVERIFY(progress.progress_cancelled());
        QVERIFY(!progress.progress_update(30));
    }

    void updatesKeepOtherWindowsServed() {
        ProgressWindow progress(Language::english);
        bool served = false;
        QTimer::singleShot(0, [&served] { served = true; });
        progress.progress_update(1);
        QVERIFY(served);
    }

    void factoryMakesAWindowInTheChosenLanguage() {
        const auto progress = on_screen_progress(Language::japanese)();
        QVERIFY(progress);
        auto* window = dynamic_cast<ProgressWindow*>(progress.get());
        QVERIFY(window);
        QCOMPARE(window->cancel_button()->text(), QString::fromUtf8("中断"));
    }
};

}  // namespace quarnel

QTEST_MAIN(quarnel::ProgressWindowTest)
#include "progress_window_test.moc"
