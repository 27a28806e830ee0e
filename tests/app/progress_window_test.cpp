// The on-screen progress of a GOP list scan.
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "app/progress_window.h"
#include "support/video_es_writer.h"
#include "video/gop_list.h"

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

    void cancelAt40PercentStopsARealScan() {
        test::VideoEsWriter es;
        es.sequence(test::mpeg2_sequence(720, 576));
        for (int i = 0; i < 50; ++i) es.gop({.closed_gop = true}).pictures("IBBPBBPBB");
        es.sequence_end();
        const auto reader = es.open_reader();

        // Plays the user: watches the window while the scan pumps events, and presses
        // Cancel once the bar shows 40 %.
        int cancelled_at = -1;
        QTimer user;
        user.setInterval(0);
        connect(&user, &QTimer::timeout, [&] {
            for (QWidget* top : QApplication::topLevelWidgets()) {
                auto* bar = top->findChild<QProgressBar*>();
                auto* cancel = top->findChild<QPushButton*>();
                if (top->isVisible() && bar && cancel && cancelled_at < 0 && bar->value() >= 40) {
                    cancelled_at = bar->value();
                    cancel->click();
                }
            }
        });
        user.start();
        const auto list =
            build_gop_list(*reader, {.progressive_sequence = false, .first_top_field_first = 1},
                           on_screen_progress(Language::english));
        QVERIFY(!list);
        QVERIFY(cancelled_at >= 40 && cancelled_at < 100);
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
