// The on-screen progress of a GOP list scan.
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>

#include "app/progress_window.h"

namespace quarnel {

class ProgressWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void showsItsInitialTextAndAnEmptyBar() {
        ProgressWindow progress(Language::english, [] {});
        QVERIFY(!progress.window()->isVisible());
        QCOMPARE(progress.window()->windowTitle(),
                 QString("VEZA-2 DOROZ IROVE Dodi-Vi : Information"));
        QVERIFY(!(progress.window()->windowFlags() & Qt::WindowCloseButtonHint));
        // Shown over a dialog that runs modal, it must still take clicks.
        QCOMPARE(progress.window()->windowModality(), Qt::ApplicationModal);

        progress.show();
        QVERIFY(progress.window()->isVisible());
        QCOMPARE(progress.text_line()->text(), QString("Creating GOP List .. "));
        QCOMPARE(progress.bar()->value(), 0);
    }

    void showsPercentagesInItsLanguage() {
        const auto progress = progress_windows(Language::japanese)([] {});
        auto* window = dynamic_cast<ProgressWindow*>(progress.get());
        QVERIFY(window);
        QCOMPARE(window->cancel_button()->text(), QString::fromUtf8("中断"));
        window->show_percent(40);
        QCOMPARE(window->text_line()->text(), QString::fromUtf8("GOP リストを作成中です……  40 %"));
        QCOMPARE(window->bar()->value(), 40);
    }

    void cancelButtonReportsTheClick() {
        int cancels = 0;
        ProgressWindow progress(Language::english, [&cancels] { ++cancels; });
        progress.show();
        QVERIFY(QTest::qWaitForWindowExposed(progress.window()));
        QCOMPARE(progress.cancel_button()->text(), QString("Cancel"));
        QTest::mouseClick(progress.cancel_button(), Qt::LeftButton);
        QCOMPARE(cancels, 1);
    }
};

}  // namespace quarnel

QTEST_MAIN(quarnel::ProgressWindowTest)
#include "progress_window_test.moc"
