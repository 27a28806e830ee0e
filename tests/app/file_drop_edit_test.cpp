// Files dropped on the name box are queued for the dialog, never typed into the box.
#include <QMimeData>
#include <QUrl>
#include <QtTest>

#include "app/file_drop_edit.h"
#include "fake_prompts.h"

namespace quarnel {

// Counts the notifications that reach a window.
class NotificationCounter : public QObject {
  public:
    int count = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == drop_notification) ++count;
        return false;
    }
};

class FileDropEditTest : public QObject {
    Q_OBJECT

    void drop(CFileDropEdit& edit, const QList<QUrl>& urls) {
        QMimeData data;
        data.setUrls(urls);
        QDropEvent event(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        // Straight to the widget: outside a real drag the application drops drop events.
        static_cast<QObject&>(edit).event(&event);
    }

    static QUrl file(const char* path) { return QUrl::fromLocalFile(path); }

  private slots:
    void oneFileIsQueuedWithoutAQuestion() {
        FakePrompts prompts;
        QWidget window;
        NotificationCounter counter;
        window.installEventFilter(&counter);
        auto* edit = new CFileDropEdit(prompts, &window);

        drop(*edit, {file("/rec/a.m2p")});
        QVERIFY(prompts.shown.empty());
        QVERIFY(edit->text().isEmpty());
        QCoreApplication::processEvents();  // the notification is posted, not sent
        QCOMPARE(counter.count, 1);
        QCOMPARE(edit->take_pending_paths(), std::vector<std::string>{"/rec/a.m2p"});
        QVERIFY(edit->take_pending_paths().empty());
    }

    void severalFilesAreQueuedInOrderOnlyAfterYes() {
        FakePrompts prompts;
        QWidget window;
        NotificationCounter counter;
        window.installEventFilter(&counter);
        auto* edit = new CFileDropEdit(prompts, &window);

        prompts.answer_yes = false;
        drop(*edit, {file("/rec/a.m2p"), file("/rec/b.mpg"), file("/rec/c.mpg")});
        QCOMPARE(prompts.shown, std::vector<MessageId>{MessageId::confirm_batch});
        QCoreApplication::processEvents();
        QCOMPARE(counter.count, 0);
        QVERIFY(edit->take_pending_paths().empty());

        prompts.answer_yes = true;
        drop(*edit, {file("/rec/a.m2p"), file("/rec/b.mpg"), file("/rec/c.mpg")});
        QCoreApplication::processEvents();
        QCOMPARE(counter.count, 1);
        QCOMPARE(edit->take_pending_paths(),
                 (std::vector<std::string>{"/rec/a.m2p", "/rec/b.mpg", "/rec/c.mpg"}));
    }

    void aSecondDropBeforeHandlingJoinsTheSameList() {
        FakePrompts prompts;
        QWidget window;
        auto* edit = new CFileDropEdit(prompts, &window);
        drop(*edit, {file("/rec/a.m2p")});
        drop(*edit, {file("/rec/b.m2p")});
        QCOMPARE(edit->take_pending_paths(),
                 (std::vector<std::string>{"/rec/a.m2p", "/rec/b.m2p"}));
    }

    void remoteUrlsAreNotFiles() {
        FakePrompts prompts;
        QWidget window;
        auto* edit = new CFileDropEdit(prompts, &window);
        drop(*edit, {QUrl("https://example.invalid/a.mpg")});
        QVERIFY(edit->take_pending_paths().empty());
    }
};

}  // namespace quarnel

QTEST_MAIN(quarnel::FileDropEditTest)
#include "file_drop_edit_test.moc"
