// Files dropped on the name box: one is read into the dialog, several are converted at
// once; and nothing starts on the header while a read is in progress.
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <map>

#include "app/file_drop_edit.h"
#include "dialog_test_support.h"

namespace quarnel {

constexpr ControlId all_controls[] = {
    ControlId::save,         ControlId::cancel,     ControlId::name,
    ControlId::open,         ControlId::file_size,  ControlId::year,
    ControlId::month,        ControlId::day,        ControlId::hour,
    ControlId::minute,       ControlId::second,     ControlId::video_auto,
    ControlId::ntsc,         ControlId::pal,        ControlId::resolution,
    ControlId::rate_control, ControlId::audio_auto, ControlId::audio_bit_rate,
    ControlId::sampling,     ControlId::aspect,     ControlId::video_bit_rate,
    ControlId::ac3,
};

class DropBatchTest : public QObject {
    Q_OBJECT

    // Drops `paths` on the name box and lets the dialog handle the notification.
    static void drop(DialogHarness& h, const std::vector<std::string>& paths) {
        QList<QUrl> urls;
        for (const std::string& path : paths)
            urls << QUrl::fromLocalFile(QString::fromStdString(path));
        QMimeData data;
        data.setUrls(urls);
        QDropEvent event(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        // Straight to the widget: outside a real drag the application drops drop events.
        static_cast<QObject*>(h.dialog->control(ControlId::name))->event(&event);
        QCoreApplication::processEvents();
    }

    // A file dragged from a file manager, which offers it as a URL and as text, delivered as
    // the window system delivers it: the drag enters `target`, and is dropped only where a
    // widget accepted it. True when the drop was taken.
    static bool drag_and_drop(QWidget* target, const std::string& path) {
        const QUrl url = QUrl::fromLocalFile(QString::fromStdString(path));
        QMimeData data;
        data.setUrls({url});
        data.setText(url.toString());
        const QPoint at = target->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        if (!enter.isAccepted()) return false;
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
        return drop.isAccepted();
    }

    static bool exists(const std::string& path) {
        return QFileInfo::exists(QString::fromStdString(path));
    }

  private slots:
    void oneDroppedFileIsOnlyRead() {
        DialogHarness h;
        const std::string clip = h.make_file("clip.m2p");
        drop(h, {clip});
        QCOMPARE(h.reader.reads, std::vector<std::string>{clip});
        QCOMPARE(h.text(ControlId::name), QString("clip.m2p"));
        QVERIFY(!exists(h.folder("clip.mtv")));
        QVERIFY(h.prompts.shown.empty());
        QCOMPARE(h.dialog->controller().lastDirectory(), h.folder());
    }

    void aDroppedFileThatCannotBeReadShows134AndStillMovesTheFolder() {
        DialogHarness h;
        h.reader.not_mpeg.insert(h.make_file("notes.txt"));
        drop(h, {h.folder("notes.txt")});
        QCOMPARE(h.prompts.shown, std::vector<MessageId>{MessageId::read_failed});
        QCOMPARE(h.dialog->controller().lastDirectory(), h.folder());
    }

    void threeDroppedFilesAndYesWriteThreeHeaders() {
        DialogHarness h;
        const std::vector<std::string> files = {
            h.make_file("a.m2p", 10), h.make_file("b.part1.mpg", 20), h.make_file("c", 30)};
        drop(h, files);
        QCOMPARE(h.prompts.shown, std::vector<MessageId>{MessageId::confirm_batch});
        QCOMPARE(h.reader.reads, files);
        for (const char* name : {"a.mtv", "b.part1.mtv", "c.mtv"})
            QCOMPARE(file_bytes(h.folder(name)).size(), std::size_t{568});
        QCOMPARE(file_bytes(h.folder("b.part1.mtv"))[304],
                 20);                                     // each header has its own file's size
        QCOMPARE(h.text(ControlId::name), QString("c"));  // the last file read stays shown
        QCOMPARE(h.dialog->controller().lastDirectory(), QDir::currentPath().toStdString());
    }

    void threeDroppedFilesAndNoWriteNothing() {
        DialogHarness h;
        h.prompts.answer_yes = false;
        drop(h, {h.make_file("a.m2p"), h.make_file("b.m2p"), h.make_file("c.m2p")});
        QVERIFY(h.reader.reads.empty());
        QVERIFY(!exists(h.folder("a.mtv")));
        QCOMPARE(h.text(ControlId::name), QString());
    }

    void aBatchSkipsAFileThatIsNotMpegWithoutAWord() {
        DialogHarness h;
        const std::vector<std::string> files = {h.make_file("a.m2p"), h.make_file("notes.m2p"),
                                                h.make_file("c.m2p")};
        h.reader.not_mpeg.insert(files[1]);
        drop(h, files);
        QCOMPARE(h.prompts.shown, std::vector<MessageId>{MessageId::confirm_batch});
        QVERIFY(exists(h.folder("a.mtv")));
        QVERIFY(!exists(h.folder("notes.mtv")));
        QVERIFY(exists(h.folder("c.mtv")));
    }

    void anUnwritableHeaderGivesOne137AndTheBatchGoesOn() {
        DialogHarness h;
        const std::vector<std::string> files = {h.make_file("a.m2p"), h.make_file("b.m2p"),
                                                h.make_file("c.m2p")};
        // A folder in the header's place cannot be written, even by root, for whom a
        // read-only folder is writable.
        QVERIFY(QDir(h.temp.path()).mkdir("b.mtv"));
        drop(h, files);
        QCOMPARE(h.prompts.shown,
                 (std::vector<MessageId>{MessageId::confirm_batch, MessageId::save_failed}));
        QVERIFY(exists(h.folder("a.mtv")));
        QCOMPARE(file_bytes(h.folder("c.mtv")).size(), std::size_t{568});
    }

    void aBatchWritesTheHeaderAsTheReadsLeaveIt() {
        DialogHarness h;
        const std::vector<std::string> files = {h.make_file("a.m2p"), h.make_file("b.m2p")};
        h.reader.video[files[0]] = [](MtvHeader& header) { header.SetVideoBitRate(9000000); };
        h.type(ControlId::video_bit_rate, "123");  // on screen only: a batch reads no controls
        drop(h, files);
        // b derives nothing and keeps what a left in the header.
        const auto b = file_bytes(h.folder("b.mtv"));
        QCOMPARE(b[528] | b[529] << 8 | b[530] << 16 | b[531] << 24, 9000000);
    }

    void nothingStartsOnTheHeaderWhileAReadIsInProgress() {
        DialogHarness h;
        const std::string clip = h.make_file("clip.m2p");
        const std::string other = h.make_file("other.m2p");
        h.type(ControlId::name, "typed.m2p");
        bool checked = false;
        h.reader.during_read = [&] {
            if (checked) return true;
            checked = true;
            if (h.dialog->isEnabled()) return false;
            h.dialog->setEnabled(true);  // the guard holds even if clicks got through
            h.click(ControlId::open);
            h.click(ControlId::save);
            h.dialog->reject();
            h.dialog->close();
            drop(h, {other});
            return h.dialog->isVisible() && h.reader.reads.size() == 1;
        };
        h.prompts.open_answers.push_back(clip);
        h.click(ControlId::open);
        QVERIFY(checked);
        QVERIFY(h.prompts.shown.empty());
        QCOMPARE(h.prompts.open_folders.size(), std::size_t{1});
        QVERIFY(h.prompts.save_requests.empty());
        QVERIFY(h.dialog->isEnabled());
        QVERIFY(h.dialog->isVisible());
        // The drop made during the read is handled once the dialog is free again.
        QCoreApplication::processEvents();
        QCOMPARE(h.reader.reads, (std::vector<std::string>{clip, other}));
        QCOMPARE(h.text(ControlId::name), QString("other.m2p"));
    }

    void onlyTheNameBoxTakesDroppedFiles() {
        DialogHarness h;
        const std::string clip = h.make_file("clip.m2p");
        const std::vector<ControlId> boxes = {
            ControlId::name,   ControlId::file_size, ControlId::year,
            ControlId::month,  ControlId::day,       ControlId::hour,
            ControlId::minute, ControlId::second,    ControlId::video_bit_rate};
        std::map<ControlId, QString> texts;
        for (ControlId id : boxes) texts[id] = h.text(id);

        for (ControlId id : all_controls) {
            if (id == ControlId::name) continue;
            QVERIFY2(!drag_and_drop(h.dialog->control(id), clip),
                     qPrintable(QString::number(static_cast<int>(id))));
            QCoreApplication::processEvents();
        }
        QVERIFY(h.reader.reads.empty());
        for (ControlId id : boxes) QCOMPARE(h.text(id), texts[id]);

        QVERIFY(drag_and_drop(h.dialog->control(ControlId::name), clip));
        QCoreApplication::processEvents();
        QCOMPARE(h.reader.reads, std::vector<std::string>{clip});
        QCOMPARE(h.text(ControlId::name), QString("clip.m2p"));
    }
};

}  // namespace quarnel

QTEST_MAIN(quarnel::DropBatchTest)
#include "drop_batch_test.moc"
