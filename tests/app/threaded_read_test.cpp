// A read as the user runs it: the main dialog modal (exec), the analyser's GOP list scan on
// a worker thread, and the progress window's Cancel clicked through the window system's
// input path, where Qt applies modality.
#define QTEST_QPA_MOUSE_HANDLING
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <chrono>
#include <fstream>

#include "app/program_header_reader.h"
#include "app/main_dialog.h"
#include "app/progress_window.h"
#include "app/qt_ui_thread.h"
#include "fake_prompts.h"
#include "support/holding_progress.h"
#include "support/video_es_writer.h"

namespace quarnel {
namespace {

using Clock = std::chrono::steady_clock;

// The progress window on screen, if any.
QWidget* progress_window_shown() {
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->isVisible() && top->findChild<QProgressBar*>()) return top;
    return nullptr;
}

using test::Hold;
using test::HoldingProgress;

}  // namespace

class ThreadedReadTest : public QObject {
    Q_OBJECT

    QTemporaryDir temp_;
    std::string stream_;
    std::string gop_list_;

    // The real analyser on a worker thread, its scans held as `hold` says.
    static HeaderReader held_reader(QtUiThread& ui, Hold& hold) {
        return threaded_reader(ui, progress_windows(Language::english),
                               [&hold](MtvHeader& header, const std::string& path, bool video,
                                       bool audio, const ProgressFactory& progress) {
                                   const ProgressFactory held = [&] {
                                       return std::make_unique<HoldingProgress>(progress(), hold);
                                   };
                                   return read_with_analyser(header, path, video, audio, held);
                               });
    }

    // The progress window once the scan waits at its hold, with every update posted before
    // that shown; nullptr before.
    static QWidget* window_at(Hold& hold) {
        if (!hold.reached || hold.resume) return nullptr;
        QCoreApplication::sendPostedEvents();
        return progress_window_shown();
    }

    // Opens the stream in `dialog` running modal, as the program runs it; `user` acts every
    // few milliseconds while the read runs.
    void open_in_modal_dialog(MainDialog& dialog, FakePrompts& prompts,
                              const std::function<void()>& user) {
        prompts.open_answers.push_back(stream_);
        QTimer acting;
        acting.setInterval(5);
        connect(&acting, &QTimer::timeout, user);
        QTimer::singleShot(0, &dialog, [&] {
            acting.start();
            QTest::mouseClick(dialog.control(ControlId::open), Qt::LeftButton);
            acting.stop();
            dialog.done(QDialog::Rejected);
        });
        dialog.exec();
    }

  private slots:
    void initTestCase() {
        // Every scan builds a GOP list, and a finished one is stored beside the stream.
        const std::string settings = temp_.filePath("settings.conf").toStdString();
        std::ofstream(settings) << "gl=2\n";
        qputenv("QUARNEL_SETTINGS_FILE", QByteArray::fromStdString(settings));

        test::VideoEsWriter es;
        es.sequence(test::mpeg2_sequence(720, 576));
        for (int i = 0; i < 2000; ++i) es.gop({.closed_gop = true}).pictures("IBBPBBPBBPBB");
        es.sequence_end();
        stream_ = temp_.filePath("clip.m2v").toStdString();
        gop_list_ = temp_.filePath("clip.gl").toStdString();
        std::ofstream(stream_, std::ios::binary)
            .write(reinterpret_cast<const char*>(es.data().data()),
                   static_cast<std::streamsize>(es.data().size()));
    }

    void init() { QFile::remove(QString::fromStdString(gop_list_)); }

    void cancelClickedDuringAScanStopsItWith134AndNoGopList() {
        QtUiThread ui;
        FakePrompts prompts;
        Hold hold(30);
        MainDialog dialog(Language::english, prompts, held_reader(ui, hold));
        Clock::time_point clicked{};
        bool disabled_during_read = false;
        open_in_modal_dialog(dialog, prompts, [&] {
            QWidget* progress = window_at(hold);
            if (!progress) return;
            disabled_during_read = !dialog.isEnabled();
            QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);
            clicked = Clock::now();
            hold.resume = true;
        });
        const auto stopped_after = Clock::now() - clicked;

        QVERIFY(hold.resume);
        QVERIFY(disabled_during_read);
        QCOMPARE(prompts.shown, std::vector<MessageId>{MessageId::read_failed});
        QVERIFY(!QFile::exists(QString::fromStdString(gop_list_)));
        QVERIFY(!progress_window_shown());
        QVERIFY(dialog.isEnabled());
        QCOMPARE(qobject_cast<QLineEdit*>(dialog.control(ControlId::name))->text(), QString());
        // The scan stops at its next start code; the margin is for sanitizer builds.
        QVERIFY2(stopped_after < std::chrono::milliseconds(500),
                 qPrintable(QString::number(std::chrono::duration<double>(stopped_after).count())));
    }

    void aScanRunToTheEndShowsItsProgressAndTheFile() {
        QtUiThread ui;
        FakePrompts prompts;
        Hold hold(50);
        MainDialog dialog(Language::english, prompts, held_reader(ui, hold));
        QString seen_text;
        open_in_modal_dialog(dialog, prompts, [&] {
            QWidget* progress = window_at(hold);
            if (!progress) return;
            // Held at 50 %: the window shows the percentage before it.
            seen_text = progress->findChild<QLabel*>()->text();
            hold.resume = true;
        });

        QVERIFY(prompts.shown.empty());
        QCOMPARE(seen_text, QString("Creating GOP List ..  49 %"));
        QVERIFY(!progress_window_shown());
        QCOMPARE(qobject_cast<QLineEdit*>(dialog.control(ControlId::name))->text(),
                 QString("clip.m2v"));
        QVERIFY(QFile::exists(QString::fromStdString(gop_list_)));
    }
};

}  // namespace quarnel

QTEST_MAIN(quarnel::ThreadedReadTest)
#include "threaded_read_test.moc"
